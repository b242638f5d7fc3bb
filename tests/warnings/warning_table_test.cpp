#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <string>

#include "warnings/warning_code.h"
#include "warnings/warning_text_table.h"
#include "warnings_test_support.h"

namespace orvandry::warnings {
namespace {

// Every entry of the table against the texts kept in data/warning_texts.tsv, written out by hand:
// a text that is wrong, missing, cut short or in the wrong place shows here.
TEST(WarningTextTable, EveryEntryHoldsItsKnownTextAndTheOthersAreEmpty) {
  std::ifstream in(testing::SourceDir() / "tests/warnings/data/warning_texts.tsv");
  ASSERT_TRUE(in.is_open());
  std::map<WarningCode, std::string> known;
  for (std::string line; std::getline(in, line);) {
    if (line.empty() || line.front() == '#') continue;
    ASSERT_EQ(line.find('\t'), 4u) << line;
    const auto code = static_cast<WarningCode>(std::stoul(line.substr(0, 4), nullptr, 16));
    ASSERT_TRUE(known.emplace(code, line.substr(5)).second) << "listed twice: " << line;
  }
  ASSERT_EQ(known.size(), 169u) << "the data file is incomplete";

  std::size_t compared = 0;
  for (unsigned node = 0; node < WarningTextTable::kNodeCount; ++node) {
    for (unsigned id = 0; id < WarningTextTable::kWarningsPerNode; ++id) {
      const auto code =
          MakeWarningCode(static_cast<std::uint8_t>(node), static_cast<std::uint8_t>(id));
      const auto it = known.find(code);
      compared += it != known.end();
      EXPECT_EQ(WarningText(code), it != known.end() ? it->second : "") << FormatWarningCode(code);
    }
  }
  EXPECT_EQ(compared, known.size()) << "the data file lists codes outside the table";
}

TEST(WarningTextTable, CodesOutsideTheTableAreEmpty) {
  // Node 16 and warning 30 lie just past the table.
  for (WarningCode code : {0x1000, 0x021E, 0x0EFF, 0xFFFF})
    EXPECT_TRUE(WarningText(code).empty()) << std::hex << code;
  EXPECT_TRUE(WarningTextTable::Text(15, 30).empty());
  EXPECT_TRUE(WarningTextTable::Text(16, 0).empty());
}

TEST(NodeName, NamesTheBoardsAndNothingElse) {
  EXPECT_EQ(NodeName(1), "DISPLAY I/O");
  EXPECT_EQ(NodeName(7), "FAN/HEATER #6");
  EXPECT_EQ(NodeName(8), "FAN/HEATER INT #1");
  EXPECT_EQ(NodeName(15), "MOISTURE CONT");
  for (int node : {0, 16, 255}) EXPECT_TRUE(NodeName(static_cast<std::uint8_t>(node)).empty());
}

TEST(WarningCodeParse, ParsesUpperCaseHexOnlyAndFormatsFourDigitsNodeFirst) {
  const struct {
    const char* text;
    WarningCode code;
  } cases[] = {
      {"0E05 - MAIN I/O - REAR DISCHARGE DOOR OPENED", 0x0E05},
      {"ABCD", 0xABCD},
      // Lower-case and other characters count as zero.
      {"0e05", 0x0005},
      {"0a0b - lower case", 0x0000},
      {"0G1Z", 0x0010},
      {"PLACE HOLDER MESSAGE", 0x00AC},
      // Shorter texts never read past their end.
      {"0E", 0x0E00},
      {"", 0x0000},
  };
  for (const auto& c : cases) EXPECT_EQ(ParseWarningCode(c.text), c.code) << c.text;
  EXPECT_EQ(FormatWarningCode(0x0E05), "0E05");
  EXPECT_EQ(FormatWarningCode(0x0000), "0000");
  EXPECT_EQ(NodeIdOf(0x0E05), 14);
  EXPECT_EQ(WarningIdOf(0x0E05), 5);
}

}  // namespace
}  // namespace orvandry::warnings
