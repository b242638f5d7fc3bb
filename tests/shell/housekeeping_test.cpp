#include "shell/housekeeping.h"

#include <gtest/gtest.h>

#include "link/poll_tick.h"
#include "link/status_map.h"
#include "platform/clock.h"
#include "platform/scripted_prompter.h"
#include "shell_fakes.h"

namespace orvandry::shell {
namespace {

namespace sm = link::status_map;
using platform::Answer;

class HousekeepingTest : public ::testing::Test {
 protected:
  HousekeepingTest() {
    ticks.SetDataLogs(&logs);
    clock.Set({2026, 12, 6, 1, 5, 30, 0});
  }
  void Seconds(int n) {
    for (int i = 0; i < n; ++i) {
      ticks.OneSecondTick();
      clock.Advance(1);
    }
  }
  void Tenths(int n) {
    for (int i = 0; i < n; ++i) ticks.HundredMsTick();
  }

  link::LinkShared shared;
  platform::FakeClock clock;
  Settings settings;
  testing::FakeTickHost host;
  testing::FakeLogs logs;
  platform::ScriptedPrompter prompter;
  std::uint32_t blink_word = 0;
  Housekeeping ticks{shared, clock, settings, host, prompter, blink_word};
};

TEST_F(HousekeepingTest, EverySecondSendsTheClockRecord) {
  Seconds(1);
  EXPECT_TRUE(shared.pending.IsRaised(link::Rec::kClock));
  EXPECT_EQ(shared.request.Get(53), 5);   // minute
  EXPECT_EQ(shared.request.Get(54), 1);   // hour
  EXPECT_EQ(shared.request.Get(55), 6);   // day
  EXPECT_EQ(shared.request.Get(56), 12);  // month
  EXPECT_EQ(shared.request.Get(57), 26);  // year mod 100
  shared.pending.Lower(link::Rec::kClock);
  clock.Set({2027, 1, 1, 0, 0, 0, 0});
  Seconds(1);
  EXPECT_TRUE(shared.pending.IsRaised(link::Rec::kClock));
  EXPECT_EQ(shared.request.Get(57), 27);
}

TEST_F(HousekeepingTest, TenSilentSecondsLoseTheLinkAndShowTheWarningWindow) {
  Seconds(9);
  Tenths(1);
  EXPECT_FALSE(host.warning_visible);
  Seconds(1);
  Tenths(1);
  EXPECT_TRUE(host.warning_visible) << "lost link with no warning code";
  // The next good frame reloads the countdown; the window goes within one 100 ms tick.
  shared.link_alive = 10;
  Tenths(1);
  EXPECT_FALSE(host.warning_visible);
}

TEST_F(HousekeepingTest, LongTermRecordOnTheFirstSecondThenEveryTwelve) {
  shared.dryer_state.Set(sm::kDataLoggerSetting, 0x01);
  Seconds(25);
  ASSERT_EQ(logs.long_term.size(), 3U);
  EXPECT_EQ(logs.long_term[0].second, 30);
  EXPECT_EQ(logs.long_term[1].second, 42);
  EXPECT_EQ(logs.long_term[2].second, 54);

  // Logging off: only the file is opened on the same schedule.
  shared.dryer_state.Set(sm::kDataLoggerSetting, 0x00);
  Seconds(12);
  EXPECT_EQ(logs.long_term.size(), 3U);
  EXPECT_EQ(logs.opens, 1U);
}

TEST_F(HousekeepingTest, DataLoggerFullWarningIsGivenOncePerRun) {
  shared.dryer_state.Set(sm::kDataLoggerSetting, 0x01);
  logs.long_term_used = 70;  // not yet: the question is for more than 70 percent
  Seconds(30);
  EXPECT_TRUE(prompter.Questions().empty());
  logs.long_term_used = 71;
  host.modal_open = true;  // another dialog is up: the warning waits for it
  Seconds(30);
  EXPECT_TRUE(prompter.Questions().empty());
  host.modal_open = false;
  prompter.Script(Answer::kYes);
  Seconds(30);
  EXPECT_EQ(prompter.CountAsked(
                "Data Logger close to full.  Do you wish to open Data Logger \n Setup Window?"),
            1U);
  EXPECT_EQ(prompter.Last()->caption, "DATA LOG FILE SIZE WARNING");
  EXPECT_EQ(host.dialogs,
            (std::vector<std::pair<int, Win>>{{dialog::kDayDataLogger, Win::kSetupSelect}}));
  EXPECT_TRUE(prompter.Clean()) << prompter.Problems();
}

TEST_F(HousekeepingTest, SamplesOnlyWhileUnloading) {
  settings.sample_minutes = 1;
  Seconds(30);
  EXPECT_TRUE(logs.short_term.empty());
  EXPECT_TRUE(logs.graph.empty());
  EXPECT_FALSE(logs.active);
  EXPECT_EQ(ticks.short_term_countdown, 0U) << "the countdown keeps its value while idle";

  shared.dryer_state.Set(sm::kUnloadBits, 0x01);
  Seconds(1);
  EXPECT_TRUE(logs.active);
  ASSERT_EQ(logs.short_term.size(), 1U) << "first sample on the first second of unloading";
  Seconds(59);
  EXPECT_EQ(logs.short_term.size(), 1U);
  Seconds(1);
  EXPECT_EQ(logs.short_term.size(), 2U) << "then every period x 60 seconds";

  // Graph: the first after ten seconds of unloading, then one every ten seconds (11, 21, ... 61).
  EXPECT_EQ(logs.graph.size(), 6U);
}

TEST_F(HousekeepingTest, AnimationPhasesFollowTheDryer) {
  shared.dryer_state.Set(sm::FanHeaterStatus(2), 0x01);
  shared.dryer_state.Set(sm::kDryerActivity, 0x20);  // bit 7 clear: loading
  Tenths(4);
  EXPECT_EQ(ticks.phases.fan[1], 1);  // 0 -> 1 -> 2 -> 0 -> 1
  EXPECT_EQ(ticks.phases.fan[0], 0);
  EXPECT_EQ(ticks.phases.loading, 2);  // backwards: 0 -> 2 -> 1 -> 0 -> 2
  EXPECT_EQ(ticks.phases.unloading_fast, 0);

  shared.dryer_state.Set(sm::kDryerActivity, 0xC0);  // unloading, not loading
  Tenths(5);
  EXPECT_EQ(ticks.phases.unloading_fast, 2);
  EXPECT_EQ(ticks.phases.unloading_slow, 1);
  EXPECT_EQ(ticks.phases.loading, 2);

  shared.dryer_state.Set(sm::kLoadDirectionBits, 0x0C);
  Tenths(3);  // the direction moves on every third tick
  EXPECT_EQ(ticks.phases.direction_a, 1);
  EXPECT_EQ(ticks.phases.direction_b, 2);
  EXPECT_EQ(host.repaints[Win::kDryerPic], 12);
}

TEST_F(HousekeepingTest, FastBlinkBitEveryThirdTick) {
  EXPECT_FALSE(ticks.HundredMsTick().blink_step);
  EXPECT_FALSE(ticks.HundredMsTick().blink_step);
  EXPECT_EQ(blink_word & link::PollTicker::kFastBlinkBit, 0U);
  EXPECT_TRUE(ticks.HundredMsTick().blink_step);
  EXPECT_NE(blink_word & link::PollTicker::kFastBlinkBit, 0U);
  EXPECT_EQ(host.repaints[Win::kWarning], 1);
}

class FakeRepeat : public RepeatSource {
 public:
  bool IsOpen() const override { return open; }
  int HeldButton() const override { return held; }
  void SendRepeat(int command) override { sent.push_back(command); }
  bool open = true;
  int held = 0;
  std::vector<int> sent;
};

TEST_F(HousekeepingTest, HeldButtonRepeatsEvery100MsAfter500Ms) {
  FakeRepeat dialog;
  ticks.AddRepeatSource(&dialog);
  Tenths(1);  // not held: the delay is armed
  dialog.held = 1047;
  Tenths(10);  // held for one second
  EXPECT_EQ(dialog.sent.size(), 5U);
  dialog.held = 0;
  Tenths(1);
  dialog.held = 1046;
  Tenths(5);
  EXPECT_EQ(dialog.sent.size(), 5U) << "the delay starts again";
  Tenths(1);
  EXPECT_EQ(dialog.sent.back(), 1046);
  dialog.open = false;
  Tenths(3);
  EXPECT_EQ(dialog.sent.size(), 6U);
}

}  // namespace
}  // namespace orvandry::shell
