#include "warnings/help_files.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <functional>
#include <set>
#include <string>

#include "warnings/help_picture.h"
#include "warnings/help_text.h"
#include "warnings_test_support.h"

namespace orvandry::warnings {
namespace {

using testing::ReadFile;

TEST(HelpFileNames, AreDecimalFileTheFanHeatersUnderTheFirstAndAnimateTheDoor) {
  const std::filesystem::path data = "/data";
  EXPECT_EQ(HelpTextPath(data, 0x0E05), "/data/WarningBitmaps/NID_14_WARNING_ID_05.txt");
  EXPECT_EQ(HelpPicturePath(data, 0x0E05), "/data/WarningBitmaps/NID_14_WARNING_ID_05.bmp");
  const struct {
    WarningCode code;
    const char* stem;
  } stems[] = {{0x0405, "NID_02_WARNING_ID_05"},
               {0x0713, "NID_02_WARNING_ID_19"},
               {0x010A, "NID_01_WARNING_ID_10"},
               {0x0801, "NID_08_WARNING_ID_01"},
               {0xFFFF, "NID_255_WARNING_ID_255"}};
  for (const auto& s : stems) EXPECT_EQ(HelpFileStem(s.code), s.stem) << std::hex << s.code;

  const char* frames[] = {"IMG_0141.bmp", "IMG_0142.bmp", "IMG_0143.bmp", "IMG_0144.bmp",
                          "IMG_0144.bmp", "IMG_0144.bmp", "IMG_0144.bmp", "IMG_0141.bmp"};
  for (int frame = 0; frame <= kDoorAnimationFrames; ++frame)
    EXPECT_EQ(DoorAnimationFramePath(data, frame), data / "WarningBitmaps" / frames[frame]);
  // The live code decides, not the code whose help is open.
  EXPECT_EQ(HelpPictureToShow(data, 0x0E05, 0x0E01, 2), data / "WarningBitmaps/IMG_0143.bmp");
  EXPECT_EQ(HelpPictureToShow(data, 0x0205, 0x0E05, 2),
            data / "WarningBitmaps/NID_14_WARNING_ID_05.bmp");
}

TEST(HelpTextLines, FollowTheLineRules) {
  const struct {
    std::string text;
    std::vector<std::string> lines;
  } cases[] = {
      {"FIRST\tLINE\r\nSECOND\r\n\r\nFOURTH\r\n", {"FIRST    LINE", "SECOND", "", "FOURTH"}},
      {"shown\rhidden part\nnext\n", {"shown", "next"}},
      {"\t\tX\n", {"        X"}},
      // Without a final line feed the last line is not shown.
      {"one\ntwo", {"one"}},
      {"no line feed at all", {}},
      // 8-bit characters pass through untouched (0xB0 is the degree sign).
      {"180 \xB0\n", {"180 \xB0"}},
      // Lines are cut at 497 characters, expanded tabs included.
      {std::string(600, 'A') + "\nB\n", {std::string(497, 'A'), "B"}},
      {std::string(495, 'C') + "\tD\n", {std::string(495, 'C') + "  "}},
  };
  for (const auto& c : cases) EXPECT_EQ(SplitHelpText(c.text), c.lines) << c.text.substr(0, 40);
}

TEST(HelpTextFile, ReadsAtMost16KiBAndReportsAMissingFile) {
  testing::TempDir dir;
  const std::filesystem::path path = dir.path() / "help.txt";
  // 200 lines of 100 bytes: the first 163 lie wholly inside 16384 bytes, the 164th is cut off
  // before its line feed and is therefore not shown.
  std::string text;
  for (int i = 0; i < 200; ++i) text += std::string(99, static_cast<char>('A' + i % 26)) + "\n";
  testing::WriteFile(path, text);
  const auto lines = ReadHelpText(path);
  ASSERT_TRUE(lines.has_value());
  EXPECT_EQ(lines->size(), 163u);
  EXPECT_EQ(lines->back(), std::string(99, static_cast<char>('A' + 162 % 26)));
  EXPECT_EQ(LoadHelpTextLines(dir.path() / "absent.txt"),
            (std::vector<std::string>{"NO TEXT FILE AVAILABLE."}));
}

std::uint32_t U32(const std::string& b, std::size_t at) {
  std::uint32_t v = 0;
  for (int i = 3; i >= 0; --i) v = v << 8 | static_cast<std::uint8_t>(b[at + i]);
  return v;
}

// The demo's help files: named as the help window looks for them, texts within the list's rules,
// pictures 24-bit uncompressed bitmaps that fit the help picture area.
// A bitmap file with a version 3 header: `colours` table entries (0: a full table for the depth)
// and the rows the sizes call for (at most 8192).
std::string Bitmap(std::int32_t width, std::int32_t height, std::uint16_t bits,
                   std::uint32_t compression = 0, std::uint32_t colours = 0) {
  auto put = [](std::string& out, std::uint64_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) out.push_back(static_cast<char>(value >> (8 * i) & 0xFF));
  };
  const std::uint32_t table = (bits <= 8 ? (colours != 0 ? colours : 1U << bits) : 0) * 4;
  const std::uint64_t stride = (static_cast<std::uint64_t>(width) * bits + 31) / 32 * 4;
  // Rows beyond any side the check accepts are left out: the file would be gigabytes.
  const std::uint64_t rows = std::min<std::uint64_t>(
      height < 0 ? 0ULL - static_cast<std::uint32_t>(height) : height, 8192);
  const std::uint64_t pixels = stride * rows;
  const std::uint32_t offset = 14 + 40 + table;
  std::string out = "BM";
  put(out, offset + pixels, 4);
  put(out, 0, 4);
  put(out, offset, 4);
  for (const auto& [value, bytes] : {std::pair<std::uint64_t, int>{40, 4},
                                     {static_cast<std::uint32_t>(width), 4},
                                     {static_cast<std::uint32_t>(height), 4},
                                     {1, 2},
                                     {bits, 2},
                                     {compression, 4},
                                     {pixels, 4},
                                     {2835, 4},
                                     {2835, 4},
                                     {colours, 4},
                                     {0, 4}})
    put(out, value, bytes);
  out.append(table, '\x40');
  out.append(static_cast<std::size_t>(pixels), '\x7F');
  return out;
}

// Only a file whose headers add up may reach the picture decoder; a damaged one counts as missing.
TEST(HelpPictureCheck, PassesSoundBitmapsAndRefusesFilesWhoseSizesDoNotAddUp) {
  const auto demo = CheckHelpPicture(
      ReadFile(testing::SourceDir() / "resources/demo-data/WarningBitmaps/IMG_0141.bmp"));
  ASSERT_TRUE(demo.has_value());
  EXPECT_EQ(demo->bits_per_pixel, 24);
  const auto top_down = CheckHelpPicture(Bitmap(4, -2, 8, 0, 4));
  ASSERT_TRUE(top_down.has_value());
  EXPECT_TRUE(top_down->top_down);
  EXPECT_EQ(top_down->height, 2);

  const struct {
    const char* what;
    std::string bytes;
  } refused[] = {
      {"not a bitmap", "PK" + Bitmap(4, 2, 24).substr(2)},
      {"last row cut off", Bitmap(4, 2, 24).substr(0, 54 + 12 + 11)},
      {"no width", Bitmap(0, 2, 24)},
      {"too tall", Bitmap(2, 5000, 1)},
      {"the tallest top-down height", Bitmap(2, INT32_MIN, 24)},
      {"7 bits per pixel", Bitmap(4, 2, 7)},
      {"RLE8 at 24 bits", Bitmap(4, 2, 24, 1)},
      {"an embedded PNG", Bitmap(4, 2, 24, 5)},
      {"more colours than the depth has", Bitmap(4, 2, 1, 0, 3)},
      {"colour table over the pixels",
       [] {
         std::string b = Bitmap(4, 2, 8, 0, 2);
         b[10] = static_cast<char>(14 + 40 + 4);  // pixels said to start inside the table
         return b;
       }()},
  };
  for (const auto& c : refused) EXPECT_FALSE(CheckHelpPicture(c.bytes).has_value()) << c.what;
}

TEST(DemoHelpFiles, CoverEveryNodeFamilyWithinTheListRulesAndAre24BitBitmaps) {
  const std::filesystem::path data = testing::SourceDir() / "resources/demo-data";
  for (const WarningCode code : {0x0205, 0x0E05, 0x0101, 0x0E01, 0x0F02, 0x0209}) {
    EXPECT_GE(LoadHelpTextLines(HelpTextPath(data, code)).size(), 8u) << HelpFileStem(code);
    EXPECT_TRUE(std::filesystem::exists(HelpPicturePath(data, code))) << HelpFileStem(code);
  }
  for (int frame = 0; frame < kDoorAnimationFrames; ++frame)
    EXPECT_TRUE(std::filesystem::exists(DoorAnimationFramePath(data, frame))) << frame;

  for (const auto& entry : std::filesystem::directory_iterator(HelpFolder(data))) {
    const std::string bytes = ReadFile(entry.path());
    const std::string name = entry.path().filename().string();
    ASSERT_GE(bytes.size(), 54u) << name;
    if (entry.path().extension() == ".txt") {
      EXPECT_LE(bytes.size(), kHelpTextMaxBytes) << name;
      EXPECT_EQ(bytes.back(), '\n') << name << " would lose its last line";
      for (const auto& line : SplitHelpText(bytes)) EXPECT_LE(line.size(), 60u) << name << line;
      continue;
    }
    ASSERT_EQ(entry.path().extension(), ".bmp") << name;
    EXPECT_EQ(bytes.substr(0, 2), "BM") << name;
    EXPECT_EQ(U32(bytes, 28), 24u) << name << ": 24 bits per pixel, uncompressed";
    EXPECT_EQ(U32(bytes, 30), 0u) << name;
    const std::uint32_t width = U32(bytes, 18), height = U32(bytes, 22);
    EXPECT_TRUE(width <= 500u && height <= 400u) << name << " " << width << "x" << height;
    EXPECT_EQ(bytes.size(), U32(bytes, 10) + (width * 3 + 3) / 4 * 4 * height) << name;
  }
}

}  // namespace
}  // namespace orvandry::warnings
