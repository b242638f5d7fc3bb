#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace orvandry::platform {

// The machine's physical memory in bytes. Panels and desktops alike can have more than 4 GiB,
// so both figures are 64-bit.
struct MemoryFigures {
  std::uint64_t total = 0;
  std::uint64_t available = 0;
  friend constexpr bool operator==(const MemoryFigures&, const MemoryFigures&) = default;
};

// Reads the figures from the text of /proc/meminfo ("MemTotal:" and "MemAvailable:" in kB).
// Nothing when either line is missing or unreadable.
std::optional<MemoryFigures> ParseMemInfo(std::string_view text);

// The figures the operating system reports now; nothing when it reports none.
std::optional<MemoryFigures> ReadSystemMemory();

}  // namespace orvandry::platform
