#include "sim/in_process_dryer.h"

#include <limits>

namespace orvandry::sim {

InProcessDryer::InProcessDryer(PtyPair pty, SimOptions options)
    : slave_path_(std::move(pty.slave_path)),
      slave_keepalive_(std::move(pty.slave_keepalive)),
      controller_(std::make_unique<SimController>(std::move(pty.master), std::move(options))) {}

InProcessDryer::~InProcessDryer() {
  controller_.reset();
}

int InProcessDryer::OpenDisplayFd(std::string* error) const {
  return OpenTerminal(slave_path_, error).Release();
}

SimOptions DemoOptions() {
  SimOptions options;
  options.scenario.SwitchTest(0, std::numeric_limits<double>::max());
  return options;
}

std::unique_ptr<InProcessDryer> StartInProcessDryer(std::string* error, SimOptions options) {
  std::optional<PtyPair> pty = OpenPtyPair(error);
  if (!pty) return nullptr;
  return std::make_unique<InProcessDryer>(std::move(*pty), std::move(options));
}

}  // namespace orvandry::sim
