#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <sstream>
#include <string>

#include "link/pending_write.h"

namespace orvandry::link {
namespace {

// Every row of the record table (order, wire address, size, where the bytes come from and how the
// flag is lowered) against a reference copied by hand from the protocol, so a wrong row in the
// code shows here.
TEST(PendingWriteTable, EveryRecordMatchesTheReference) {
  const std::map<std::string, Lowering> lowering_by_name = {
      {"equal", Lowering::kEqual},
      {"equal_before_copy", Lowering::kEqualBeforeCopy},
      {"one_shot", Lowering::kOneShot},
      {"running_timer", Lowering::kRunningTimer},
      {"by_metering_dialog", Lowering::kByMeteringDialog},
      {"equal_when_changed", Lowering::kEqualWhenChanged},
      {"metering_display", Lowering::kMeteringDisplay},
      {"frame_byte_161", Lowering::kFrameByte161},
      {"metering_copy", Lowering::kMeteringCopy},
      {"metering_knob", Lowering::kMeteringKnob},
      {"printer_bit", Lowering::kPrinterBit},
      {"auto_start_mode", Lowering::kAutoStartMode},
      {"display_settings", Lowering::kDisplaySettings},
  };
  const std::map<std::string, DataSource> source_by_name = {{"request", DataSource::kRequestImage},
                                                            {"state", DataSource::kDryerState}};

  std::ifstream in(std::string(ORVANDRY_SOURCE_DIR) + "/tests/link/data/pending_write_records.tsv");
  ASSERT_TRUE(in.is_open());
  std::size_t rows = 0;
  for (std::string line; std::getline(in, line);) {
    if (line.empty() || line.front() == '#') continue;
    std::istringstream fields(line);
    std::size_t number = 0, group = 0, id = 0, size = 0, data_offset = 0;
    std::string source, lowered;
    ASSERT_TRUE(fields >> number >> group >> id >> size >> source >> data_offset >> lowered)
        << line;
    ASSERT_EQ(number, ++rows) << "reference rows out of order";
    ASSERT_LE(number, kPendingWriteCount);
    ASSERT_TRUE(lowering_by_name.contains(lowered)) << line;
    ASSERT_TRUE(source_by_name.contains(source)) << line;

    const PendingWriteRecord& r = kPendingWriteRecords[number - 1];
    SCOPED_TRACE("record #" + std::to_string(number));
    EXPECT_EQ(r.number(), number);
    EXPECT_EQ(r.group, group);
    EXPECT_EQ(r.id, id);
    EXPECT_EQ(r.size, size);
    EXPECT_EQ(r.source, source_by_name.at(source));
    EXPECT_EQ(r.data_offset, data_offset);
    EXPECT_EQ(r.lowering, lowering_by_name.at(lowered));
  }
  EXPECT_EQ(rows, kPendingWriteCount);
}

TEST(PendingWriteTable, FanHeaterRecordsAreFoundByFanHeaterNumber) {
  for (int k = 1; k <= 6; ++k) {
    EXPECT_EQ(RecordOf(PlenumSetpointRec(k)).id, 71 - 2 * k) << k;
    EXPECT_EQ(RecordOf(BurnerDifferentialRec(k)).id, 101 - k) << k;
    EXPECT_EQ(RecordOf(BurnerModeRec(k)).id, 107 - k) << k;
  }
}

}  // namespace
}  // namespace orvandry::link
