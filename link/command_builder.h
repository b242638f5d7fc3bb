#pragma once

#include <cstdint>

#include "link/link_shared.h"

namespace orvandry::link {

// Fills `tx` with a CommandFrame of every raised record, in table order, without the CRC: byte 0
// is the total length including the two CRC bytes, byte 1 the record count. Returns true when at
// least one record was placed. One-shot records are lowered as they are placed. `tx` must hold
// kMaxCommandFrameSize bytes. Allocates nothing.
bool BuildCommandFrame(LinkShared& shared, std::uint8_t* tx);

}  // namespace orvandry::link
