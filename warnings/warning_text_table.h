#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "warnings/warning_code.h"

namespace orvandry::warnings {

// The compiled-in texts of every warning the dryer's boards can report: 16 node blocks of 30
// entries. Entry 0 of a used block is only a marker ("... BEGIN ..."). Texts are plain ASCII.
class WarningTextTable {
 public:
  static constexpr std::size_t kNodeCount = 16;
  static constexpr std::size_t kWarningsPerNode = 30;
  // Storage per entry, terminator included; stored texts are therefore at most 99 characters.
  static constexpr std::size_t kTextCapacity = 100;

  // The entry at (node id, warning id); empty for an unused entry and for any position outside
  // the table.
  static std::string_view Text(std::uint8_t node_id, std::uint8_t warning_id);
};

// The text of `code`, copied by callers that store it. Empty when the code has no text.
std::string_view WarningText(WarningCode code);

// The name of a node of the dryer network ("MAIN I/O"); empty for node 0 and for ids above 15.
std::string_view NodeName(std::uint8_t node_id);

}  // namespace orvandry::warnings
