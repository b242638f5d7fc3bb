#pragma once

#include <string>
#include <variant>
#include <vector>

#include "sim/sim_controller.h"

namespace orvandry::sim {

// What orvandry-sim was asked to run: the serial device (empty: a new pseudo-terminal) and the
// controller's options, and the view the dryer starts in.
struct SimCommandLine {
  std::string device;
  SimOptions options;
  StartView view = StartView::kUnchanged;
};

// The command line ends the program at once: `text` goes to standard output with status 0
// (--help, --version) or to standard error with status 2 (a mistake, followed by the usage).
struct SimCommandLineExit {
  int status = 0;
  std::string text;
};

// Reads the arguments after the program name. Every option takes its value as the next argument
// or after "=" (--seed=7), except --help and --version; anything else is a mistake.
std::variant<SimCommandLine, SimCommandLineExit> ParseSimCommandLine(
    const std::vector<std::string>& arguments);

std::string SimHelp();

}  // namespace orvandry::sim
