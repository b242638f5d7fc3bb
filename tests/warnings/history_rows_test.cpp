#include "warnings/history_rows.h"

#include <gtest/gtest.h>

#include <clocale>
#include <vector>

#include "warnings_test_support.h"

namespace orvandry::warnings {
namespace {

TEST(HistoryDateTime, UsesEnglishMonthsTwoDigitDaysAndATwelveHourClock) {
  // Whatever locale the panel runs in, the texts stay the same.
  std::setlocale(LC_ALL, "");
  EXPECT_EQ(FormatHistoryDate({2026, 12, 6, 1, 5, 0, 0}), "Dec 06, 2026");
  EXPECT_EQ(FormatHistoryDate({2027, 1, 31, 0, 0, 0, 0}), "Jan 31, 2027");
  const char* months[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                          "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
  for (int m = 1; m <= 12; ++m)
    EXPECT_EQ(FormatHistoryDate({2026, m, 10, 0, 0, 0, 0}),
              std::string(months[m - 1]) + " 10, 2026");

  EXPECT_EQ(FormatHistoryTime({2026, 12, 6, 1, 5, 0, 0}), "1:05 AM");
  EXPECT_EQ(FormatHistoryTime({2026, 12, 6, 0, 0, 59, 0}), "12:00 AM");
  EXPECT_EQ(FormatHistoryTime({2026, 12, 6, 11, 59, 0, 0}), "11:59 AM");
  EXPECT_EQ(FormatHistoryTime({2026, 12, 6, 12, 30, 0, 0}), "12:30 PM");
  EXPECT_EQ(FormatHistoryTime({2026, 12, 6, 23, 9, 0, 0}), "11:09 PM");
}

TEST(HistoryRows, TheLastRecordReadIsTheFirstRow) {
  const std::vector<ShutdownRecord> by_time = {
      {"0205 - BURNER #1 GRAIN OVERHEAT", "FAN/HEATER #1",
       ToShutdownTime({2026, 12, 6, 1, 5, 0, 0})},
      {"0E05 - MAIN I/O - REAR DISCHARGE DOOR OPENED", "MAIN I/O",
       ToShutdownTime({2026, 12, 7, 13, 45, 0, 0})},
  };
  const std::vector<HistoryRow> rows = BuildHistoryRows(by_time);
  ASSERT_EQ(rows.size(), 2u);
  EXPECT_EQ(rows[0], (HistoryRow{"0E05 - MAIN I/O - REAR DISCHARGE DOOR OPENED", "MAIN I/O",
                                 "Dec 07, 2026", "1:45 PM"}));
  EXPECT_EQ(rows[1], (HistoryRow{"0205 - BURNER #1 GRAIN OVERHEAT", "FAN/HEATER #1", "Dec 06, 2026",
                                 "1:05 AM"}));
  EXPECT_TRUE(BuildHistoryRows({}).empty());
}

TEST(HistoryRows, NewestShutdownIsOnTopWhenFilledFromTheStoreByTime) {
  testing::TempDir dir;
  ShutdownHistoryStore store(dir.path());
  ASSERT_TRUE(store.InitShutdownHistory().ok());
  // Recorded out of time order (the clock was set back in between).
  for (int day : {5, 9, 7})
    ASSERT_TRUE(store
                    .Append({"0F02 - MAX DRYING TIME EXCEEDED", "MOISTURE CONT",
                             ToShutdownTime({2026, 12, day, 8, 0, 0, 0})})
                    .ok());
  const ShutdownReadout readout = store.ReadShutdowns(ShutdownOrder::ByTime);
  const std::vector<HistoryRow> rows = BuildHistoryRows(readout.records);
  ASSERT_EQ(rows.size(), 3u);
  EXPECT_EQ(rows[0].date, "Dec 09, 2026");
  EXPECT_EQ(rows[1].date, "Dec 07, 2026");
  EXPECT_EQ(rows[2].date, "Dec 05, 2026");
}

TEST(HistoryRows, ExportLineEndsInASemicolonAndALineFeed) {
  EXPECT_EQ(FormatExportLine({"0205 - BURNER #1 GRAIN OVERHEAT", "FAN/HEATER #1",
                              ToShutdownTime({2026, 12, 6, 1, 5, 0, 0})}),
            "0205 - BURNER #1 GRAIN OVERHEAT;FAN/HEATER #1;Dec 06, 2026;1:05 AM;\n");
  EXPECT_EQ(FormatExportLine({"", "", ToShutdownTime({2026, 7, 4, 18, 0, 0, 0})}),
            ";;Jul 04, 2026;6:00 PM;\n");
}

}  // namespace
}  // namespace orvandry::warnings
