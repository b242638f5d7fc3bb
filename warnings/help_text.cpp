#include "warnings/help_text.h"

#include <fstream>

namespace orvandry::warnings {

std::vector<std::string> SplitHelpText(std::string_view bytes) {
  std::vector<std::string> lines;
  std::string line;
  bool line_ended = false;  // a carriage return was seen; wait for the line feed
  for (const char c : bytes) {
    if (c == '\n') {
      lines.push_back(std::move(line));
      line.clear();
      line_ended = false;
    } else if (line_ended) {
      continue;
    } else if (c == '\r') {
      line_ended = true;
    } else if (c == '\t') {
      line.append(std::min(kHelpTabWidth, kHelpLineMaxChars - line.size()), ' ');
    } else if (line.size() < kHelpLineMaxChars) {
      line.push_back(c);
    }
  }
  return lines;
}

std::optional<std::vector<std::string>> ReadHelpText(const std::filesystem::path& path) {
  std::ifstream file(path, std::ios::binary);
  if (!file) return std::nullopt;
  std::string bytes(kHelpTextMaxBytes, '\0');
  file.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  bytes.resize(static_cast<std::size_t>(file.gcount()));
  return SplitHelpText(bytes);
}

std::vector<std::string> LoadHelpTextLines(const std::filesystem::path& path) {
  if (auto lines = ReadHelpText(path)) return std::move(*lines);
  return {std::string(kNoHelpTextLine)};
}

}  // namespace orvandry::warnings
