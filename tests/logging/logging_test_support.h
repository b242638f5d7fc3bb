#pragma once

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <system_error>
#include <vector>

#include "temp_dir.h"

#include "logging/log_sample.h"
#include "platform/clock.h"

namespace orvandry::logging::testing {

using orvandry::testing::TempDir;

// A sample that carries its sequence number, so order and gaps can be checked.
inline LogSample Numbered(std::uint32_t n) {
  LogSample s;
  s.dryer_grain_temp_f = static_cast<std::int16_t>(n >> 16);
  s.incoming_temp_x10 = static_cast<std::int16_t>(n & 0xFFFF);
  s.day = 1;
  return s;
}
inline std::uint32_t NumberOf(const LogSample& s) {
  return (static_cast<std::uint32_t>(static_cast<std::uint16_t>(s.dryer_grain_temp_f)) << 16) |
         static_cast<std::uint16_t>(s.incoming_temp_x10);
}

// Writes samples first..first+count-1 straight into a file (faster than appending one by one).
inline void WriteNumbered(const std::filesystem::path& path, std::uint32_t first,
                          std::uint32_t count) {
  std::filesystem::create_directories(path.parent_path());
  std::ofstream out(path, std::ios::binary | std::ios::app);
  for (std::uint32_t n = first; n < first + count; ++n) {
    const auto bytes = Numbered(n).Encode();
    out.write(reinterpret_cast<const char*>(bytes.data()), bytes.size());
  }
}

inline platform::LocalDateTime At(int hour, int minute, int second = 0) {
  return platform::LocalDateTime{2026, 12, 6, hour, minute, second, 0};
}

}  // namespace orvandry::logging::testing
