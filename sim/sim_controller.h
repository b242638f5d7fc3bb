#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>
#include <mutex>
#include <span>
#include <thread>
#include <vector>

#include "sim/controller_core.h"
#include "sim/sim_line.h"

namespace orvandry::sim {

struct SimOptions {
  std::uint32_t seed = 1;
  Scenario scenario;
  // The controller's clock in seconds. Empty: real time from the start. Tests may pass a clock
  // they move themselves; the dryer and the scenario then run in that time.
  std::function<double()> clock;
  // How long the line must be quiet before a partial frame counts as noise. The display writes a
  // whole frame at once and waits 350 ms between frames, so this may be generous.
  std::chrono::milliseconds idle_gap{60};
};

// The simulated controller on a file descriptor (a pseudo-terminal master or a serial device), in
// its own thread: it waits for the display's frames, applies them and answers each with one
// StatusFrame. All accessors may be called from any thread while it runs.
class SimController {
 public:
  SimController(UniqueFd line, SimOptions options = {});
  ~SimController();  // stops and joins
  SimController(const SimController&) = delete;
  SimController& operator=(const SimController&) = delete;

  // Stops the thread; the controller no longer reads or answers. Safe to call twice.
  void Stop();

  double Now() const;
  FrameCounts counts() const;
  std::vector<CommandRecord> last_command() const;
  std::vector<DisplayFrame> history() const;
  Table table() const;
  std::uint8_t TableByte(std::size_t offset) const;
  void SetTableBytes(std::size_t offset, std::span<const std::uint8_t> bytes);
  // Changes the running scenario (times are on the controller's clock; see Now()).
  void EditScenario(const std::function<void(Scenario&)>& edit);
  // Runs `visit` with the controller core held still.
  void WithCore(const std::function<void(ControllerCore&)>& visit);

  // Polls `condition` (under the controller's lock) until it holds or `timeout` passes.
  bool WaitUntil(const std::function<bool(const ControllerCore&)>& condition,
                 std::chrono::milliseconds timeout) const;

 private:
  void Run();
  void Send(const std::vector<std::uint8_t>& bytes);

  UniqueFd line_;
  UniqueFd wake_read_;
  UniqueFd wake_write_;
  std::function<double()> clock_;
  std::chrono::milliseconds idle_gap_;
  mutable std::mutex mutex_;
  ControllerCore core_;  // guarded by mutex_
  std::atomic<bool> stop_{false};
  std::thread thread_;
};

// The view the dryer shows when the display starts, for demonstrations and measurements: the view
// bit of the display settings and the batch selector. kUnchanged leaves the dryer's own.
enum class StartView { kUnchanged, kChart, kGraph, kBatch };
void PutInView(SimController& dryer, StartView view);

}  // namespace orvandry::sim
