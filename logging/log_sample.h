#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace orvandry::logging {

// One sample of the short-term and graph logs: 18 bytes on disk, 16-bit values high byte first.
// Temperatures and moistures are signed (a grain temperature below zero is a real reading).
struct LogSample {
  static constexpr std::size_t kSize = 18;
  using Bytes = std::array<std::uint8_t, kSize>;

  std::int16_t dryer_grain_temp_f = 0;     // bytes 0-1, whole degrees Fahrenheit
  std::int16_t incoming_temp_x10 = 0;      // bytes 2-3
  std::int16_t incoming_moisture_x10 = 0;  // bytes 4-5, percent x 10
  std::int16_t outgoing_temp_x10 = 0;      // bytes 6-7
  std::int16_t outgoing_moisture_x10 = 0;  // bytes 8-9, percent x 10
  std::uint16_t meter_output_percent = 0;  // bytes 10-11 (the high byte is written as 0)
  std::uint8_t hour = 0;                   // byte 13, 0-23 local time (byte 12 is 0)
  std::uint8_t minute = 0;                 // byte 14
  std::uint8_t second = 0;                 // byte 15
  std::uint8_t month = 0;                  // byte 16, 1-12
  std::uint8_t day = 0;                    // byte 17

  Bytes Encode() const {
    Bytes b{};
    auto put = [&b](std::size_t at, std::uint16_t v) {
      b[at] = static_cast<std::uint8_t>(v >> 8);
      b[at + 1] = static_cast<std::uint8_t>(v & 0xFF);
    };
    put(0, static_cast<std::uint16_t>(dryer_grain_temp_f));
    put(2, static_cast<std::uint16_t>(incoming_temp_x10));
    put(4, static_cast<std::uint16_t>(incoming_moisture_x10));
    put(6, static_cast<std::uint16_t>(outgoing_temp_x10));
    put(8, static_cast<std::uint16_t>(outgoing_moisture_x10));
    put(10, meter_output_percent);
    b[12] = 0;
    b[13] = hour;
    b[14] = minute;
    b[15] = second;
    b[16] = month;
    b[17] = day;
    return b;
  }

  static LogSample Decode(const std::uint8_t* b) {
    auto get = [b](std::size_t at) { return static_cast<std::uint16_t>((b[at] << 8) | b[at + 1]); };
    LogSample s;
    s.dryer_grain_temp_f = static_cast<std::int16_t>(get(0));
    s.incoming_temp_x10 = static_cast<std::int16_t>(get(2));
    s.incoming_moisture_x10 = static_cast<std::int16_t>(get(4));
    s.outgoing_temp_x10 = static_cast<std::int16_t>(get(6));
    s.outgoing_moisture_x10 = static_cast<std::int16_t>(get(8));
    s.meter_output_percent = get(10);
    s.hour = b[13];
    s.minute = b[14];
    s.second = b[15];
    s.month = b[16];
    s.day = b[17];
    return s;
  }

  bool operator==(const LogSample&) const = default;
};

}  // namespace orvandry::logging
