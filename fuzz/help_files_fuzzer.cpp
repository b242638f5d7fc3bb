// The help files on the panel's disk fed arbitrary contents: the text reader (from a file, through
// its 16 KiB cut, and its line rules) and the check a help picture's file passes before it may
// reach the decoder.
//
// Properties: the text gives one line per line feed within what was read, each line at most
// kHelpLineMaxChars long and free of line feeds, carriage returns and tabs; a picture accepted by
// the check has sides within bounds and its colour table and pixel rows inside the file.

#include <fuzzer/FuzzedDataProvider.h>
#include <sys/mman.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <string>

#include "fuzz/fuzz_check.h"
#include "warnings/help_picture.h"
#include "warnings/help_text.h"

namespace {

using namespace orvandry::warnings;

// One in-memory file, reused for every input: no disk is touched.
int MemoryFile() {
  static const int fd = ::memfd_create("help-file", 0);
  FUZZ_CHECK(fd >= 0);
  return fd;
}

std::string PathOf(int fd) {
  return "/proc/self/fd/" + std::to_string(fd);
}

void CheckText(std::string_view bytes) {
  const int fd = MemoryFile();
  FUZZ_CHECK(::ftruncate(fd, 0) == 0);
  FUZZ_CHECK(::pwrite(fd, bytes.data(), bytes.size(), 0) == static_cast<ssize_t>(bytes.size()));
  const auto lines = ReadHelpText(PathOf(fd));
  FUZZ_CHECK(lines.has_value());
  const std::string_view read = bytes.substr(0, kHelpTextMaxBytes);
  FUZZ_CHECK(lines->size() == static_cast<std::size_t>(std::count(read.begin(), read.end(), '\n')));
  for (const std::string& line : *lines) {
    FUZZ_CHECK(line.size() <= kHelpLineMaxChars);
    FUZZ_CHECK(line.find_first_of("\n\r\t") == std::string::npos);
  }
}

void CheckPicture(std::string_view bytes) {
  const auto info = CheckHelpPicture(bytes);
  if (!info) return;
  FUZZ_CHECK(info->width > 0 && info->width <= kHelpPictureMaxSide);
  FUZZ_CHECK(info->height > 0 && info->height <= kHelpPictureMaxSide);
  FUZZ_CHECK(info->pixel_offset < bytes.size());
  if (info->compression == 0 || info->compression == 3) {
    const std::uint64_t stride =
        (static_cast<std::uint64_t>(info->width) * info->bits_per_pixel + 31) / 32 * 4;
    FUZZ_CHECK(info->pixel_offset + stride * static_cast<std::uint64_t>(info->height) <=
               bytes.size());
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  CheckText(bytes);
  CheckPicture(bytes);
  return 0;
}
