#pragma once

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace orvandry::warnings {

inline constexpr std::size_t kHelpTextMaxBytes = 16384;
inline constexpr std::size_t kHelpLineMaxChars = 497;
inline constexpr std::size_t kHelpTabWidth = 4;
inline constexpr std::string_view kNoHelpTextLine = "NO TEXT FILE AVAILABLE.";

// Splits help-file bytes into list lines: a line feed ends a line; a carriage return ends the
// visible part of the line (the rest up to the line feed is dropped); a tab becomes four spaces;
// a line is cut at kHelpLineMaxChars. Text after the last line feed is not a line. Lines are
// returned as the file's 8-bit (Latin-1) characters.
std::vector<std::string> SplitHelpText(std::string_view bytes);

// Reads at most kHelpTextMaxBytes of a help text file and splits it; nullopt when the file cannot
// be opened.
std::optional<std::vector<std::string>> ReadHelpText(const std::filesystem::path& path);

// The lines the help window lists: the file's, or the single kNoHelpTextLine when it is missing.
std::vector<std::string> LoadHelpTextLines(const std::filesystem::path& path);

}  // namespace orvandry::warnings
