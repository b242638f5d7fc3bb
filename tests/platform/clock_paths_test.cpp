#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "platform/clock.h"
#include "platform/paths.h"
#include "platform/system_memory.h"

namespace orvandry::platform {
namespace {

TEST(FakeClock, AdvancesAcrossLeapDaysAndYearsAndSetsOnlyValidTimes) {
  FakeClock clock(LocalDateTime{2024, 2, 28, 23, 59, 30, 0});
  EXPECT_EQ(clock.Now().weekday, 3) << "28 Feb 2024 was a Wednesday; the given weekday is ignored";
  clock.Advance(30);
  EXPECT_EQ(clock.Now(), (LocalDateTime{2024, 2, 29, 0, 0, 0, 4}));
  clock.Advance(86400);
  EXPECT_EQ(clock.Now(), (LocalDateTime{2024, 3, 1, 0, 0, 0, 5}));
  clock.Set(LocalDateTime{2023, 12, 31, 23, 59, 59, 0});
  clock.Advance(1);
  EXPECT_EQ(clock.Now(), (LocalDateTime{2024, 1, 1, 0, 0, 0, 1}));
  clock.Advance(-2);
  EXPECT_EQ(clock.Now(), (LocalDateTime{2023, 12, 31, 23, 59, 58, 0}));

  EXPECT_EQ(clock.SetLocalTime(LocalDateTime{2025, 6, 15, 8, 30, 0, 0}), SetTimeResult::kSet);
  EXPECT_EQ(clock.SetLocalTime(LocalDateTime{2025, 2, 30, 8, 30, 0, 0}), SetTimeResult::kInvalid);
  clock.SetFailSetLocalTime(true);
  EXPECT_EQ(clock.SetLocalTime(LocalDateTime{2026, 1, 1, 0, 0, 0, 0}),
            SetTimeResult::kNotPermitted);
  EXPECT_EQ(clock.Now(), (LocalDateTime{2025, 6, 15, 8, 30, 0, 0})) << "failed sets change nothing";
  EXPECT_EQ(clock.SetLocalTimeCalls(), 3);
}

TEST(SystemClock, ReadsAPlausibleTimeAndRefusesImpossibleOnes) {
  SystemClock clock;
  const LocalDateTime now = clock.Now();
  EXPECT_TRUE(IsValid(now));
  EXPECT_EQ(now.weekday, WeekdayOf(now.year, now.month, now.day));
  // Only impossible times here: a valid one would really change the machine's clock when root.
  EXPECT_EQ(clock.SetLocalTime(LocalDateTime{2025, 4, 31, 0, 0, 0, 0}), SetTimeResult::kInvalid);
}

TEST(SystemMemory, ReadsBothFiguresInBytesBeyondFourGibibytes) {
  EXPECT_EQ(ParseMemInfo("MemTotal:       32594040 kB\nMemFree:  100 kB\nMemAvailable:   "
                         "20117356 kB\n"),
            (MemoryFigures{32594040ULL * 1024, 20117356ULL * 1024}));
  EXPECT_EQ(ParseMemInfo("MemTotal: 1024 kB\n"), std::nullopt) << "no MemAvailable";
  EXPECT_EQ(ParseMemInfo("MemTotal: x kB\nMemAvailable: 5 kB\n"), std::nullopt);
  const auto now = ReadSystemMemory();
  ASSERT_TRUE(now.has_value());
  EXPECT_GT(now->total, 0U);
  EXPECT_LE(now->available, now->total);
}

TEST(Paths, UsbIsPresentExactlyWhenItsFolderExists) {
  const auto root =
      std::filesystem::temp_directory_path() /
      ("orvandry-paths-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()));
  std::filesystem::remove_all(root);
  const Paths paths(root / "disk", root / "usb");
  EXPECT_FALSE(paths.UsbPresent());
  std::filesystem::create_directories(root / "usb");
  EXPECT_TRUE(paths.UsbPresent());
  std::filesystem::remove_all(root / "usb");
  std::ofstream(root / "usb") << "a file, not a card";
  EXPECT_FALSE(paths.UsbPresent());
  std::filesystem::remove_all(root);
}

}  // namespace
}  // namespace orvandry::platform
