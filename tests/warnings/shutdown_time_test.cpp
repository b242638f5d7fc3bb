#include "warnings/shutdown_time.h"

#include <gtest/gtest.h>

namespace orvandry::warnings {
namespace {

TEST(ShutdownTime, CountsHundredNanosecondsFrom1601WithoutZoneShift) {
  EXPECT_EQ(ToShutdownTime({1601, 1, 1, 0, 0, 0, 0}), 0u);
  // The well-known distance between 1601 and 1970.
  EXPECT_EQ(ToShutdownTime({1970, 1, 1, 0, 0, 0, 0}), 116'444'736'000'000'000u);
  EXPECT_EQ(ToShutdownTime({1970, 1, 2, 0, 0, 1, 500}),
            116'444'736'000'000'000u + (86'400u + 1u) * kTicksPerSecond + 5'000'000u);
}

TEST(ShutdownTime, RoundTripsDatesAcrossLeapYearsAndCenturies) {
  const LocalDateTime samples[] = {
      {2026, 12, 6, 1, 5, 40, 0},    {2024, 2, 29, 23, 59, 59, 999}, {2000, 2, 29, 12, 0, 0, 0},
      {1900, 3, 1, 0, 0, 0, 0},      {2100, 2, 28, 6, 30, 0, 0},     {1601, 1, 1, 0, 0, 0, 0},
      {9999, 12, 31, 23, 59, 59, 0},
  };
  for (const LocalDateTime& local : samples) {
    EXPECT_EQ(FromShutdownTime(ToShutdownTime(local)), local) << local.year << "-" << local.month;
  }
  // Consecutive days stay consecutive over a leap day.
  EXPECT_EQ(ToShutdownTime({2024, 3, 1, 0, 0, 0, 0}) - ToShutdownTime({2024, 2, 28, 0, 0, 0, 0}),
            2u * 86'400u * kTicksPerSecond);
}

TEST(ShutdownTime, AnyStoredCountDecodesToAValidDate) {
  const LocalDateTime far = FromShutdownTime(~ShutdownTime{0});
  EXPECT_GE(far.month, 1);
  EXPECT_LE(far.month, 12);
  EXPECT_GE(far.day, 1);
  EXPECT_LE(far.day, 31);
  EXPECT_GT(far.year, 9999);
}

}  // namespace
}  // namespace orvandry::warnings
