#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <set>

#include "link/status_map.h"
#include "logging/logging_test_support.h"
#include "logging/ui/logging_subsystem.h"
#include "platform/clock.h"
#include "platform/scripted_prompter.h"
#include "shell/housekeeping.h"
#include "shell/settings.h"
#include "shell/shell_fakes.h"

namespace orvandry::logging::ui {
namespace {

namespace fs = std::filesystem;
namespace sm = link::status_map;

// Thirty days of a dryer that unloads 23 hours a day, driven second by second through the shell's
// 1 s tick on a fake clock. The long-term log starts 40 % full so it fills within the month.
TEST(SoakTest, ThirtyDaysOfUnloading) {
  testing::TempDir data;
  const platform::Paths paths(data.path(), data.path() / "no-card");
  link::LinkShared shared;
  shell::Settings settings;  // the default 10-minute interval
  shell::testing::FakeTickHost host;
  platform::ScriptedPrompter prompter{platform::Answer::kNo};
  platform::FakeClock clock({2026, 12, 1, 0, 0, 0, 0});
  std::uint32_t blink = 0;
  shell::Housekeeping ticks(shared, clock, settings, host, prompter, blink);
  LoggingSubsystem logging(paths, shared, prompter);
  logging.store().SetSync(false);
  ticks.SetDataLogs(&logging);

  const fs::path long_term = logging.store().LongTerm().Path();
  fs::create_directories(long_term.parent_path());
  std::ofstream(long_term, std::ios::binary).close();
  fs::resize_file(long_term, 2097152);

  shared.dryer_state.Set(sm::kDataLoggerSetting, 0x01);
  shared.dryer_state.Set(sm::kGrainTempSelector, 0);
  const auto started = std::chrono::steady_clock::now();
  constexpr int kDays = 30;
  for (int second = 0; second < kDays * 86400; ++second) {
    const int hour = second / 3600 % 24;
    shared.dryer_state.Set(sm::kUnloadBits, hour == 5 ? 0x00 : 0x01);
    shared.dryer_state.Set(sm::kGrainTempSelector0, static_cast<std::uint8_t>(second / 60));
    ticks.OneSecondTick();
    clock.Advance(1);
  }
  const auto took = std::chrono::steady_clock::now() - started;
  EXPECT_LT(took, std::chrono::seconds(60));

  // Exactly two files in each rotating log, the long-term log stopped at 5 MiB, nothing else.
  std::set<fs::path> folders, files;
  for (const auto& entry : fs::recursive_directory_iterator(data.path()))
    (entry.is_directory() ? folders : files).insert(entry.path().lexically_relative(data.path()));
  EXPECT_EQ(folders, (std::set<fs::path>{"ShortTermDataLog", "GraphDataLog", "DataLog"}));
  EXPECT_EQ(logging.store().ShortTerm().Scan().size(), 2u);
  EXPECT_EQ(logging.store().Graph().Scan().size(), 2u);
  EXPECT_EQ(files.size(), 5u);
  EXPECT_EQ(fs::file_size(long_term), LongTermLog::kCapacityBytes);
  EXPECT_EQ(logging.Reader().LongTermUsedPercent(), 100);
  EXPECT_EQ(prompter.CountAsked(
                "Data Logger close to full.  Do you wish to open Data Logger \n Setup Window?"),
            1u);
  EXPECT_TRUE(prompter.Clean()) << prompter.Problems();

  // The newest graph hour ends with the last unloading second's sample, in order.
  const std::vector<LogSample> hour = logging.Reader().ReadGraphWindow(1, 0);
  for (std::size_t i = 1; i < hour.size(); ++i)
    ASSERT_EQ((hour[i].hour * 3600 + hour[i].minute * 60 + hour[i].second + 86400 -
               (hour[i - 1].hour * 3600 + hour[i - 1].minute * 60 + hour[i - 1].second)) %
                  86400,
              10)
        << i;
  EXPECT_EQ(logging.Reader().CountShortTermSamples(), 144u);
  std::cout << "30 simulated days took "
            << std::chrono::duration_cast<std::chrono::milliseconds>(took).count() << " ms\n";
}

}  // namespace
}  // namespace orvandry::logging::ui
