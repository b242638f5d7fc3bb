// Dates and times as the history keeps and shows them.
#include "warnings/history_rows.h"

#include <gtest/gtest.h>

#include <clocale>
#include <vector>

#include "warnings/shutdown_time.h"

namespace orvandry::warnings {
namespace {

TEST(ShutdownTime, CountsHundredNanosecondsFrom1601AndRoundTripsEveryDate) {
  EXPECT_EQ(ToShutdownTime({1601, 1, 1, 0, 0, 0, 0}), 0u);
  // The well-known distance between 1601 and 1970.
  EXPECT_EQ(ToShutdownTime({1970, 1, 2, 0, 0, 1, 500}),
            116'444'736'000'000'000u + (86'400u + 1u) * kTicksPerSecond + 5'000'000u);
  const LocalDateTime samples[] = {
      {2026, 12, 6, 1, 5, 40, 0}, {2024, 2, 29, 23, 59, 59, 999}, {2000, 2, 29, 12, 0, 0, 0},
      {1900, 3, 1, 0, 0, 0, 0},   {2100, 2, 28, 6, 30, 0, 0},     {9999, 12, 31, 23, 59, 59, 0},
  };
  for (const LocalDateTime& local : samples)
    EXPECT_EQ(FromShutdownTime(ToShutdownTime(local)), local) << local.year << "-" << local.month;
  EXPECT_EQ(ToShutdownTime({2024, 3, 1, 0, 0, 0, 0}) - ToShutdownTime({2024, 2, 28, 0, 0, 0, 0}),
            2u * 86'400u * kTicksPerSecond);
  // Any stored count decodes to a valid date.
  const LocalDateTime far = FromShutdownTime(~ShutdownTime{0});
  EXPECT_TRUE(far.month >= 1 && far.month <= 12 && far.day >= 1 && far.day <= 31) << far.month;
  EXPECT_GT(far.year, 9999);
}

TEST(HistoryDateTime, UsesEnglishMonthsTwoDigitDaysAndATwelveHourClock) {
  // Whatever locale the panel runs in, the texts stay the same.
  std::setlocale(LC_ALL, "");
  const char* months[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                          "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
  for (int m = 1; m <= 12; ++m)
    EXPECT_EQ(FormatHistoryDate({2026, m, 6, 0, 0, 0, 0}),
              std::string(months[m - 1]) + " 06, 2026");
  const struct {
    int hour, minute;
    const char* text;
  } times[] = {{1, 5, "1:05 AM"},
               {0, 0, "12:00 AM"},
               {11, 59, "11:59 AM"},
               {12, 30, "12:30 PM"},
               {23, 9, "11:09 PM"}};
  for (const auto& t : times)
    EXPECT_EQ(FormatHistoryTime({2026, 12, 6, t.hour, t.minute, 59, 0}), t.text);
}

TEST(HistoryRows, TheLastRecordReadIsTheFirstRow) {
  const std::vector<ShutdownRecord> by_time = {
      {"0205 - BURNER #1", "FAN/HEATER #1", ToShutdownTime({2026, 12, 6, 1, 5, 0, 0})},
      {"", "", ToShutdownTime({2026, 12, 7, 13, 45, 0, 0})}};
  EXPECT_EQ(
      BuildHistoryRows(by_time),
      (std::vector<HistoryRow>{{"", "", "Dec 07, 2026", "1:45 PM"},
                               {"0205 - BURNER #1", "FAN/HEATER #1", "Dec 06, 2026", "1:05 AM"}}));
}

}  // namespace
}  // namespace orvandry::warnings
