#include <gtest/gtest.h>

#include <string>

#include "warnings/warning_code.h"
#include "warnings/warning_text_table.h"

namespace orvandry::warnings {
namespace {

using Table = WarningTextTable;

TEST(WarningTextTable, HoldsExactlyTheKnownTextsEachHeadedByItsOwnCode) {
  int non_empty = 0;
  std::size_t longest = 0;
  for (unsigned node = 0; node < Table::kNodeCount; ++node) {
    for (unsigned id = 0; id < Table::kWarningsPerNode; ++id) {
      const auto code =
          MakeWarningCode(static_cast<std::uint8_t>(node), static_cast<std::uint8_t>(id));
      const std::string_view text = WarningText(code);
      if (text.empty()) continue;
      ++non_empty;
      longest = std::max(longest, text.size());
      if (code == kNoWarning) continue;
      EXPECT_EQ(text.substr(0, 7), FormatWarningCode(code) + " - ") << text;
      // Reading the code back from the stored text is how the history finds the help files.
      EXPECT_EQ(ParseWarningCode(text), code) << text;
      if (id == 0) {
        EXPECT_NE(text.find("BEGIN"), std::string_view::npos) << text;
      }
    }
  }
  EXPECT_EQ(non_empty, 169);
  EXPECT_EQ(longest, 56u);
}

TEST(WarningTextTable, FanHeaterBlocksAreBuiltFromTheFirstWithTheirOwnNumbers) {
  EXPECT_EQ(WarningText(0x0205), "0205 - BURNER #1 GRAIN OVERHEAT");
  EXPECT_EQ(WarningText(0x0705), "0705 - BURNER #6 GRAIN OVERHEAT");
  EXPECT_EQ(WarningText(0x0300), "0300 - BEGIN FAN/HEATER #2 WARNINGS");
  EXPECT_EQ(WarningText(0x040D), "040D - PLENUM #3 TEMPERATURE SENSOR SHORTED");
  EXPECT_EQ(WarningText(0x0613), "0613 - FAN #5 NETWORK CONNECTION FAILED");
  for (std::uint8_t node = 2; node <= 7; ++node) {
    const std::string expected = FormatWarningCode(MakeWarningCode(node, 0x12)) + " - FAN #" +
                                 std::to_string(node - 1) + " HAD AIRLFOW BEFORE FAN POWER";
    EXPECT_EQ(WarningText(MakeWarningCode(node, 0x12)), expected);
  }
  // The gas pressure low limit input exists on the first fan/heater only.
  EXPECT_EQ(WarningText(0x0214), "0214 - J4-02 GAS PRESSURE LOW LIMIT");
  for (std::uint8_t node = 3; node <= 7; ++node)
    EXPECT_TRUE(WarningText(MakeWarningCode(node, 0x14)).empty()) << int{node};
}

TEST(WarningTextTable, OtherBlocksKeepTheirTextsAsWritten) {
  EXPECT_EQ(WarningText(0x0000), "PLACE HOLDER MESSAGE");
  EXPECT_EQ(WarningText(0x010A), "010A - STAGED BATCH DRY AND COOL SHUTDOWN");
  EXPECT_EQ(WarningText(0x0A00), "0A00 - BEGIN FH #3 INTERFACE WARNINGS");
  EXPECT_EQ(WarningText(0x0E05), "0E05 - MAIN I/O - REAR DISCHARGE DOOR OPENED");
  EXPECT_EQ(WarningText(0x0E18), "0E18 - MAIN I/O J2-02 - METERING MOTOR OVERLOAD)");
  EXPECT_EQ(WarningText(0x0E19), "0E19 - MAIN I/O J2-06 - USER SAFETY 4 OPEN");
  EXPECT_EQ(WarningText(0x0F03), "0F03 - MAX GRAIN TEMPERATURE EXCEEDED");
}

TEST(WarningTextTable, CodesWithoutATextOrOutsideTheTableAreEmpty) {
  EXPECT_TRUE(WarningText(0x0801).empty());  // interface boards hold only their marker
  EXPECT_TRUE(WarningText(0x0D05).empty());
  EXPECT_TRUE(WarningText(0x0314).empty());
  EXPECT_TRUE(WarningText(0x0E1A).empty());
  EXPECT_TRUE(WarningText(0x0F04).empty());
  EXPECT_TRUE(WarningText(0x0001).empty());
  // Past the table: node 16 and warning 30 and beyond.
  EXPECT_TRUE(WarningText(0x1000).empty());
  EXPECT_TRUE(WarningText(0x1001).empty());
  EXPECT_TRUE(WarningText(0x021E).empty());
  EXPECT_TRUE(WarningText(0x0EFF).empty());
  EXPECT_TRUE(WarningText(0xFFFF).empty());
  EXPECT_TRUE(Table::Text(15, 30).empty());
  EXPECT_TRUE(Table::Text(16, 0).empty());
  EXPECT_FALSE(Table::Text(15, 3).empty());
}

TEST(NodeName, NamesTheBoardsAndNothingElse) {
  EXPECT_EQ(NodeName(1), "DISPLAY I/O");
  EXPECT_EQ(NodeName(2), "FAN/HEATER #1");
  EXPECT_EQ(NodeName(7), "FAN/HEATER #6");
  EXPECT_EQ(NodeName(8), "FAN/HEATER INT #1");
  EXPECT_EQ(NodeName(13), "FAN/HEATER INT #6");
  EXPECT_EQ(NodeName(14), "MAIN I/O");
  EXPECT_EQ(NodeName(15), "MOISTURE CONT");
  EXPECT_TRUE(NodeName(0).empty());
  EXPECT_TRUE(NodeName(16).empty());
  EXPECT_TRUE(NodeName(255).empty());
}

TEST(WarningCodeParse, ReadsUpperCaseHexAndCountsAnythingElseAsZero) {
  EXPECT_EQ(ParseWarningCode("0E05 - MAIN I/O - REAR DISCHARGE DOOR OPENED"), 0x0E05);
  EXPECT_EQ(ParseWarningCode("0F03"), 0x0F03);
  EXPECT_EQ(ParseWarningCode("ABCD"), 0xABCD);
  EXPECT_EQ(ParseWarningCode("0e05"), 0x0005);
  EXPECT_EQ(ParseWarningCode("0a0b - lower case"), 0x0000);
  EXPECT_EQ(ParseWarningCode("0G1Z"), 0x0010);
  EXPECT_EQ(ParseWarningCode("PLACE HOLDER MESSAGE"), 0x00AC);  // "PLAC": 0, 0, A, C
  // Shorter texts never read past their end.
  EXPECT_EQ(ParseWarningCode("0E"), 0x0E00);
  EXPECT_EQ(ParseWarningCode(""), 0x0000);
}

TEST(WarningCodeFormat, IsFourUpperCaseDigitsNodeFirst) {
  EXPECT_EQ(FormatWarningCode(0x0E05), "0E05");
  EXPECT_EQ(FormatWarningCode(0x0000), "0000");
  EXPECT_EQ(FormatWarningCode(0xABCD), "ABCD");
  EXPECT_EQ(NodeIdOf(0x0E05), 14);
  EXPECT_EQ(WarningIdOf(0x0E05), 5);
}

}  // namespace
}  // namespace orvandry::warnings
