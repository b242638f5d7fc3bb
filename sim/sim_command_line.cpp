#include "sim/sim_command_line.h"

#include <charconv>
#include <optional>
#include <string_view>

#include "orvandry/version.h"
#include "sim/scenario.h"

namespace orvandry::sim {

namespace {

SimCommandLineExit Mistake(const std::string& what) {
  return {2, "orvandry-sim: " + what + "\n\n" + SimHelp()};
}

bool ParseSeed(std::string_view text, std::uint32_t* seed) {
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), *seed);
  return !text.empty() && ec == std::errc() && end == text.data() + text.size();
}

}  // namespace

std::string SimHelp() {
  return "usage: orvandry-sim [--device PATH] [--seed N] [--view NAME] [scenario options]\n"
         "\n"
         "Runs the simulated dryer controller. Without --device it opens a new\n"
         "pseudo-terminal and prints the path the display should use as its port.\n"
         "\n"
         "  --device PATH        answer on a serial device (38400 8E1) instead\n"
         "                       (default: a new pseudo-terminal)\n"
         "  --seed N             seed of the dryer's drift, 0..4294967295 (default 1)\n"
         "  --view NAME          start in view chart, graph or batch (staged batch)\n"
         "                       (default: the dryer's own)\n"
         "\n"
         "Scenario options, each as often as needed (default: a dryer without trouble):\n" +
         ScenarioOptionsHelp() +
         "\n"
         "  -h, --help           this text\n"
         "  --version            the program's version\n"
         "\n"
         "Values follow their option as the next argument or after '=' (--seed=7).\n"
         "Stops on SIGINT or SIGTERM.\n";
}

std::variant<SimCommandLine, SimCommandLineExit> ParseSimCommandLine(
    const std::vector<std::string>& arguments) {
  SimCommandLine result;
  for (std::size_t i = 0; i < arguments.size(); ++i) {
    const std::string& argument = arguments[i];
    if (argument == "--help" || argument == "-h") return SimCommandLineExit{0, SimHelp()};
    if (argument == "--version")
      return SimCommandLineExit{0, std::string("orvandry-sim ") + kVersion + "\n"};
    if (!argument.starts_with("--")) return Mistake("unexpected argument '" + argument + "'");

    std::string option = argument;
    std::optional<std::string> value;
    if (const std::size_t equals = argument.find('='); equals != std::string::npos) {
      option = argument.substr(0, equals);
      value = argument.substr(equals + 1);
    }
    if (option != "--device" && option != "--seed" && option != "--view" &&
        !IsScenarioOption(option))
      return Mistake("unknown option '" + option + "'");
    if (!value) {
      if (i + 1 >= arguments.size()) return Mistake(option + " needs a value");
      value = arguments[++i];
    }

    if (option == "--device") {
      // A device path never starts with '-': that is the next option, and the path was left out.
      if (value->empty() || value->starts_with('-')) return Mistake("--device needs a value");
      result.device = *value;
    } else if (option == "--seed") {
      if (!ParseSeed(*value, &result.options.seed))
        return Mistake("--seed '" + *value + "': expected a whole number from 0 to 4294967295");
    } else if (option == "--view") {
      if (*value == "chart")
        result.view = StartView::kChart;
      else if (*value == "graph")
        result.view = StartView::kGraph;
      else if (*value == "batch")
        result.view = StartView::kBatch;
      else
        return Mistake("--view '" + *value + "': expected chart, graph or batch");
    } else {
      std::string error;
      if (!ApplyScenarioOption(option, *value, result.options.scenario, &error))
        return Mistake(error);
    }
  }
  return result;
}

}  // namespace orvandry::sim
