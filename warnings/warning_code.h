#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace orvandry::warnings {

// The controller's shutdown cause: node id in the high byte, warning id in the low byte. 0 means
// that no warning is active.
using WarningCode = std::uint16_t;

inline constexpr WarningCode kNoWarning = 0x0000;

constexpr WarningCode MakeWarningCode(std::uint8_t node_id, std::uint8_t warning_id) {
  return static_cast<WarningCode>((node_id << 8) | warning_id);
}
constexpr std::uint8_t NodeIdOf(WarningCode code) {
  return static_cast<std::uint8_t>(code >> 8);
}
constexpr std::uint8_t WarningIdOf(WarningCode code) {
  return static_cast<std::uint8_t>(code & 0xFF);
}

// Reads a code back from the first four characters of a stored warning text. Only "0"-"9" and
// upper-case "A"-"F" are digits; anything else (lower case included, or a text shorter than four
// characters) counts as 0, exactly as the history has always read its own texts.
WarningCode ParseWarningCode(std::string_view text);

// Four upper-case hex digits, node id first: 0x0E05 -> "0E05".
std::string FormatWarningCode(WarningCode code);

}  // namespace orvandry::warnings
