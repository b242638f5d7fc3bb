#pragma once

#include <cstddef>
#include <cstdint>

namespace orvandry::link {

// CRC-16/MODBUS (initial 0xFFFF, reflected polynomial 0xA001, no final XOR) over `length` bytes.
std::uint16_t LinkCrc16Value(const std::uint8_t* bytes, std::size_t length);

// Computes the CRC over `length` bytes and stores it right after them, low byte first.
// `bytes` must have room for length + 2 bytes.
void link_crc16(std::uint8_t* bytes, std::size_t length);

// True when the two bytes after the run equal its CRC, low byte first.
bool link_crc16_check(const std::uint8_t* bytes, std::size_t length);

}  // namespace orvandry::link
