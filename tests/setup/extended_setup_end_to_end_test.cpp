// The units switch over the display's real link to the simulated controller: the record goes out
// until the controller takes it, and every view shows degrees C for as long as the controller
// reports SI units, and degrees F once a frame answering the switch says otherwise.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "link/status_map.h"
#include "platform/scripted_prompter.h"
#include "pty_dryer.h"
#include "setup/extended_setup.h"
#include "setup/temp_select.h"
#include "views/picture/dryer_picture.h"

namespace orvandry::setup {
namespace {

using link::Rec;
using platform::Answer;
namespace sm = link::status_map;

class UnitsEndToEnd : public ::testing::Test {
 protected:
  void SetUp() override {
    sim::SimOptions options;
    options.scenario.Refuse(sm::kDisplaySettings);
    std::string error;
    ASSERT_TRUE(line_.Start(shared_, std::move(options), &error)) << error;
  }
  template <class Condition>
  static bool Eventually(Condition condition) {
    return testing::PtyDryer::Eventually(condition);
  }
  // Lets `count` more frames in, handing each batch to the board as the main window does.
  void Frames(int count) {
    const int until = line_.frames_taken.load() + count;
    ASSERT_TRUE(Eventually([&] {
      board_.FollowDryerUnits();
      return line_.frames_taken.load() >= until;
    }));
    board_.FollowDryerUnits();
  }
  bool DryerSi() { return (shared_.dryer_state.Get(sm::kDisplaySettings) & 0x80) != 0; }
  // What three views show: the plenum 1 setpoint on the temperature screen, and the grain
  // temperature setpoint and outgoing temperature of the dryer picture.
  std::vector<std::string> Shown() {
    TempSelect select(shared_);
    select.Refresh();
    std::string plenum;
    for (const TempSelect::DrawnValue& v : select.Values(TempPanel::kPlenum))
      if (plenum.empty()) plenum = v.text;
    const bool si = shared_.si_units.load() != 0;
    const views::OverlayValues overlay = views::OverlayValuesOf(shared_.dryer_state, si);
    return {plenum, overlay.grain_setpoint, overlay.outgoing_temperature};
  }
  static bool AllIn(const std::vector<std::string>& shown, char unit) {
    for (const std::string& s : shown)
      if (s.find(std::string("\xB0") + unit) == std::string::npos) return false;
    return true;
  }
  // Switches through the board as the operator does.
  void Switch() {
    prompter_.Script(Answer::kYes);
    ASSERT_EQ(board_.Press(extended_id::kTempScale).action, ExtendedPress::Action::kSent);
  }

  link::LinkShared shared_;
  platform::ScriptedPrompter prompter_;
  std::atomic<long long> now_ms_{0};
  ExtendedSetup board_{shared_, prompter_, [this] {
                         return std::chrono::steady_clock::time_point{} +
                                std::chrono::milliseconds(now_ms_.load());
                       }};
  testing::PtyDryer line_;  // last: stopped first
};

TEST_F(UnitsEndToEnd, EveryViewShowsCelsiusOnlyWhileTheControllerReportsIt) {
  ASSERT_FALSE(DryerSi());
  ASSERT_TRUE(AllIn(Shown(), 'F')) << ::testing::PrintToString(Shown());

  // The controller refuses the switch: the panel switched at once, the record stays on the wire,
  // and once a frame can answer the switch the views go back to what the controller reports.
  Switch();
  EXPECT_EQ(shared_.si_units.load(), 1);
  EXPECT_TRUE(AllIn(Shown(), 'C')) << "the panel switches at once";
  Frames(3);
  EXPECT_EQ(shared_.si_units.load(), 1) << "frames within the answer time may predate it";
  now_ms_ = 1000;
  Frames(2);
  EXPECT_FALSE(DryerSi());
  EXPECT_EQ(shared_.si_units.load(), 0);
  EXPECT_TRUE(AllIn(Shown(), 'F')) << ::testing::PrintToString(Shown());
  EXPECT_TRUE(shared_.pending.IsRaised(Rec::kDisplaySettings));
  const sim::DisplayFrame last = line_.dryer().controller().history().back();
  EXPECT_EQ(last.kind, sim::FrameKind::kCommand) << "still carried";

  // The controller takes it now: the echo switches every view and ends the record.
  line_.dryer().controller().EditScenario([](sim::Scenario& s) { s.Accept(sm::kDisplaySettings); });
  ASSERT_TRUE(Eventually([&] {
    board_.FollowDryerUnits();
    return !shared_.pending.IsRaised(Rec::kDisplaySettings);
  }));
  Frames(2);
  EXPECT_TRUE(DryerSi());
  EXPECT_EQ(shared_.si_units.load(), 1);
  EXPECT_TRUE(AllIn(Shown(), 'C')) << ::testing::PrintToString(Shown());

  // And back to English units, taken at once.
  now_ms_ = 10000;
  Switch();
  ASSERT_TRUE(Eventually([&] { return !shared_.pending.IsRaised(Rec::kDisplaySettings); }));
  now_ms_ = 20000;
  Frames(2);
  EXPECT_FALSE(DryerSi());
  EXPECT_TRUE(AllIn(Shown(), 'F')) << ::testing::PrintToString(Shown());
  EXPECT_TRUE(prompter_.Clean()) << prompter_.Problems();
}

}  // namespace
}  // namespace orvandry::setup
