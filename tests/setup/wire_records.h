#pragma once

// What the display's next CommandFrame carries, record by record, keyed by the DryerState offset
// each record writes (record group 1 at 256 + id).
#include <array>
#include <cstddef>
#include <cstdint>
#include <map>
#include <vector>

#include "link/command_builder.h"
#include "link/frame_constants.h"
#include "link/link_shared.h"

namespace orvandry::setup::testing {

using WireRecords = std::map<std::size_t, std::vector<std::uint8_t>>;

inline WireRecords NextFrame(link::LinkShared& shared) {
  std::array<std::uint8_t, link::kMaxCommandFrameSize> tx{};
  WireRecords records;
  if (!link::BuildCommandFrame(shared, tx.data())) return records;
  std::size_t at = 2;
  for (int i = 0; i < tx[1]; ++i) {
    const std::size_t offset = tx[at] * 256U + tx[at + 1];
    const std::size_t count = tx[at + 2];
    records[offset].assign(tx.begin() + static_cast<std::ptrdiff_t>(at + 3),
                           tx.begin() + static_cast<std::ptrdiff_t>(at + 3 + count));
    at += 3 + count;
  }
  return records;
}

// One byte per record: the usual shape of the drying mode records.
inline WireRecords Bytes(std::initializer_list<std::pair<const std::size_t, std::uint8_t>> list) {
  WireRecords records;
  for (const auto& [offset, value] : list) records[offset] = {value};
  return records;
}

}  // namespace orvandry::setup::testing
