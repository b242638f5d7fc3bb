#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "link/link_shared.h"
#include "logging/log_sample.h"
#include "platform/clock.h"

namespace orvandry::logging {

// StatusFrame bytes the records take that the frame map names for other readers.
inline constexpr std::size_t kUnloadRateByte = 197;   // 197-198, the metering roll rate
inline constexpr std::size_t kLongTermByte202 = 202;  // stored unchanged
inline constexpr std::size_t kMeterOutputByte = 245;  // metering roll output, percent

// One record of the long-term log: 16 bytes, 16-bit values high byte first, no date.
using LongTermRecord = std::array<std::uint8_t, 16>;

// Builds the log records from DryerState and the local time. The dryer grain temperature is one
// of three readings picked by the dryer's selector; with an unknown selector the previous
// record's value stays, so one builder serves all three logs.
class RecordBuilder {
 public:
  LogSample Sample(const link::LinkShared& shared, const platform::LocalDateTime& now);
  LongTermRecord LongTerm(const link::LinkShared& shared, const platform::LocalDateTime& now);

 private:
  std::int16_t GrainTemp(const link::LinkShared& shared);
  std::int16_t grain_temp_f_ = 0;
};

// The dryer counts as running for the logs while it unloads.
bool Unloading(const link::LinkShared& shared);

}  // namespace orvandry::logging
