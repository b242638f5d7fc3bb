#include <gtest/gtest.h>

#include "link/poll_tick.h"
#include "link/status_map.h"

namespace orvandry::link {
namespace {

TEST(PollTick, BlinkIsOnForFiveTicksAndOffForThree) {
  LinkShared shared;
  PollTicker ticker;
  std::string pattern;
  for (int i = 0; i < 16; ++i) {
    ticker.Tick(shared);
    pattern += ticker.blink_on() ? '1' : '0';
  }
  // From phase 0 (off): on after the 3rd tick, off again after the 8th.
  EXPECT_EQ(pattern, "0011111000111110");
}

TEST(PollTick, BlinkEdgesRepaintTheWarningWindowOnlyWhileAWarningIsLive) {
  LinkShared shared;
  PollTicker ticker;
  int repaints = 0;
  for (int i = 0; i < 16; ++i) repaints += ticker.Tick(shared).repaint_warning_window;
  EXPECT_EQ(repaints, 0);
  shared.dryer_state.Set(status_map::kWarningNode, 2);
  for (int i = 0; i < 16; ++i) repaints += ticker.Tick(shared).repaint_warning_window;
  EXPECT_EQ(repaints, 4);
}

TEST(PollTick, EverySecondTickStartsATransactionAndEveryTickRepaintsTheBar) {
  LinkShared shared;
  PollTicker ticker;
  std::string polls;
  for (int i = 0; i < 6; ++i) {
    const PollTickActions a = ticker.Tick(shared);
    EXPECT_TRUE(a.repaint_right_status_bar);
    polls += a.signal_poll ? 'P' : '.';
  }
  EXPECT_EQ(polls, ".P.P.P");
}

TEST(PollTick, SetupRepaintFiresOnThe26thTickAndIsNotRestartedByANewRequest) {
  LinkShared shared;
  PollTicker ticker;
  ticker.RequestSetupRepaint();
  int fired_at = 0;
  for (int i = 1; i <= 60 && fired_at == 0; ++i) {
    if (i == 10) ticker.RequestSetupRepaint();
    if (ticker.Tick(shared).repaint_setup_views) fired_at = i;
  }
  EXPECT_EQ(fired_at, 26);
  for (int i = 0; i < 40; ++i) EXPECT_FALSE(ticker.Tick(shared).repaint_setup_views);
}

}  // namespace
}  // namespace orvandry::link
