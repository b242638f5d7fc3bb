#include "logging/log_records.h"

#include "link/status_map.h"

namespace orvandry::logging {
namespace sm = link::status_map;

namespace {

// Two StatusFrame bytes in the order the frame holds them, read as one number.
std::uint16_t Pair(const link::LinkShared& shared, std::size_t first) {
  return static_cast<std::uint16_t>((shared.dryer_state.Get(first) << 8) |
                                    shared.dryer_state.Get(first + 1));
}

}  // namespace

bool Unloading(const link::LinkShared& shared) {
  return (shared.dryer_state.Get(sm::kUnloadBits) & 0x01) != 0 ||
         (shared.dryer_state.Get(sm::kDryerActivity) & 0x40) != 0;
}

std::int16_t RecordBuilder::GrainTemp(const link::LinkShared& shared) {
  std::size_t at = 0;
  switch (shared.dryer_state.Get(sm::kGrainTempSelector)) {
    case 0:
      at = sm::kGrainTempSelector0;
      break;
    case 1:
      at = sm::kGrainTempSelector1;
      break;
    case 2:
      at = sm::kGrainTempSelector2;
      break;
    default:
      return grain_temp_f_;
  }
  // Little-endian in the frame.
  grain_temp_f_ =
      static_cast<std::int16_t>(shared.dryer_state.Get(at) | (shared.dryer_state.Get(at + 1) << 8));
  return grain_temp_f_;
}

LogSample RecordBuilder::Sample(const link::LinkShared& shared,
                                const platform::LocalDateTime& now) {
  LogSample s;
  s.dryer_grain_temp_f = GrainTemp(shared);
  s.incoming_temp_x10 = static_cast<std::int16_t>(Pair(shared, sm::kIncomingGrainTemp));
  s.incoming_moisture_x10 = static_cast<std::int16_t>(Pair(shared, sm::kIncomingMoisture));
  s.outgoing_temp_x10 = static_cast<std::int16_t>(Pair(shared, sm::kOutgoingGrainTemp));
  s.outgoing_moisture_x10 = static_cast<std::int16_t>(Pair(shared, sm::kOutgoingMoisture));
  s.meter_output_percent = shared.dryer_state.Get(kMeterOutputByte);
  s.hour = static_cast<std::uint8_t>(now.hour);
  s.minute = static_cast<std::uint8_t>(now.minute);
  s.second = static_cast<std::uint8_t>(now.second);
  s.month = static_cast<std::uint8_t>(now.month);
  s.day = static_cast<std::uint8_t>(now.day);
  return s;
}

LongTermRecord RecordBuilder::LongTerm(const link::LinkShared& shared,
                                       const platform::LocalDateTime& now) {
  LongTermRecord r{};
  auto put = [&r](std::size_t at, std::uint16_t v) {
    r[at] = static_cast<std::uint8_t>(v >> 8);
    r[at + 1] = static_cast<std::uint8_t>(v & 0xFF);
  };
  put(0, static_cast<std::uint16_t>(GrainTemp(shared)));
  put(2, Pair(shared, sm::kIncomingGrainTemp));
  put(4, Pair(shared, sm::kIncomingMoisture));
  put(6, Pair(shared, sm::kOutgoingGrainTemp));
  put(8, Pair(shared, sm::kOutgoingMoisture));
  put(10, Pair(shared, kUnloadRateByte));
  r[12] = shared.dryer_state.Get(kLongTermByte202);
  r[13] = static_cast<std::uint8_t>(now.hour);
  r[14] = static_cast<std::uint8_t>(now.minute);
  r[15] = static_cast<std::uint8_t>(now.second);
  return r;
}

}  // namespace orvandry::logging
