#include "warnings/help_files.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <set>
#include <string>

#include "warnings/help_text.h"
#include "warnings_test_support.h"

namespace orvandry::warnings {
namespace {

using testing::ReadFile;
using testing::TempDir;
using testing::WriteFile;

TEST(HelpFileNames, AreDecimalAndFileTheSixFanHeatersUnderTheFirst) {
  const std::filesystem::path data = "/data";
  EXPECT_EQ(HelpTextPath(data, 0x0E05), "/data/WarningBitmaps/NID_14_WARNING_ID_05.txt");
  EXPECT_EQ(HelpPicturePath(data, 0x0E05), "/data/WarningBitmaps/NID_14_WARNING_ID_05.bmp");
  EXPECT_EQ(HelpFileStem(0x0405), "NID_02_WARNING_ID_05");
  EXPECT_EQ(HelpFileStem(0x0605), "NID_02_WARNING_ID_05");
  EXPECT_EQ(HelpFileStem(0x0713), "NID_02_WARNING_ID_19");
  EXPECT_EQ(HelpFileStem(0x010A), "NID_01_WARNING_ID_10");
  EXPECT_EQ(HelpFileStem(0x0801), "NID_08_WARNING_ID_01");
  EXPECT_EQ(HelpFileStem(0x0F03), "NID_15_WARNING_ID_03");
  EXPECT_EQ(HelpFileStem(0xFFFF), "NID_255_WARNING_ID_255");
}

TEST(HelpFileNames, TheDoorWarningAnimatesFourPicturesOverSevenFrames) {
  const std::filesystem::path data = "/d";
  const char* expected[] = {"IMG_0141.bmp", "IMG_0142.bmp", "IMG_0143.bmp", "IMG_0144.bmp",
                            "IMG_0144.bmp", "IMG_0144.bmp", "IMG_0144.bmp"};
  for (int frame = 0; frame < kDoorAnimationFrames; ++frame)
    EXPECT_EQ(DoorAnimationFramePath(data, frame), data / "WarningBitmaps" / expected[frame]);
  EXPECT_EQ(DoorAnimationFramePath(data, 7), DoorAnimationFramePath(data, 0));

  // The live code decides, not the code whose help is open.
  EXPECT_EQ(HelpPictureToShow(data, 0x0E05, 0x0E01, 2), data / "WarningBitmaps/IMG_0143.bmp");
  EXPECT_EQ(HelpPictureToShow(data, 0x0205, 0x0E05, 2),
            data / "WarningBitmaps/NID_14_WARNING_ID_05.bmp");
  EXPECT_EQ(HelpPictureToShow(data, 0x0000, 0x0405, 0),
            data / "WarningBitmaps/NID_02_WARNING_ID_05.bmp");
}

TEST(HelpTextLines, FollowLineFeedsDropCarriageReturnTailsAndExpandTabs) {
  EXPECT_EQ(SplitHelpText("FIRST\tLINE\r\nSECOND\r\n\r\nFOURTH\r\n"),
            (std::vector<std::string>{"FIRST    LINE", "SECOND", "", "FOURTH"}));
  EXPECT_EQ(SplitHelpText("shown\rhidden part\nnext\n"),
            (std::vector<std::string>{"shown", "next"}));
  EXPECT_EQ(SplitHelpText("\t\tX\n"), (std::vector<std::string>{"        X"}));
  // Without a final line feed the last line is not shown.
  EXPECT_EQ(SplitHelpText("one\ntwo"), (std::vector<std::string>{"one"}));
  EXPECT_TRUE(SplitHelpText("no line feed at all").empty());
  // 8-bit characters pass through untouched (0xB0 is the degree sign).
  EXPECT_EQ(SplitHelpText("180 \xB0"
                          "F\n"),
            (std::vector<std::string>{"180 \xB0"
                                      "F"}));
}

TEST(HelpTextLines, AreCutAt497CharactersTabsIncluded) {
  const std::string long_line(600, 'A');
  EXPECT_EQ(SplitHelpText(long_line + "\nB\n"),
            (std::vector<std::string>{std::string(497, 'A'), "B"}));
  const std::string near_end = std::string(495, 'C') + "\tD\n";
  EXPECT_EQ(SplitHelpText(near_end), (std::vector<std::string>{std::string(495, 'C') + "  "}));
}

TEST(HelpTextFile, ReadsAtMost16KiBAndReportsAMissingFile) {
  TempDir dir;
  const std::filesystem::path path = dir.path() / "help.txt";
  // 200 lines of 100 bytes: the first 163 lie wholly inside 16384 bytes, the 164th is cut off
  // before its line feed and is therefore not shown.
  std::string text;
  for (int i = 0; i < 200; ++i) text += std::string(99, static_cast<char>('A' + i % 26)) + "\n";
  WriteFile(path, text);
  const auto lines = ReadHelpText(path);
  ASSERT_TRUE(lines.has_value());
  EXPECT_EQ(lines->size(), 163u);
  EXPECT_EQ(lines->back(), std::string(99, static_cast<char>('A' + 162 % 26)));

  EXPECT_FALSE(ReadHelpText(dir.path() / "absent.txt").has_value());
  EXPECT_EQ(LoadHelpTextLines(dir.path() / "absent.txt"),
            (std::vector<std::string>{"NO TEXT FILE AVAILABLE."}));
  EXPECT_EQ(LoadHelpTextLines(path).size(), 163u);
}

// The demo's help files: named as the help window looks for them, texts within the list's rules,
// pictures 24-bit uncompressed bitmaps that fit the help picture area.
class DemoHelpFiles : public ::testing::Test {
 protected:
  void SetUp() override {
    const char* source = std::getenv("ORVANDRY_SOURCE_DIR");
    if (source == nullptr) source = ORVANDRY_SOURCE_DIR_DEFAULT;
    data_ = std::filesystem::path(source) / "resources" / "demo-data";
  }
  std::filesystem::path data_;
};

std::uint32_t U32(const std::string& b, std::size_t at) {
  return static_cast<std::uint8_t>(b[at]) | static_cast<std::uint8_t>(b[at + 1]) << 8 |
         static_cast<std::uint8_t>(b[at + 2]) << 16 |
         static_cast<std::uint32_t>(static_cast<std::uint8_t>(b[at + 3])) << 24;
}
std::uint16_t U16(const std::string& b, std::size_t at) {
  return static_cast<std::uint16_t>(static_cast<std::uint8_t>(b[at]) |
                                    static_cast<std::uint8_t>(b[at + 1]) << 8);
}

TEST_F(DemoHelpFiles, CoverTheGrainOverheatTheDoorAndEveryNodeFamily) {
  for (const WarningCode code : {0x0205, 0x0E05, 0x0101, 0x0E01, 0x0F02, 0x0209}) {
    const auto lines = ReadHelpText(HelpTextPath(data_, code));
    ASSERT_TRUE(lines.has_value()) << HelpFileStem(code);
    EXPECT_GE(lines->size(), 8u) << HelpFileStem(code);
    EXPECT_TRUE(std::filesystem::exists(HelpPicturePath(data_, code))) << HelpFileStem(code);
  }
  std::set<std::filesystem::path> frames;
  for (int frame = 0; frame < kDoorAnimationFrames; ++frame)
    frames.insert(DoorAnimationFramePath(data_, frame));
  EXPECT_EQ(frames.size(), 4u);
  for (const auto& frame : frames) EXPECT_TRUE(std::filesystem::exists(frame)) << frame;
}

TEST_F(DemoHelpFiles, TextsAreWithinTheListRulesAndPicturesAre24BitBitmaps) {
  int pictures = 0;
  for (const auto& entry : std::filesystem::directory_iterator(HelpFolder(data_))) {
    const std::string bytes = ReadFile(entry.path());
    const std::string name = entry.path().filename().string();
    if (entry.path().extension() == ".txt") {
      EXPECT_LE(bytes.size(), kHelpTextMaxBytes) << name;
      ASSERT_FALSE(bytes.empty()) << name;
      EXPECT_EQ(bytes.back(), '\n') << name << " would lose its last line";
      for (const auto& line : SplitHelpText(bytes))
        EXPECT_LE(line.size(), 60u) << name << ": " << line;
      continue;
    }
    ASSERT_EQ(entry.path().extension(), ".bmp") << name;
    ++pictures;
    ASSERT_GE(bytes.size(), 54u) << name;
    EXPECT_EQ(bytes.substr(0, 2), "BM") << name;
    EXPECT_EQ(U32(bytes, 2), bytes.size()) << name;
    EXPECT_EQ(U32(bytes, 14), 40u) << name;  // BITMAPINFOHEADER
    const std::uint32_t width = U32(bytes, 18);
    const std::uint32_t height = U32(bytes, 22);
    EXPECT_EQ(U16(bytes, 28), 24) << name;
    EXPECT_EQ(U32(bytes, 30), 0u) << name;  // uncompressed
    EXPECT_LE(width, 500u) << name;
    EXPECT_LE(height, 400u) << name;
    const std::uint32_t stride = (width * 3 + 3) / 4 * 4;
    EXPECT_EQ(bytes.size(), U32(bytes, 10) + stride * height) << name;
  }
  EXPECT_GE(pictures, 8);
}

}  // namespace
}  // namespace orvandry::warnings
