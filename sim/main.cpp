// orvandry-sim: the simulated dryer controller on its own, for bench-testing a panel or running
// the display against it by hand.

#include <pthread.h>
#include <signal.h>

#include <cstdio>
#include <memory>
#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "sim/sim_command_line.h"
#include "sim/sim_controller.h"
#include "sim/sim_line.h"

using namespace orvandry::sim;

int main(int argc, char** argv) {
  // Everything on the command line is checked before a terminal or device is opened.
  auto parsed = ParseSimCommandLine(std::vector<std::string>(argv + 1, argv + argc));
  if (const auto* exit = std::get_if<SimCommandLineExit>(&parsed)) {
    std::fputs(exit->text.c_str(), exit->status == 0 ? stdout : stderr);
    return exit->status;
  }
  SimCommandLine command_line = std::get<SimCommandLine>(std::move(parsed));
  const std::string& device = command_line.device;

  // The signals are taken by sigwait below, so every thread must have them blocked.
  sigset_t stop_signals;
  sigemptyset(&stop_signals);
  sigaddset(&stop_signals, SIGINT);
  sigaddset(&stop_signals, SIGTERM);
  pthread_sigmask(SIG_BLOCK, &stop_signals, nullptr);

  std::string error;
  std::optional<PtyPair> pty;
  UniqueFd line;
  if (device.empty()) {
    pty = OpenPtyPair(&error);
    if (!pty) {
      std::fprintf(stderr, "orvandry-sim: %s\n", error.c_str());
      return 1;
    }
    line = std::move(pty->master);
  } else {
    line = OpenSerialDevice(device, &error);
    if (!line.valid()) {
      std::fprintf(stderr, "orvandry-sim: %s\n", error.c_str());
      return 1;
    }
  }
  auto controller =
      std::make_unique<SimController>(std::move(line), std::move(command_line.options));
  // The path is printed once the dryer is in its starting view: a display started on it sees that
  // view in its first answer.
  PutInView(*controller, command_line.view);
  std::printf("%s\n", pty ? pty->slave_path.c_str() : device.c_str());
  std::fflush(stdout);
  int signal_number = 0;
  sigwait(&stop_signals, &signal_number);
  controller.reset();

  const char* name = signal_number == SIGINT ? "SIGINT" : "SIGTERM";
  std::fprintf(stderr, "orvandry-sim: stopped by %s\n", name);
  return 0;
}
