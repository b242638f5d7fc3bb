#include <gtest/gtest.h>

#include <string>

#include "warnings/warning_code.h"
#include "warnings/warning_text_table.h"

namespace orvandry::warnings {
namespace {

TEST(WarningTextTable, HoldsExactlyTheKnownTextsEachHeadedByItsOwnCode) {
  int non_empty = 0;
  for (unsigned node = 0; node < WarningTextTable::kNodeCount; ++node) {
    for (unsigned id = 0; id < WarningTextTable::kWarningsPerNode; ++id) {
      const auto code =
          MakeWarningCode(static_cast<std::uint8_t>(node), static_cast<std::uint8_t>(id));
      const std::string_view text = WarningText(code);
      if (text.empty()) continue;
      ++non_empty;
      if (code == kNoWarning) continue;
      EXPECT_EQ(text.substr(0, 7), FormatWarningCode(code) + " - ") << text;
      // Reading the code back from the stored text is how the history finds the help files.
      EXPECT_EQ(ParseWarningCode(text), code) << text;
    }
  }
  EXPECT_EQ(non_empty, 169);
}

TEST(WarningTextTable, FanHeaterBlocksAreBuiltFromTheFirstWithTheirOwnNumbers) {
  EXPECT_EQ(WarningText(0x0705), "0705 - BURNER #6 GRAIN OVERHEAT");
  EXPECT_EQ(WarningText(0x040D), "040D - PLENUM #3 TEMPERATURE SENSOR SHORTED");
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

TEST(WarningTextTable, CodesWithoutATextOrOutsideTheTableAreEmpty) {
  // Interface boards hold only their marker; node 16 and warning 30 lie past the table.
  for (WarningCode code : {0x0801, 0x0D05, 0x0314, 0x0E1A, 0x0F04, 0x1000, 0x021E, 0x0EFF, 0xFFFF})
    EXPECT_TRUE(WarningText(code).empty()) << std::hex << code;
  EXPECT_TRUE(WarningTextTable::Text(15, 30).empty());
  EXPECT_TRUE(WarningTextTable::Text(16, 0).empty());
  EXPECT_FALSE(WarningTextTable::Text(15, 3).empty());
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
