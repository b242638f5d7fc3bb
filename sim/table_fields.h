#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "link/frame_constants.h"

namespace orvandry::sim {

// The controller's own parameter and status table: the 300 bytes it sends in every StatusFrame.
using Table = std::array<std::uint8_t, link::kStateSize>;

// Field accessors in the table's encodings, so the model never spells out byte orders by hand.
inline void SetT16(Table& t, std::size_t at, int value) {
  const auto raw = static_cast<std::uint16_t>(static_cast<std::int16_t>(value));
  t[at] = static_cast<std::uint8_t>(raw & 0xFF);
  t[at + 1] = static_cast<std::uint8_t>(raw >> 8);
}
inline int GetT16(const Table& t, std::size_t at) {
  return static_cast<std::int16_t>(static_cast<std::uint16_t>(t[at] | (t[at + 1] << 8)));
}
inline void SetBe16(Table& t, std::size_t at, unsigned value) {
  t[at] = static_cast<std::uint8_t>((value >> 8) & 0xFF);
  t[at + 1] = static_cast<std::uint8_t>(value & 0xFF);
}
inline unsigned GetBe16(const Table& t, std::size_t at) {
  return (static_cast<unsigned>(t[at]) << 8) | t[at + 1];
}
inline void SetU32(Table& t, std::size_t at, std::uint32_t value) {
  for (std::size_t i = 0; i < 4; ++i) t[at + i] = static_cast<std::uint8_t>(value >> (8 * i));
}
inline std::uint32_t GetU32(const Table& t, std::size_t at) {
  std::uint32_t value = 0;
  for (std::size_t i = 0; i < 4; ++i) value |= static_cast<std::uint32_t>(t[at + i]) << (8 * i);
  return value;
}
// Timers are a minutes byte followed by a seconds byte. Values past 255:59 are held there.
inline void SetTime(Table& t, std::size_t at, unsigned seconds) {
  if (seconds > 255U * 60U + 59U) seconds = 255U * 60U + 59U;
  t[at] = static_cast<std::uint8_t>(seconds / 60);
  t[at + 1] = static_cast<std::uint8_t>(seconds % 60);
}
inline unsigned GetTime(const Table& t, std::size_t at) {
  return 60U * t[at] + t[at + 1];
}

}  // namespace orvandry::sim
