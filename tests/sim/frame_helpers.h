#pragma once

#include <cstdint>
#include <initializer_list>
#include <vector>

#include "link/command_builder.h"
#include "link/crc16.h"
#include "link/link_shared.h"

namespace orvandry::sim::testing {

// A frame with its CRC appended, from the bytes before the CRC.
inline std::vector<std::uint8_t> WithCrc(std::initializer_list<std::uint8_t> head) {
  std::vector<std::uint8_t> frame(head);
  frame.resize(frame.size() + 2);
  link::link_crc16(frame.data(), frame.size() - 2);
  return frame;
}

// The CommandFrame the display's own builder makes for what is pending in `shared`.
inline std::vector<std::uint8_t> DisplayCommandFrame(link::LinkShared& shared) {
  std::uint8_t tx[link::kMaxCommandFrameSize] = {};
  if (!link::BuildCommandFrame(shared, tx)) return {};
  link::link_crc16(tx, tx[0] - 2U);
  return {tx, tx + tx[0]};
}

inline const std::vector<std::uint8_t> kNull = {0x07, 0x00, 0x00, 0x00, 0x00, 0x91, 0xC0};
inline const std::vector<std::uint8_t> kReset = {0x06, 0x00, 0x02, 0x10};

inline std::vector<std::uint8_t> Concat(std::initializer_list<std::vector<std::uint8_t>> parts) {
  std::vector<std::uint8_t> out;
  for (const auto& p : parts) out.insert(out.end(), p.begin(), p.end());
  return out;
}

}  // namespace orvandry::sim::testing
