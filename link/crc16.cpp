#include "link/crc16.h"

#include <array>

namespace orvandry::link {
namespace {

// The classic pair of byte tables for the reflected polynomial 0xA001: one step of the table-driven
// loop handles a whole byte with two look-ups and no shifts of the 16-bit value.
struct CrcTables {
  std::array<std::uint8_t, 256> hi{};
  std::array<std::uint8_t, 256> lo{};
};

constexpr CrcTables MakeTables() {
  CrcTables t;
  for (unsigned i = 0; i < 256; ++i) {
    unsigned crc = i;
    for (int bit = 0; bit < 8; ++bit) crc = (crc & 1U) ? (crc >> 1) ^ 0xA001U : crc >> 1;
    t.lo[i] = static_cast<std::uint8_t>(crc & 0xFFU);
    t.hi[i] = static_cast<std::uint8_t>(crc >> 8);
  }
  return t;
}

constexpr CrcTables kTables = MakeTables();

}  // namespace

std::uint16_t LinkCrc16Value(const std::uint8_t* bytes, std::size_t length) {
  std::uint8_t lo = 0xFF;
  std::uint8_t hi = 0xFF;
  for (std::size_t i = 0; i < length; ++i) {
    const std::uint8_t index = lo ^ bytes[i];
    lo = hi ^ kTables.lo[index];
    hi = kTables.hi[index];
  }
  return static_cast<std::uint16_t>(lo | (hi << 8));
}

void link_crc16(std::uint8_t* bytes, std::size_t length) {
  const std::uint16_t crc = LinkCrc16Value(bytes, length);
  bytes[length] = static_cast<std::uint8_t>(crc & 0xFF);
  bytes[length + 1] = static_cast<std::uint8_t>(crc >> 8);
}

bool link_crc16_check(const std::uint8_t* bytes, std::size_t length) {
  const std::uint16_t crc = LinkCrc16Value(bytes, length);
  return bytes[length] == (crc & 0xFF) && bytes[length + 1] == (crc >> 8);
}

}  // namespace orvandry::link
