#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "link/link_shared.h"
#include "link/status_intake.h"
#include "link/status_map.h"
#include "link_test_support.h"

namespace orvandry::link {
namespace {

namespace sm = status_map;
using testing::RecordingListener;
using testing::TestFrame;

class StatusIntakeTest : public ::testing::Test {
 protected:
  // Frames start from the state the display presets, so only what a test sets counts as a change.
  StatusIntakeTest() { frame.data[status_map::kDryerActivity] = status_map::kDryerActivityPreset; }

  IntakeResult Take() { return intake.Run(frame.data.data()); }
  std::uint8_t State(std::size_t offset) const { return shared.dryer_state.Get(offset); }

  LinkShared shared;
  RecordingListener listener;
  StatusIntake intake{shared, &listener};
  TestFrame frame;
};

// --- compare and copy ------------------------------------------------------------------------

TEST_F(StatusIntakeTest, CopiesChangedFieldsAndRepaintsOnlyTheirViews) {
  frame.Set(sm::PlenumReading(2), {0x2C, 0x01});  // 300 F at fan/heater 2
  frame.Set(sm::kFillTimeRemaining, {7, 0});
  IntakeResult r = Take();
  EXPECT_EQ(shared.dryer_state.GetT16(sm::PlenumReading(2)), 300);
  EXPECT_TRUE(r.repaints.Has(ViewId::kPlenumPanelArea));
  EXPECT_EQ(r.repaints.plenum_areas, 0b10);
  EXPECT_TRUE(r.repaints.Has(ViewId::kRightStatusBar));
  EXPECT_FALSE(r.repaints.Has(ViewId::kBatchDryingWindow));

  // The same frame again changes nothing and asks for nothing.
  r = Take();
  EXPECT_TRUE(r.repaints.Empty());
  EXPECT_FALSE(r.apply_view_rule);
  EXPECT_EQ(listener.results.size(), 2U);
}

TEST_F(StatusIntakeTest, FirstFrameOverwritesThePresetActivityByte) {
  EXPECT_EQ(State(sm::kDryerActivity), 0xA0);
  frame.data[sm::kDryerActivity] = 0x00;
  frame.Set(sm::kDryerActivity, {0x40});
  const IntakeResult r = Take();
  EXPECT_TRUE(r.repaints.Has(ViewId::kRightStatusBar));
  EXPECT_EQ(State(sm::kDryerActivity), 0x40);
  EXPECT_TRUE(r.repaints.Has(ViewId::kStatusChart));
  EXPECT_TRUE(r.repaints.Has(ViewId::kBatchDryingWindow));
}

TEST_F(StatusIntakeTest, NeverCopiedBytesStayZero) {
  for (std::size_t i = 0; i < kStateSize; ++i) frame.data[i] = 0xEE;
  Take();
  for (std::size_t i : {0,   1,   2,   33,  38,  48,  53,  57,  107, 112, 119, 124, 160, 161,
                        162, 170, 204, 205, 210, 215, 231, 256, 276, 285, 286, 294, 299})
    EXPECT_EQ(State(i), 0) << "offset " << i;
  EXPECT_EQ(State(3), 0xEE);
  EXPECT_EQ(State(293), 0xEE);
  EXPECT_EQ(State(164), 0xEE);
}

TEST_F(StatusIntakeTest, SetpointRepaintsReachThePlenumPanelOnlyForTheFirstFourPlenums) {
  frame.Set(sm::PlenumSetpoint(5), {180, 0});
  IntakeResult r = Take();
  EXPECT_TRUE(r.repaints.Has(ViewId::kPlenumSetpointPanel));
  EXPECT_FALSE(r.repaints.Has(ViewId::kPlenumPanelArea));
  frame.Set(sm::PlenumSetpoint(4), {180, 0});
  r = Take();
  EXPECT_EQ(r.repaints.plenum_areas, 0b1000);
}

// --- PendingWrite lowering --------------------------------------------------------------------

TEST_F(StatusIntakeTest, EqualRecordIsLoweredByTheFrameThatEchoesIt) {
  shared.RequestByte(Rec::kFanCount, 2);
  Take();
  EXPECT_TRUE(shared.pending.IsRaised(Rec::kFanCount));
  frame.Set(sm::kFanCountCode, {2});
  Take();
  EXPECT_FALSE(shared.pending.IsRaised(Rec::kFanCount));
}

TEST_F(StatusIntakeTest, SetpointRecordsAreLoweredOneFrameAfterTheEcho) {
  const std::uint8_t f180[2] = {0xB4, 0x00};
  shared.RequestWrite(Rec::kPlenumSetpoint1, sm::kPlenumSetpoint1, f180, 2);
  shared.RequestWrite(Rec::kGrainSetpoint, sm::kGrainTempSetpoint, f180, 2);
  shared.RequestWrite(Rec::kGrainHigh, sm::kGrainHighTemp, f180, 2);
  frame.Set(sm::kPlenumSetpoint1, {0xB4, 0x00});
  frame.Set(sm::kGrainTempSetpoint, {0xB4, 0x00});
  frame.Set(sm::kGrainHighTemp, {0xB4, 0x00});
  IntakeResult r = Take();
  EXPECT_TRUE(shared.pending.IsRaised(Rec::kPlenumSetpoint1));
  EXPECT_TRUE(shared.pending.IsRaised(Rec::kGrainSetpoint));
  EXPECT_FALSE(shared.pending.IsRaised(Rec::kGrainHigh));
  // While the grain setpoint write is outstanding its graph area repaints every frame.
  EXPECT_TRUE(r.repaints.Has(ViewId::kLineGraphSetpointArea));
  r = Take();
  EXPECT_FALSE(shared.pending.IsRaised(Rec::kPlenumSetpoint1));
  EXPECT_FALSE(shared.pending.IsRaised(Rec::kGrainSetpoint));
  EXPECT_FALSE(Take().repaints.Has(ViewId::kLineGraphSetpointArea));
}

TEST_F(StatusIntakeTest, RunningTimerIsHeldOutOfDryerStateUntilTheReloadShows) {
  frame.Set(sm::kDryTimerRunning, {3, 10});
  Take();
  // The reload prompt asks for 20:00.
  const std::uint8_t reload[2] = {20, 0};
  shared.RequestWrite(Rec::kDryTimerRunning, sm::kDryTimerRunning, reload, 2);
  frame.Set(sm::kDryTimerRunning, {3, 9});
  IntakeResult r = Take();
  EXPECT_EQ(State(sm::kDryTimerRunning + 1), 10) << "screens keep the value from before";
  EXPECT_FALSE(r.repaints.Has(ViewId::kBatchDryingWindow));
  EXPECT_TRUE(shared.pending.IsRaised(Rec::kDryTimerRunning));

  frame.Set(sm::kDryTimerRunning, {20, 0});
  r = Take();
  EXPECT_FALSE(shared.pending.IsRaised(Rec::kDryTimerRunning));
  EXPECT_EQ(State(sm::kDryTimerRunning), 20);
  EXPECT_TRUE(r.repaints.Has(ViewId::kBatchDryingWindow));
}

TEST_F(StatusIntakeTest, SpecialLoweringRules) {
  // Printer options: only bit 0x40 of 217 counts.
  const std::uint8_t options[2] = {0x11, 0x40};
  shared.RequestWrite(Rec::kPrinterOptions, 216, options, 2);
  frame.Set(216, {0x00, 0x41});
  Take();
  EXPECT_FALSE(shared.pending.IsRaised(Rec::kPrinterOptions));

  // Auto start-up mode: only bits 0x03 of the request are echoed.
  shared.RequestByte(Rec::kAutoStartMode, 0xF2);
  frame.Set(sm::kAutoStartMode, {0x02});
  Take();
  EXPECT_FALSE(shared.pending.IsRaised(Rec::kAutoStartMode));

  // One-shots wait for the builder.
  shared.pending.Raise(Rec::kClock);
  Take();
  EXPECT_TRUE(shared.pending.IsRaised(Rec::kClock));
}

// The display settings record ends when the controller reports every bit it carries but the
// command bits, and never before its command bits have been placed.
TEST_F(StatusIntakeTest, DisplaySettingsEndOnTheEchoOfTheirBitsOnceTheCommandHasGoneOut) {
  struct Case {
    const char* name;
    std::uint8_t requested;
    std::uint8_t reported;
    bool lowered;
  };
  const Case cases[] = {
      {"same byte", 0xA8, 0xA8, true},
      {"command bits reported or not", 0x40, 0x43, true},
      {"safety bit not reported yet", 0x28, 0x08, false},
      {"units not reported yet", 0x80, 0x00, false},
      {"command not placed yet", 0x42, 0x40, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    shared.RequestByte(Rec::kDisplaySettings, c.requested);
    frame.Set(sm::kDisplaySettings, {c.reported});
    Take();
    EXPECT_EQ(shared.pending.IsRaised(Rec::kDisplaySettings), !c.lowered);
    shared.pending.Lower(Rec::kDisplaySettings);
  }
}

// The metering dialog's records end once the controller reports the value each carries, from
// either source, and the selection's upper bits (the controller's own) do not hold them up.
TEST_F(StatusIntakeTest, MeteringRecordsAreLoweredByTheirEchoWhateverTheSource) {
  struct Case {
    const char* name;
    Rec rec;
    std::size_t offset;
    std::vector<std::uint8_t> requested;  // request bytes from `offset`
    std::vector<std::uint8_t> other;      // frame 159-162 that does not echo them
    std::vector<std::uint8_t> echo;       // frame 159-162 that does
  };
  const Case cases[] = {
      {"selection", Rec::kMeteringControl, 159, {0x02}, {0x81, 0, 0, 0}, {0x82, 0, 0, 0}},
      {"four bytes",
       Rec::kMeteringFromKnob,
       159,
       {0x02, 70, 60, 50},
       {0x82, 70, 61, 50},
       {0x82, 70, 60, 50}},
  };
  for (MeteringSource source : {MeteringSource::kKnob, MeteringSource::kDisplay}) {
    for (const Case& c : cases) {
      SCOPED_TRACE(std::string(c.name) + (source == MeteringSource::kKnob ? " knob" : " display"));
      LinkShared s;
      StatusIntake in{s, nullptr};
      TestFrame f;
      s.metering_source = source;
      s.RequestWrite(c.rec, c.offset, c.requested.data(), c.requested.size());
      std::copy(c.other.begin(), c.other.end(), f.data.begin() + 159);
      in.Run(f.data.data());
      EXPECT_TRUE(s.pending.IsRaised(c.rec));
      EXPECT_EQ(s.request.Get(159), c.requested[0])
          << "an outstanding selection is not overwritten";
      std::copy(c.echo.begin(), c.echo.end(), f.data.begin() + 159);
      in.Run(f.data.data());
      EXPECT_FALSE(s.pending.IsRaised(c.rec));
    }
  }
}

TEST_F(StatusIntakeTest, MeteringSpeedAndMediumCopyRecordsEndOnTheirEcho) {
  // A speed setpoint requested at the value the controller already holds ends at once.
  frame.Set(sm::kMeteringSpeedMain, {55});
  Take();
  shared.RequestByte(Rec::kMeteringSpeedMain, 55);
  shared.RequestByte(Rec::kMeteringSpeedHigh, 90);
  Take();
  EXPECT_FALSE(shared.pending.IsRaised(Rec::kMeteringSpeedMain));
  EXPECT_TRUE(shared.pending.IsRaised(Rec::kMeteringSpeedHigh));
  frame.Set(sm::kMeteringSpeedHigh, {90});
  Take();
  EXPECT_FALSE(shared.pending.IsRaised(Rec::kMeteringSpeedHigh));

  // The medium-speed copy carries byte 230 into 161, from either source.
  for (MeteringSource source : {MeteringSource::kKnob, MeteringSource::kDisplay}) {
    shared.metering_source = source;
    frame.Set(sm::kMeteringCopySource, {40});
    frame.Set(161, {35});
    shared.pending.Raise(Rec::kMeteringCopy161);
    Take();
    EXPECT_TRUE(shared.pending.IsRaised(Rec::kMeteringCopy161));
    frame.Set(161, {40});
    Take();
    EXPECT_FALSE(shared.pending.IsRaised(Rec::kMeteringCopy161));
    frame.Set(161, {0});
  }
}

// --- derived values and requests --------------------------------------------------------------

TEST_F(StatusIntakeTest, WarningCodeCallsTheRecorderOncePerNewCode) {
  Take();
  frame.Set(sm::kWarningId, {0x05, 0x0E});
  Take();
  Take();
  frame.Set(sm::kWarningId, {0x00, 0x00});
  Take();
  frame.Set(sm::kWarningId, {0x05, 0x02});
  Take();
  ASSERT_EQ(listener.warnings.size(), 2U);
  EXPECT_EQ(listener.warnings[0], std::make_pair(std::uint8_t{14}, std::uint8_t{5}));
  EXPECT_EQ(listener.warnings[1], std::make_pair(std::uint8_t{2}, std::uint8_t{5}));
}

TEST_F(StatusIntakeTest, LoadTimingMeasuresThePreviousLoad) {
  frame.Set(sm::kStatusBits179, {0x10});
  frame.Set(sm::kFillTimerReload, {8, 0});
  frame.Set(sm::kFillTimeRemaining, {8, 0});
  Take();
  frame.Set(sm::kLoadDirectionBits, {0x80});  // load starts
  IntakeResult r = Take();
  EXPECT_EQ(shared.lowest_fill_time.load(), 481U);
  EXPECT_TRUE(r.repaints.Has(ViewId::kOutOfGrainPanel));
  for (std::uint8_t s : {50, 30, 10}) {
    frame.Set(sm::kFillTimeRemaining, {6, s});
    Take();
  }
  EXPECT_EQ(shared.lowest_fill_time.load(), 370U);
  frame.Set(sm::kLoadDirectionBits, {0x00});  // load stops
  Take();
  EXPECT_EQ(shared.previous_load_duration.load(), 110U);
}

TEST_F(StatusIntakeTest, LoadTimingIsOffWithoutItsBitAndClampsNonsense) {
  frame.Set(sm::kFillTimerReload, {8, 0});
  Take();
  frame.Set(sm::kLoadDirectionBits, {0x80});
  Take();
  frame.Set(sm::kLoadDirectionBits, {0x00});
  Take();
  EXPECT_EQ(shared.previous_load_duration.load(), 0U);

  // With timing on, a lowest fill time above the reload wraps in unsigned arithmetic and is
  // clamped to a day.
  frame.Set(sm::kStatusBits179, {0x10});
  Take();
  frame.Set(sm::kLoadDirectionBits, {0x80});
  Take();
  frame.Set(sm::kFillTimerReload, {1, 0});
  frame.Set(sm::kLoadDirectionBits, {0x00});
  Take();
  EXPECT_EQ(shared.previous_load_duration.load(), 86400U);
}

TEST_F(StatusIntakeTest, MoistureControlLockOutFollowsBatchAndConfiguration) {
  frame.Set(sm::kConfigBits, {0x10});
  Take();
  EXPECT_EQ(shared.mc_lockout.load(), 0) << "never locked out in continuous flow";
  frame.Set(sm::kBatchSelector, {1});
  Take();
  EXPECT_EQ(shared.mc_lockout.load(), 1);
  frame.Set(sm::kConfigBits, {0x30});
  Take();
  EXPECT_EQ(shared.mc_lockout.load(), 0);
  frame.Set(sm::kStatusBits179, {0x02});  // unload in manual
  Take();
  EXPECT_EQ(shared.mc_lockout.load(), 1);
  frame.Set(sm::kBatchSelector, {0});
  Take();
  EXPECT_EQ(shared.mc_lockout.load(), 0);
  // Back in batch with a configuration that does not lock: byte 8's update keeps the old value.
  frame.Set(sm::kBatchSelector, {1});
  Take();
  EXPECT_EQ(shared.mc_lockout.load(), 0);
}

TEST_F(StatusIntakeTest, ByteEightAppliesTheViewRuleOnlyWhileEnabled) {
  frame.Set(sm::kBatchSelector, {1});
  IntakeResult r = Take();
  EXPECT_TRUE(r.apply_view_rule);
  EXPECT_TRUE(r.update_batch_buttons);
  EXPECT_TRUE(r.repaints.Has(ViewId::kHardwareSetupSelect));

  shared.view_rule_enabled = false;
  frame.Set(sm::kBatchSelector, {0});
  r = Take();
  EXPECT_FALSE(r.apply_view_rule);
  EXPECT_TRUE(r.update_batch_buttons);
}

TEST_F(StatusIntakeTest, DisplaySettingsSetUnitsAndToggleTheView) {
  frame.Set(sm::kBatchSelector, {1});
  Take();
  frame.Set(sm::kDisplaySettings, {0x80});
  IntakeResult r = Take();
  EXPECT_EQ(shared.si_units.load(), 1);
  EXPECT_FALSE(r.apply_view_rule);
  for (std::uint8_t v : {0xC0, 0x80, 0xC0}) {
    frame.Set(sm::kDisplaySettings, {v});
    EXPECT_TRUE(Take().apply_view_rule);
  }
  frame.Set(sm::kDisplaySettings, {0x40});
  r = Take();
  EXPECT_EQ(shared.si_units.load(), 0);
  EXPECT_FALSE(r.apply_view_rule);
}

TEST_F(StatusIntakeTest, RequestFlagsForTheMessageLoop) {
  frame.Set(sm::kDryerStateBits, {0x20});
  Take();
  EXPECT_EQ(shared.defaults_request.load(), 1);
  shared.defaults_request = 0;
  shared.defaults_confirmed = true;
  frame.Set(sm::kDryerStateBits, {0x60});
  Take();
  EXPECT_EQ(shared.defaults_request.load(), 0) << "nothing once the operator confirmed";

  frame.Set(sm::kDisplayRequest251, {0x10});
  Take();
  EXPECT_EQ(shared.byte251_request.load(), 1);
  frame.Set(sm::kDisplayRequest251, {0x11});  // other bits alone do not count
  shared.byte251_request = 7;
  Take();
  EXPECT_EQ(shared.byte251_request.load(), 7);
  frame.Set(sm::kDisplayRequest251, {0x01});
  Take();
  EXPECT_EQ(shared.byte251_request.load(), 0);

  frame.Set(sm::kStatusBits179, {0x04});
  Take();
  EXPECT_EQ(shared.metering_resync.load(), 1);
}

TEST_F(StatusIntakeTest, BushelCounterClearingSendsTheBitUntilTheCounterIsZero) {
  frame.Set(sm::kBushelCounter, {0xA0, 0x8C, 0x00, 0x00});
  Take();
  shared.RequestByte(Rec::kCommandBits238, 0x08);
  shared.pending.Lower(Rec::kCommandBits238);
  Take();
  EXPECT_TRUE(shared.pending.IsRaised(Rec::kCommandBits238)) << "raised while the bit is asked";

  // The controller has taken the bit: the echo lowers the record, the next frame raises it anew.
  frame.Set(sm::kCommandBits238, {0x08});
  Take();
  EXPECT_FALSE(shared.pending.IsRaised(Rec::kCommandBits238));
  EXPECT_EQ(shared.request.Get(sm::kCommandBits238), 0x08);

  // Counter cleared: the bit is withdrawn and goes out once more, until the controller drops it.
  frame.Set(sm::kBushelCounter, {0, 0, 0, 0});
  Take();
  EXPECT_EQ(shared.request.Get(sm::kCommandBits238), 0x00);
  EXPECT_TRUE(shared.pending.IsRaised(Rec::kCommandBits238));
  Take();
  EXPECT_TRUE(shared.pending.IsRaised(Rec::kCommandBits238));
  frame.Set(sm::kCommandBits238, {0x00});
  Take();
  EXPECT_FALSE(shared.pending.IsRaised(Rec::kCommandBits238));
  Take();
  EXPECT_FALSE(shared.pending.IsRaised(Rec::kCommandBits238));
}

TEST_F(StatusIntakeTest, LeavingAutomaticMoistureControlCopiesTheSpeeds) {
  frame.Set(sm::kMeteringMode, {0x83});
  Take();
  EXPECT_FALSE(shared.pending.IsRaised(Rec::kMeteringCopyWorking));
  frame.Set(sm::kMeteringMode, {0x03});
  frame.Set(sm::kMeteringSpeedHigh, {90, 50, 10});
  Take();
  EXPECT_TRUE(shared.pending.IsRaised(Rec::kMeteringCopyWorking));
  frame.Set(sm::kWorkingSpeedHigh, {90, 50, 10});
  Take();
  EXPECT_FALSE(shared.pending.IsRaised(Rec::kMeteringCopyWorking));
}

TEST_F(StatusIntakeTest, MeteringBytesFollowTheKnobUnlessAnEditIsOutstanding) {
  frame.Set(sm::kSpeedSelection, {0x81, 60, 50, 40});
  IntakeResult r = Take();
  EXPECT_EQ(shared.metering_speed_request.load(), 1);
  EXPECT_EQ(State(sm::kSpeedSelection), 0x81);
  EXPECT_EQ(shared.request.Get(sm::kSpeedSelection), 0x01);
  EXPECT_EQ(shared.request.Get(160), 60);
  EXPECT_EQ(State(160), 0) << "working speeds never reach DryerState";
  EXPECT_TRUE(r.repaints.Has(ViewId::kMeteringSpeedDialog));

  // An edit of the dialog's own is outstanding: the knob's speeds no longer overwrite it.
  shared.metering_speed_request = 0;
  shared.metering_dialog_open = true;
  const std::uint8_t edit[4] = {0x01, 70, 50, 40};
  shared.RequestWrite(Rec::kMeteringFromKnob, sm::kSpeedSelection, edit, 4);
  frame.Set(sm::kSpeedSelection, {0x01, 65, 50, 40});
  Take();
  EXPECT_EQ(shared.metering_speed_request.load(), 0) << "dialog already open";
  EXPECT_EQ(shared.request.Get(160), 70);
  EXPECT_TRUE(shared.pending.IsRaised(Rec::kMeteringFromKnob));
  frame.Set(sm::kSpeedSelection, {0x01, 70, 50, 40});
  Take();
  EXPECT_FALSE(shared.pending.IsRaised(Rec::kMeteringFromKnob));

  // With the display as the source only the echo test is made, for the display's record.
  shared.metering_source = MeteringSource::kDisplay;
  const std::uint8_t display[4] = {0x02, 80, 50, 40};
  shared.RequestWrite(Rec::kMeteringFromDisplay, sm::kSpeedSelection, display, 4);
  frame.Set(sm::kSpeedSelection, {0x82, 80, 50, 40});
  Take();
  EXPECT_EQ(State(sm::kSpeedSelection), 0x01) << "byte 159 is not followed from the display";
  EXPECT_TRUE(shared.pending.IsRaised(Rec::kMeteringFromDisplay));
  frame.Set(sm::kSpeedSelection, {0x02, 80, 50, 40});
  Take();
  EXPECT_FALSE(shared.pending.IsRaised(Rec::kMeteringFromDisplay));
}

TEST_F(StatusIntakeTest, RepaintsTiedToOutstandingSetupWrites) {
  shared.RequestByte(Rec::kDisplaySettings, 0x40);
  IntakeResult r = Take();
  EXPECT_TRUE(r.repaints.Has(ViewId::kContinuousFlowSetup));
  EXPECT_TRUE(r.repaints.Has(ViewId::kStagedBatchSetup));
  shared.pending.Lower(Rec::kDisplaySettings);
  const std::uint8_t v[2] = {1, 2};
  shared.RequestWrite(Rec::kStagedBatchValue, sm::kStagedBatchValue, v, 2);
  r = Take();
  EXPECT_FALSE(r.repaints.Has(ViewId::kContinuousFlowSetup));
  EXPECT_TRUE(r.repaints.Has(ViewId::kStagedBatchSetup));
}

}  // namespace
}  // namespace orvandry::link
