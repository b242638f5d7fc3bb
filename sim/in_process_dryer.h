#pragma once

#include <memory>
#include <string>

#include "sim/sim_controller.h"
#include "sim/sim_line.h"

namespace orvandry::sim {

// The simulated dryer for the display's demo mode: a controller thread on the master side of a
// fresh pseudo-terminal pair. The display opens slave_path() (or adopts OpenDisplayFd()) with its
// ordinary serial code, so the demo runs over the same path as a real dryer. Runs in real time.
class InProcessDryer {
 public:
  InProcessDryer(PtyPair pty, SimOptions options);
  ~InProcessDryer();  // stops the controller first, then closes the pair
  InProcessDryer(const InProcessDryer&) = delete;
  InProcessDryer& operator=(const InProcessDryer&) = delete;

  const std::string& slave_path() const { return slave_path_; }
  // A new descriptor on the slave for the display's port; the caller owns it. -1 on failure.
  int OpenDisplayFd(std::string* error) const;

  SimController& controller() { return *controller_; }

 private:
  std::string slave_path_;
  UniqueFd slave_keepalive_;
  std::unique_ptr<SimController> controller_;
};

// Creates the pair and starts the controller on it. On failure returns null with the reason in
// `error`; the display then carries on without a dryer, as with an unplugged cable.
std::unique_ptr<InProcessDryer> StartInProcessDryer(std::string* error, SimOptions options = {});

// The demo's dryer: a technician works the panel switches all the time (one flips each second, and
// the FAN 1 light output reports shorted), so the I/O test dialogs have something to show.
SimOptions DemoOptions();

}  // namespace orvandry::sim
