#include "platform/system_memory.h"

#include <charconv>
#include <fstream>
#include <limits>
#include <sstream>
#include <string>

namespace orvandry::platform {

namespace {

// The value of the line "<key> <digits> kB", in bytes.
std::optional<std::uint64_t> Field(std::string_view text, std::string_view key) {
  std::size_t at = 0;
  while (at < text.size()) {
    const std::size_t end = std::min(text.find('\n', at), text.size());
    const std::string_view line = text.substr(at, end - at);
    at = end + 1;
    if (!line.starts_with(key)) continue;
    std::string_view rest = line.substr(key.size());
    while (!rest.empty() && rest.front() == ' ') rest.remove_prefix(1);
    std::uint64_t kib = 0;
    const auto [next, error] = std::from_chars(rest.data(), rest.data() + rest.size(), kib);
    if (error != std::errc{} || next == rest.data()) return std::nullopt;
    if (kib > std::numeric_limits<std::uint64_t>::max() / 1024) return std::nullopt;
    return kib * 1024;
  }
  return std::nullopt;
}

}  // namespace

std::optional<MemoryFigures> ParseMemInfo(std::string_view text) {
  const auto total = Field(text, "MemTotal:");
  const auto available = Field(text, "MemAvailable:");
  if (!total || !available) return std::nullopt;
  return MemoryFigures{*total, *available};
}

std::optional<MemoryFigures> ReadSystemMemory() {
  std::ifstream in("/proc/meminfo");
  if (!in) return std::nullopt;
  std::ostringstream text;
  text << in.rdbuf();
  return ParseMemInfo(text.str());
}

}  // namespace orvandry::platform
