#include "warnings/help_picture.h"

#include <algorithm>
#include <fstream>

namespace orvandry::warnings {
namespace {

constexpr std::size_t kFileHeaderSize = 14;
constexpr std::uint32_t kCoreHeaderSize = 12;
constexpr std::uint32_t kInfoHeaderSize = 40;
constexpr std::uint32_t kLargestHeaderSize = 124;  // version 5
constexpr std::uint32_t kRgb = 0, kRle8 = 1, kRle4 = 2, kBitFields = 3;

std::uint16_t U16(std::string_view bytes, std::size_t at) {
  return static_cast<std::uint16_t>(static_cast<std::uint8_t>(bytes[at]) |
                                    static_cast<std::uint8_t>(bytes[at + 1]) << 8);
}

std::uint32_t U32(std::string_view bytes, std::size_t at) {
  return static_cast<std::uint32_t>(U16(bytes, at)) | static_cast<std::uint32_t>(U16(bytes, at + 2))
                                                          << 16;
}

std::int32_t I32(std::string_view bytes, std::size_t at) {
  return static_cast<std::int32_t>(U32(bytes, at));
}

bool KnownInfoHeader(std::uint32_t size) {
  return size == kCoreHeaderSize || size == kInfoHeaderSize || size == 52 || size == 56 ||
         size == 108 || size == kLargestHeaderSize;
}

bool CompressionFits(std::uint32_t compression, std::uint16_t bits, bool top_down) {
  switch (compression) {
    case kRgb:
      return true;
    case kRle8:
      return bits == 8 && !top_down;
    case kRle4:
      return bits == 4 && !top_down;
    case kBitFields:
      return bits == 16 || bits == 32;
    default:
      return false;  // embedded JPEG or PNG, and anything unknown
  }
}

}  // namespace

std::optional<HelpPictureInfo> CheckHelpPicture(std::string_view bytes) {
  if (bytes.size() < kFileHeaderSize + 4 || bytes[0] != 'B' || bytes[1] != 'M') return std::nullopt;
  const std::uint32_t header_size = U32(bytes, kFileHeaderSize);
  if (!KnownInfoHeader(header_size) || bytes.size() < kFileHeaderSize + header_size)
    return std::nullopt;

  HelpPictureInfo info;
  info.pixel_offset = U32(bytes, 10);
  std::uint16_t planes = 0;
  std::int64_t height = 0;
  std::uint64_t colours = 0;  // entries in the colour table
  std::uint32_t colour_entry = 4;
  if (header_size == kCoreHeaderSize) {
    info.width = U16(bytes, 18);
    height = U16(bytes, 20);
    planes = U16(bytes, 22);
    info.bits_per_pixel = U16(bytes, 24);
    colour_entry = 3;
  } else {
    info.width = I32(bytes, 18);
    height = I32(bytes, 22);
    planes = U16(bytes, 26);
    info.bits_per_pixel = U16(bytes, 28);
    info.compression = U32(bytes, 30);
    colours = U32(bytes, 46);
  }
  info.top_down = height < 0;
  if (height < 0) height = -height;
  info.height = static_cast<std::int32_t>(std::min<std::int64_t>(height, kHelpPictureMaxSide + 1));

  const std::uint16_t bits = info.bits_per_pixel;
  if (planes != 1 || info.width <= 0 || info.width > kHelpPictureMaxSide || info.height <= 0 ||
      info.height > kHelpPictureMaxSide)
    return std::nullopt;
  if (bits != 1 && bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32)
    return std::nullopt;
  if (!CompressionFits(info.compression, bits, info.top_down)) return std::nullopt;

  // Pictures of 8 bits or fewer need their colour table: by default a full one.
  if (bits <= 8) {
    const std::uint64_t full = std::uint64_t{1} << bits;
    if (colours == 0) colours = full;
    if (colours > full) return std::nullopt;
  } else if (colours > 256) {
    return std::nullopt;  // an optional table for other displays; never large
  }
  // Bit fields masks follow a version 3 header (12 bytes); the later headers hold them.
  const std::uint64_t masks =
      info.compression == kBitFields && header_size == kInfoHeaderSize ? 12 : 0;
  const std::uint64_t table_end = kFileHeaderSize + header_size + masks + colours * colour_entry;
  if (table_end > info.pixel_offset || info.pixel_offset >= bytes.size()) return std::nullopt;

  // Uncompressed rows are padded to 4 bytes and must all be in the file; compressed data only
  // needs to begin in it (its decoder stops at the end of the data).
  if (info.compression == kRgb || info.compression == kBitFields) {
    const std::uint64_t stride = (static_cast<std::uint64_t>(info.width) * bits + 31) / 32 * 4;
    if (info.pixel_offset + stride * static_cast<std::uint64_t>(info.height) > bytes.size())
      return std::nullopt;
  }
  return info;
}

std::optional<std::string> ReadHelpPictureFile(const std::filesystem::path& path) {
  std::ifstream file(path, std::ios::binary | std::ios::ate);
  if (!file) return std::nullopt;
  const std::streamoff size = file.tellg();
  if (size < 0 || static_cast<std::uint64_t>(size) > kHelpPictureMaxBytes) return std::nullopt;
  std::string bytes(static_cast<std::size_t>(size), '\0');
  file.seekg(0);
  if (!file.read(bytes.data(), size)) return std::nullopt;
  return bytes;
}

}  // namespace orvandry::warnings
