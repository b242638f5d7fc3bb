#include "views/status/status_bars.h"

#include <gtest/gtest.h>

#include "link/link_shared.h"
#include "link/status_map.h"
#include "platform/qt_conversions.h"
#include "platform/recording_canvas.h"

namespace orvandry::views {
namespace {

namespace sm = link::status_map;
using platform::Bgr;
using platform::Font;
using platform::Rect;

constexpr platform::Colour kGreen = Bgr(0x00FF00);
constexpr platform::Colour kRed = Bgr(0x0000FF);
constexpr platform::Colour kYellow = Bgr(0x00FFFF);
constexpr platform::Colour kBlue = Bgr(0xFF0000);
constexpr const char* kBlank = "                ";

class RightStatusBar : public ::testing::Test {
 protected:
  link::LinkShared shared;
  link::ByteImage& s = shared.dryer_state;

  StatusLine Shown(bool blink = true, bool si = false) { return RightStatusLine(s, blink, si); }
  void SetBits(sm::Offset offset, std::uint8_t bits) { s.Set(offset, s.Get(offset) | bits); }
  void Running() { SetBits(sm::kDryerStateBits, 0x40); }
  void NotLoading() { s.Set(sm::kDryerActivity, 0xA0); }
  void CentreAdjust(std::uint16_t counter, int mode = 5) {
    Running();
    SetBits(sm::kDryingMode, 0x80);
    s.Set(sm::kMeteringMode, static_cast<std::uint8_t>(mode));
    s.SetLe16(sm::kCentreAdjustCounter, counter);
  }
  void AutoMode(std::uint8_t minutes) {
    s.Set(sm::kMcLearningMinutes, minutes);
    SetBits(sm::kStatusBits179, 0x04);
    SetBits(sm::kDryerActivity, 0x08);
    s.Set(sm::kMeteringMode, 3);
  }
  void TempHold(std::uint8_t selector) {
    Running();
    SetBits(sm::kDryingMode, 0x08);
    s.Set(sm::kGrainTempSelector, selector);
  }
  void Loading(int a_min, int a_sec, int b_min, int b_sec, bool show_time) {
    s.Set(sm::kDryerActivity, 0x20);  // bit 0x80 clear: loading
    s.SetTime(sm::kFillTimeRemaining, static_cast<std::uint8_t>(a_min),
              static_cast<std::uint8_t>(a_sec));
    s.SetTime(sm::kFillTimerReload, static_cast<std::uint8_t>(b_min),
              static_cast<std::uint8_t>(b_sec));
    s.Set(sm::kLoadingBits, show_time ? 1 : 0);
  }
};

TEST_F(RightStatusBar, BeforeTheFirstFrameShowsDryerStoppedInTheBarsFontAndPlace) {
  platform::RecordingCanvas canvas(platform::Size{396, 36});
  PaintRightStatusBar(canvas, s, true, false);
  const auto fills = canvas.All<platform::FillRectCall>();
  ASSERT_EQ(fills.size(), 1U);
  EXPECT_EQ(fills[0]->rect, (Rect{0, 0, 396, 36}));
  EXPECT_EQ(fills[0]->colour, Bgr(0x000000));
  ASSERT_EQ(canvas.Texts(), std::vector<std::string>{"DRYER STOPPED"}) << canvas.Describe();
  const platform::TextCall* text = canvas.FindText("DRYER STOPPED");
  EXPECT_EQ(text->rect, Rect::FromEdges(5, 0, 390, 45));
  EXPECT_EQ(text->font, (Font{34, 900}));
  EXPECT_EQ(text->colour, kRed);
  EXPECT_EQ(text->HorizontalAlignment(), platform::kAlignCentre);
  EXPECT_EQ(text->background_mode, platform::BackgroundMode::kTransparent);
}

TEST_F(RightStatusBar, AirswitchWarningBlinksAndHidesEveryOtherState) {
  // Every lower rule's condition at once.
  CentreAdjust(3500);
  AutoMode(10);
  TempHold(0);
  Loading(3, 0, 10, 0, true);
  s.Set(sm::kConfigBits, 0x01);
  SetBits(sm::kStatusBarBits113 + 5, 0x20);

  const StatusLine on = Shown(true);
  EXPECT_EQ(on.text, "** AIRSWITCH DISABLED **");
  EXPECT_EQ(on.colour, kRed);
  EXPECT_EQ(on.flags & platform::kHorizontalMask, platform::kAlignCentre);
  const StatusLine off = Shown(false);
  EXPECT_EQ(off.text, kBlank);
  EXPECT_EQ(off.flags & platform::kHorizontalMask, platform::kAlignLeft);
}

TEST_F(RightStatusBar, CentreAdjustOnlyInTheLastThreeMinutesOfTheCycle) {
  CentreAdjust(3500);
  EXPECT_EQ(Shown().text, "CENTER ADJ... [01:40]");
  EXPECT_EQ(Shown().colour, kRed);
  EXPECT_EQ(Shown(false).text, kBlank);

  CentreAdjust(3421, 4);
  EXPECT_EQ(Shown().text, "CENTER ADJ... [02:59]");
  CentreAdjust(3420);
  EXPECT_EQ(Shown().text, "DRYER STARTED");
  CentreAdjust(3600);
  EXPECT_EQ(Shown().text, "CENTER ADJ... [00:00]");
  // Past the end of the cycle the time is not counted negative.
  CentreAdjust(3700);
  EXPECT_EQ(Shown().text, "CENTER ADJ... [00:00]");
}

TEST_F(RightStatusBar, CentreAdjustNeedsRunningModeBitAndFiveSpeedMode) {
  CentreAdjust(3500, 3);
  EXPECT_EQ(Shown().text, "DRYER STARTED");
  CentreAdjust(3500, 5);
  s.Set(sm::kDryingMode, 0x00);
  EXPECT_EQ(Shown().text, "DRYER STARTED");
  CentreAdjust(3500, 5);
  s.Set(sm::kDryerStateBits, 0);
  EXPECT_EQ(Shown().text, "DRYER STOPPED");
}

TEST_F(RightStatusBar, AutoModeBlinksDarkRedBelowSixMinutesAndIsSteadyGreenFromSix) {
  AutoMode(5);
  const StatusLine on = Shown(true);
  EXPECT_EQ(on.text, "M/C AUTO MODE: 5 Minutes");
  EXPECT_EQ(on.colour, Bgr(0x0000C8));
  EXPECT_EQ(on.font, (Font{30, 900}));
  platform::RecordingCanvas dark;
  PaintRightStatusBar(dark, s, false, false);
  EXPECT_EQ(dark.Count<platform::TextCall>(), 0U) << dark.Describe();

  AutoMode(6);
  for (bool blink : {true, false}) {
    EXPECT_EQ(Shown(blink).text, "M/C AUTO MODE: 6 Minutes");
    EXPECT_EQ(Shown(blink).colour, Bgr(0x00FF64));
  }
  s.Set(sm::kMeteringMode, 4);
  EXPECT_NE(Shown().text, "M/C AUTO MODE: 6 Minutes");
}

TEST_F(RightStatusBar, TemperatureHoldShortfallBySelector) {
  s.SetT16(sm::kGrainTempSetpoint, 110);
  s.SetT16(sm::kGrainHighTemp, 130);
  s.SetT16(sm::kGrainLowTemp, 100);
  s.SetT16(sm::kGrainTempSelector0, 95);
  s.SetT16(sm::kGrainTempSelector1, 98);
  s.SetT16(sm::kGrainTempSelector2, 88);

  TempHold(0);
  EXPECT_EQ(Shown().text,
            "TEMP HOLD... [- 15 \xB0"
            "F]");
  EXPECT_EQ(Shown().colour, kGreen);
  EXPECT_EQ(Shown(false).text, Shown(true).text);  // steady
  s.Set(sm::kConfigBits, 0x02);                    // dual setpoints: the low one
  EXPECT_EQ(Shown().text,
            "TEMP HOLD... [- 5 \xB0"
            "F]");
  s.Set(sm::BurnerStatus(1), 0x10);  // high-heat stage: the high one
  EXPECT_EQ(Shown().text,
            "TEMP HOLD... [- 35 \xB0"
            "F]");

  // Selectors 1 and 2 always use the plain setpoint.
  TempHold(1);
  EXPECT_EQ(Shown().text,
            "TEMP HOLD... [- 12 \xB0"
            "F]");
  TempHold(2);
  EXPECT_EQ(Shown().text,
            "TEMP HOLD... [- 22 \xB0"
            "F]");
}

TEST_F(RightStatusBar, TemperatureHoldInCelsiusConvertsTheDifferenceNotATemperature) {
  s.SetT16(sm::kGrainTempSetpoint, 110);
  s.SetT16(sm::kGrainTempSelector2, 92);
  TempHold(2);
  EXPECT_EQ(Shown(true, true).text,
            "TEMP HOLD... [- 10 \xB0"
            "C]");  // 18 F difference
  s.SetT16(sm::kGrainTempSelector2, 100);
  EXPECT_EQ(Shown(true, true).text,
            "TEMP HOLD... [- 5 \xB0"
            "C]");  // 10 F, truncated
}

TEST_F(RightStatusBar, TemperatureHoldWithAnUnknownSelectorShowsNothing) {
  TempHold(3);
  platform::RecordingCanvas canvas;
  PaintRightStatusBar(canvas, s, true, false);
  EXPECT_EQ(canvas.Count<platform::TextCall>(), 0U) << canvas.Describe();
  // Not running: the hold does not apply.
  s.Set(sm::kDryerStateBits, 0);
  EXPECT_EQ(Shown().text, "DRYER STOPPED");
}

TEST_F(RightStatusBar, LoadingColourFollowsTheRemainingFillTime) {
  Loading(3, 0, 10, 0, true);  // 0.3
  EXPECT_EQ(Shown().text, "LOADING...  7:00");
  EXPECT_EQ(Shown().colour, kYellow);
  Loading(6, 0, 10, 0, false);  // 0.6
  EXPECT_EQ(Shown().text, "LOADING...");
  EXPECT_EQ(Shown().colour, kGreen);
  Loading(5, 0, 10, 0, true);  // exactly 0.5
  EXPECT_EQ(Shown().colour, kYellow);
  EXPECT_EQ(Shown().text, "LOADING...  5:00");
  Loading(2, 30, 10, 0, true);  // exactly 0.25
  EXPECT_EQ(Shown().colour, kRed);
  EXPECT_EQ(Shown().text, "LOADING...  7:30");
  Loading(0, 1, 1, 5, true);
  EXPECT_EQ(Shown().text, "LOADING...  1:04");
}

TEST_F(RightStatusBar, LoadingWithoutAReloadValueOrPastItNeverCountsNegative) {
  Loading(2, 0, 0, 0, true);
  EXPECT_EQ(Shown().text, "LOADING...  0:00");
  EXPECT_EQ(Shown().colour, kRed);
  Loading(0, 0, 0, 0, false);
  EXPECT_EQ(Shown().colour, kRed);
  Loading(12, 0, 10, 0, true);
  EXPECT_EQ(Shown().text, "LOADING...  0:00");
  EXPECT_EQ(Shown().colour, kGreen);
}

TEST_F(RightStatusBar, LoadingIsRecognisedFromEitherActivityBit) {
  s.Set(sm::kDryerActivity, 0x80);  // bit 0x20 clear
  EXPECT_EQ(Shown().text, "LOADING...");
  s.Set(sm::kDryerActivity, 0xA0 | 0x40);
  EXPECT_EQ(Shown().text, "UNLOADING...");
}

TEST_F(RightStatusBar, UnloadingShowsTheCleanOutTimeWhenAsked) {
  s.Set(sm::kUnloadBits, 0x01);
  s.SetTime(sm::kUnloadCleanoutShown, 2, 5);
  EXPECT_EQ(Shown().text, "UNLOADING...");
  EXPECT_EQ(Shown().colour, kBlue);
  s.Set(sm::kUnloadTextBits, 0x01);
  EXPECT_EQ(Shown().text, "UNLOADING...  2:05");
}

TEST_F(RightStatusBar, StoppedOrCoolingDownByTheCoolDownPhase) {
  s.Set(sm::kStatusTextSelector, 1);
  EXPECT_EQ(Shown().text, "DRYER COOLING DOWN");
  EXPECT_EQ(Shown().colour, kBlue);
  s.Set(sm::kStatusTextSelector, 0x05);  // only bits 0..1 count
  EXPECT_EQ(Shown().text, "DRYER COOLING DOWN");
  for (std::uint8_t phase : {0, 2, 3}) {
    s.Set(sm::kStatusTextSelector, phase);
    EXPECT_EQ(Shown().text, "DRYER STOPPED") << int{phase};
    EXPECT_EQ(Shown().colour, kRed);
  }
}

TEST_F(RightStatusBar, RunningShowsStartedOrUnloadHoldInStagedBatch) {
  Running();
  EXPECT_EQ(Shown().text, "DRYER STARTED");
  EXPECT_EQ(Shown().colour, kGreen);
  s.Set(sm::kConfigBits, 0x01);
  EXPECT_EQ(Shown().text, "DRYER STARTED");  // continuous flow has no unload hold
  s.Set(sm::kBatchSelector, 1);
  EXPECT_EQ(Shown().text, "UNLOAD HOLD");
  EXPECT_EQ(Shown().colour, kRed);
}

// Switching the rules on from the lowest to the highest: each new one takes the bar over.
TEST_F(RightStatusBar, EachRuleOutranksTheOnesBelowIt) {
  s.Set(sm::kBatchSelector, 1);
  s.Set(sm::kConfigBits, 0x01);
  Running();
  EXPECT_EQ(Shown().text, "UNLOAD HOLD");
  s.Set(sm::kUnloadBits, 0x01);
  EXPECT_EQ(Shown().text, "UNLOADING...");
  Loading(6, 0, 10, 0, false);
  EXPECT_EQ(Shown().text, "LOADING...");
  TempHold(1);
  EXPECT_EQ(Shown().text.rfind("TEMP HOLD", 0), 0U);
  AutoMode(9);
  EXPECT_EQ(Shown().text, "M/C AUTO MODE: 9 Minutes");
  CentreAdjust(3500);  // a five-speed mode: auto mode (mode 3) cannot be on at the same time
  EXPECT_EQ(Shown().text, "CENTER ADJ... [01:40]");
  SetBits(sm::kStatusBarBits113 + 5, 0x20);
  EXPECT_EQ(Shown().text, "** AIRSWITCH DISABLED **");
}

TEST_F(RightStatusBar, LongTextsAreSqueezedToFitTheBar) {
  s.SetT16(sm::kGrainTempSetpoint, 300);
  s.Set(sm::kDryerStateBits, 0x40);
  s.Set(sm::kDryingMode, 0x08);
  s.Set(sm::kGrainTempSelector, 1);
  s.SetT16(sm::kGrainTempSelector1, -200);
  platform::RecordingCanvas real(platform::Size{396, 36}, platform::QtTextSize);
  PaintRightStatusBar(real, s, true, false);
  const platform::TextCall* hold = real.FindText(
      "TEMP HOLD... [- 500 \xB0"
      "F]");
  ASSERT_NE(hold, nullptr) << real.Describe();
  EXPECT_LT(hold->font.height, 34);
  EXPECT_EQ(hold->font.weight, 900);
  EXPECT_LE(platform::QtTextSize(hold->text, hold->font).w, kStatusTextRect.w);

  real.Clear();
  s.Set(sm::kDryingMode, 0);
  PaintRightStatusBar(real, s, true, false);
  EXPECT_EQ(real.FindText("DRYER STARTED")->font, (Font{34, 900}));
}

TEST(LeftStatusBar, ClockDateAndVersion) {
  link::LinkShared shared;
  platform::LocalDateTime now{2024, 3, 5, 19, 5, 0, 2};
  platform::RecordingCanvas canvas(platform::Size{236, 36});
  PaintLeftStatusBar(canvas, shared.dryer_state, true, now);
  const platform::TextCall* time = canvas.FindText("7:05 PM");
  ASSERT_NE(time, nullptr) << canvas.Describe();
  EXPECT_EQ(time->rect, Rect::FromEdges(5, 0, 80, 20));
  EXPECT_EQ(time->HorizontalAlignment(), platform::kAlignLeft);
  EXPECT_EQ(time->colour, Bgr(0xFFFFFF));
  const platform::TextCall* date = canvas.FindText("Tuesday  Mar 05, 2024");
  ASSERT_NE(date, nullptr) << canvas.Describe();
  EXPECT_EQ(date->rect, Rect::FromEdges(65, 0, 240, 20));
  EXPECT_EQ(date->HorizontalAlignment(), platform::kAlignCentre);
  const platform::TextCall* version = canvas.FindText("VER: 1.10");
  ASSERT_NE(version, nullptr);
  EXPECT_EQ(version->rect, Rect::FromEdges(5, 15, 240, 30));
  EXPECT_EQ(version->background_mode, platform::BackgroundMode::kTransparent);

  EXPECT_EQ(FormatStatusBarTime({2024, 1, 1, 0, 0, 0, 1}), "12:00 AM");
  EXPECT_EQ(FormatStatusBarTime({2024, 1, 1, 12, 30, 0, 1}), "12:30 PM");
  EXPECT_EQ(FormatStatusBarTime({2024, 1, 1, 9, 7, 0, 1}), "9:07 AM");
  EXPECT_EQ(FormatStatusBarDate({2023, 12, 31, 0, 0, 0, 0}), "Sunday  Dec 31, 2023");
}

TEST(LeftStatusBar, AirflowTestingDisabledOnAnyFanHeaterBlinksRedAndWhite) {
  for (int k = 1; k <= 6; ++k) {
    link::LinkShared shared;
    shared.dryer_state.Set(sm::BurnerStatus(k), 0x04);
    platform::RecordingCanvas on;
    PaintLeftStatusBar(on, shared.dryer_state, true, {});
    ASSERT_EQ(on.Texts(), std::vector<std::string>{"AIRFLOW TESTING DISABLED"}) << k;
    const auto fills = on.All<platform::FillRectCall>();
    ASSERT_EQ(fills.size(), 1U);
    EXPECT_EQ(fills[0]->rect, Rect::FromEdges(2, 2, 229, 29));
    EXPECT_EQ(fills[0]->colour, kRed);
    const platform::TextCall* red = on.FindText("AIRFLOW TESTING DISABLED");
    EXPECT_EQ(red->colour, Bgr(0x000000));
    EXPECT_EQ(red->rect, Rect::FromEdges(2, 2, 229, 29));
    EXPECT_EQ(red->HorizontalAlignment(), platform::kAlignCentre);

    platform::RecordingCanvas off;
    PaintLeftStatusBar(off, shared.dryer_state, false, {});
    EXPECT_EQ(off.Count<platform::FillRectCall>(), 0U);
    const platform::TextCall* white = off.FindText("AIRFLOW TESTING DISABLED");
    ASSERT_NE(white, nullptr);
    EXPECT_EQ(white->colour, Bgr(0xFAFAFA));
    EXPECT_EQ(white->background, Bgr(0x000000));
  }
  // Another bit of the same bytes is not the airflow test.
  link::LinkShared shared;
  shared.dryer_state.Set(sm::BurnerStatus(3), 0x10);
  platform::RecordingCanvas canvas;
  PaintLeftStatusBar(canvas, shared.dryer_state, true, {});
  EXPECT_EQ(canvas.FindText("AIRFLOW TESTING DISABLED"), nullptr);
}

}  // namespace
}  // namespace orvandry::views
