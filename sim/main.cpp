// orvandry-sim: the simulated dryer controller on its own, for bench-testing a panel or running
// the display against it by hand.

#include <pthread.h>
#include <signal.h>

#include <charconv>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>

#include "sim/scenario.h"
#include "sim/sim_controller.h"
#include "sim/sim_line.h"

namespace {

using namespace orvandry::sim;

void PrintHelp(std::FILE* to) {
  std::fprintf(to,
               "usage: orvandry-sim [--device PATH] [--seed N] [scenario options]\n"
               "\n"
               "Runs the simulated dryer controller. Without --device it opens a new\n"
               "pseudo-terminal and prints the path the display should use as its port.\n"
               "\n"
               "  --device PATH        answer on a serial device (38400 8E1) instead\n"
               "  --seed N             seed of the dryer's drift (default 1)\n"
               "%s"
               "  --help               this text\n"
               "\n"
               "Stops on SIGINT or SIGTERM.\n",
               ScenarioOptionsHelp().c_str());
}

}  // namespace

int main(int argc, char** argv) {
  SimOptions options;
  std::string device;
  for (int i = 1; i < argc; ++i) {
    const std::string_view option = argv[i];
    if (option == "--help" || option == "-h") {
      PrintHelp(stdout);
      return 0;
    }
    const bool known = option == "--device" || option == "--seed" || IsScenarioOption(option);
    if (!known) {
      std::fprintf(stderr, "orvandry-sim: unknown option %s (see --help)\n", argv[i]);
      return 2;
    }
    if (i + 1 >= argc) {
      std::fprintf(stderr, "orvandry-sim: %s needs a value (see --help)\n", argv[i]);
      return 2;
    }
    const std::string_view value = argv[++i];
    std::string error;
    if (option == "--device") {
      device = value;
    } else if (option == "--seed") {
      const auto [end, ec] =
          std::from_chars(value.data(), value.data() + value.size(), options.seed);
      if (ec != std::errc() || end != value.data() + value.size()) {
        std::fprintf(stderr, "orvandry-sim: --seed %s: expected a number\n", argv[i]);
        return 2;
      }
    } else if (!ApplyScenarioOption(option, value, options.scenario, &error)) {
      std::fprintf(stderr, "orvandry-sim: %s\n", error.c_str());
      return 2;
    }
  }

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
    std::printf("%s\n", pty->slave_path.c_str());
  } else {
    line = OpenSerialDevice(device, &error);
    if (!line.valid()) {
      std::fprintf(stderr, "orvandry-sim: %s\n", error.c_str());
      return 1;
    }
    std::printf("%s\n", device.c_str());
  }
  std::fflush(stdout);

  auto controller = std::make_unique<SimController>(std::move(line), std::move(options));
  int signal_number = 0;
  sigwait(&stop_signals, &signal_number);
  controller.reset();

  const char* name = signal_number == SIGINT ? "SIGINT" : "SIGTERM";
  std::fprintf(stderr, "orvandry-sim: stopped by %s\n", name);
  return 0;
}
