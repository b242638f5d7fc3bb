#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace orvandry::warnings {

// Help pictures are device-independent bitmaps (".bmp"). Before a picture is handed to the
// decoder its file is read whole (never more than kHelpPictureMaxBytes) and its headers checked
// here, so a damaged or hostile file on the panel's disk is reported as a missing picture instead
// of reaching the decoder with sizes that do not add up.
inline constexpr std::size_t kHelpPictureMaxBytes = 16 * 1024 * 1024;
// Only 500 x 400 pixels are ever shown; a picture may be larger, but not without bound.
inline constexpr std::int32_t kHelpPictureMaxSide = 4096;

struct HelpPictureInfo {
  std::int32_t width = 0;
  std::int32_t height = 0;  // rows, always positive
  bool top_down = false;    // the first row stored is the top one
  std::uint16_t bits_per_pixel = 0;
  std::uint32_t compression = 0;   // 0 none, 1 RLE8, 2 RLE4, 3 bit fields
  std::uint32_t pixel_offset = 0;  // where the pixel data starts in the file
};

// Checks that `bytes` are a bitmap file the help window can show: the "BM" file header, a known
// information header (core, or Windows 3 up to version 5), one plane, 1/4/8/16/24/32 bits per
// pixel, no compression or RLE or bit fields as the bit depth allows, sides within
// kHelpPictureMaxSide, a colour table and pixel data that lie within the file. nullopt otherwise.
std::optional<HelpPictureInfo> CheckHelpPicture(std::string_view bytes);

// The file's bytes when it can be read and is no larger than kHelpPictureMaxBytes.
std::optional<std::string> ReadHelpPictureFile(const std::filesystem::path& path);

}  // namespace orvandry::warnings
