#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace orvandry::link {

// The controller's parameter and status table, mirrored byte for byte.
inline constexpr std::size_t kStateSize = 300;
// A StatusFrame is the table plus its CRC, low byte first.
inline constexpr std::size_t kStatusFrameSize = kStateSize + 2;
// The builder never starts a record at or past this length...
inline constexpr std::size_t kCommandRecordLimit = 100;
// ...so with the longest record (the 8-byte clock) and the CRC a frame stays within this.
inline constexpr std::size_t kMaxCommandFrameSize = 108;

// Sent when nothing is pending: 07 00 00 00 00 and its CRC.
inline constexpr std::array<std::uint8_t, 7> kNullFrame = {0x07, 0x00, 0x00, 0x00, 0x00, 0x91, 0xC0};
// Sent to re-establish a silent link. Its first byte says 6 although it is 4 bytes long; the
// controller recognises it by that byte.
inline constexpr std::array<std::uint8_t, 4> kResetFrame = {0x06, 0x00, 0x02, 0x10};

// Seconds without a good StatusFrame before the link counts as lost.
inline constexpr std::uint32_t kLinkAliveReload = 10;
// Cycles after a reset frame before the next reset may go out.
inline constexpr std::uint32_t kResetHoldOff = 10;

}  // namespace orvandry::link
