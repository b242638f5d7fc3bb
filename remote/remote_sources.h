#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace orvandry::remote {

// What the remote view reads from the rest of the display. app/ fills it in from the subsystems
// the remote view may not include. Every function is called on the serving thread, never on the
// UI thread, so each must be safe to call while the display runs (the views' formatting reads
// DryerState's atomics; the history store has its own lock). Texts are Latin-1, as the panel
// draws them.
struct RemoteSources {
  struct Value {
    std::string name;
    std::string text;  // as the main screen shows it, units included
  };
  struct Warning {
    std::string text;               // the warning text, its code first ("0E05 ...")
    std::string node;               // the node that reports it
    std::vector<std::string> help;  // the help text's lines
  };
  struct Shutdown {
    std::string warning;
    std::string node;
    std::string date;  // as the history screen shows it: "Dec 06, 2026"
    std::string time;  // "1:05 AM"
  };
  // An operator's change as the journal keeps it, texts in the panel's units.
  struct Change {
    std::int64_t id = 0;
    std::string time;        // when it was made, ISO 8601 local
    std::string screen;      // where it was made
    std::string what;        // the setting
    std::string requested;   // the value asked for
    std::string controller;  // the value the controller reports now (waiting changes only)
    std::string state;       // "WAITING", "TAKEN", ...
    std::string settled;     // when it was taken or ended, ISO 8601 local; empty while waiting
  };
  using Csv = std::function<std::optional<std::string>()>;

  // The values an operator reads on the main screen, in the panel's units.
  std::function<std::vector<Value>()> status;
  // The texts of a warning code (node id high byte, warning id low byte).
  std::function<Warning(std::uint16_t code)> warning;
  // The shutdown history, newest first.
  std::function<std::vector<Shutdown>()> history;
  // The changes the controller has not taken yet, oldest first.
  std::function<std::vector<Change>()> waiting_changes;
  // The journal of operator changes, newest first, at most `count` of them.
  std::function<std::vector<Change>(std::size_t count)> changes;
  // The CSV downloads by file name (the names of kCsvNames). A missing entry, an empty function
  // or one that returns nothing answers 404.
  std::map<std::string, Csv> csv;
};

}  // namespace orvandry::remote
