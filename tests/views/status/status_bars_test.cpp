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

// The temperature-hold line for a shortfall of n degrees.
std::string Hold(int n, char unit = 'F') {
  return "TEMP HOLD... [- " + std::to_string(n) + " \xB0" + unit + "]";
}

class RightStatusBar : public ::testing::Test {
 protected:
  link::LinkShared shared;
  link::ByteImage& s = shared.dryer_state;

  StatusLine Shown(bool blink = true, bool si = false) { return RightStatusLine(s, blink, si); }
  void SetBits(sm::Offset offset, std::uint8_t bits) { s.Set(offset, s.Get(offset) | bits); }
  void Running() { SetBits(sm::kDryerStateBits, 0x40); }
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
  void Loading(int a_seconds, int b_seconds, bool show_time) {
    s.Set(sm::kDryerActivity, 0x20);  // bit 0x80 clear: loading
    s.SetTime(sm::kFillTimeRemaining, static_cast<std::uint8_t>(a_seconds / 60),
              static_cast<std::uint8_t>(a_seconds % 60));
    s.SetTime(sm::kFillTimerReload, static_cast<std::uint8_t>(b_seconds / 60),
              static_cast<std::uint8_t>(b_seconds % 60));
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

TEST_F(RightStatusBar, CentreAdjustOnlyInTheLastThreeMinutesOfAFiveOrFourSpeedCycle) {
  struct Case {
    std::uint16_t counter;
    int mode;
    const char* text;
  };
  const Case cases[] = {{3500, 5, "CENTER ADJ... [01:40]"}, {3421, 4, "CENTER ADJ... [02:59]"},
                        {3420, 5, "DRYER STARTED"},         {3600, 5, "CENTER ADJ... [00:00]"},
                        {3700, 5, "CENTER ADJ... [00:00]"},  // past the cycle: never negative
                        {3500, 3, "DRYER STARTED"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.counter);
    CentreAdjust(c.counter, c.mode);
    EXPECT_EQ(Shown().text, c.text);
  }
  CentreAdjust(3500);
  EXPECT_EQ(Shown().colour, kRed);
  EXPECT_EQ(Shown(false).text, kBlank);
  s.Set(sm::kDryingMode, 0x00);
  EXPECT_EQ(Shown().text, "DRYER STARTED");
  CentreAdjust(3500);
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

TEST_F(RightStatusBar, TemperatureHoldShortfallBySelectorAndUnits) {
  s.SetT16(sm::kGrainTempSetpoint, 110);
  s.SetT16(sm::kGrainHighTemp, 130);
  s.SetT16(sm::kGrainLowTemp, 100);
  s.SetT16(sm::kGrainTempSelector0, 95);
  s.SetT16(sm::kGrainTempSelector1, 98);
  s.SetT16(sm::kGrainTempSelector2, 88);

  TempHold(0);
  EXPECT_EQ(Shown().text, Hold(15));
  EXPECT_EQ(Shown().colour, kGreen);
  EXPECT_EQ(Shown(false).text, Shown(true).text);  // steady
  s.Set(sm::kConfigBits, 0x02);                    // dual setpoints: the low one
  EXPECT_EQ(Shown().text, Hold(5));
  s.Set(sm::BurnerStatus(1), 0x10);  // high-heat stage: the high one
  EXPECT_EQ(Shown().text, Hold(35));
  // Selectors 1 and 2 always use the plain setpoint.
  TempHold(1);
  EXPECT_EQ(Shown().text, Hold(12));
  TempHold(2);
  EXPECT_EQ(Shown().text, Hold(22));

  // In degrees C the difference is scaled, not converted as a temperature: 22 F and 10 F.
  EXPECT_EQ(Shown(true, true).text, Hold(12, 'C'));
  s.SetT16(sm::kGrainTempSelector2, 100);
  EXPECT_EQ(Shown(true, true).text, Hold(5, 'C'));

  // A selector that names no sensor shows nothing rather than another state.
  TempHold(3);
  platform::RecordingCanvas canvas;
  PaintRightStatusBar(canvas, s, true, false);
  EXPECT_EQ(canvas.Count<platform::TextCall>(), 0U) << canvas.Describe();
  s.Set(sm::kDryerStateBits, 0);  // not running: the hold does not apply
  EXPECT_EQ(Shown().text, "DRYER STOPPED");
}

TEST_F(RightStatusBar, LoadingColourFollowsTheRemainingFillTimeAndNeverCountsNegative) {
  struct Case {
    int remaining, reload;
    bool show_time;
    const char* text;
    platform::Colour colour;
  };
  const Case cases[] = {
      {180, 600, true, "LOADING...  7:00", kYellow},  // 0.3
      {360, 600, false, "LOADING...", kGreen},        // 0.6
      {300, 600, true, "LOADING...  5:00", kYellow},  // exactly 0.5
      {150, 600, true, "LOADING...  7:30", kRed},     // exactly 0.25
      {1, 65, true, "LOADING...  1:04", kRed},
      {120, 0, true, "LOADING...  0:00", kRed},  // no reload value
      {0, 0, false, "LOADING...", kRed},
      {720, 600, true, "LOADING...  0:00", kGreen},  // more left than the reload
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text + std::to_string(c.remaining));
    Loading(c.remaining, c.reload, c.show_time);
    EXPECT_EQ(Shown().text, c.text);
    EXPECT_EQ(Shown().colour, c.colour);
  }
  // Either activity bit clear means loading.
  s.Set(sm::kLoadingBits, 0);
  s.Set(sm::kDryerActivity, 0x80);
  EXPECT_EQ(Shown().text, "LOADING...");
}

TEST_F(RightStatusBar, UnloadingStoppedCoolingAndStarted) {
  s.Set(sm::kDryerActivity, 0xA0 | 0x40);
  EXPECT_EQ(Shown().text, "UNLOADING...");
  EXPECT_EQ(Shown().colour, kBlue);
  s.Set(sm::kDryerActivity, 0xA0);
  s.Set(sm::kUnloadBits, 0x01);
  s.SetTime(sm::kUnloadCleanoutShown, 2, 5);
  s.Set(sm::kUnloadTextBits, 0x01);
  EXPECT_EQ(Shown().text, "UNLOADING...  2:05");
  s.Set(sm::kUnloadBits, 0x00);

  // Stopped or cooling down by the cool-down phase: only bits 0..1 count.
  for (std::uint8_t phase : {0, 1, 2, 3, 5}) {
    s.Set(sm::kStatusTextSelector, phase);
    const bool cooling = (phase & 3) == 1;
    EXPECT_EQ(Shown().text, cooling ? "DRYER COOLING DOWN" : "DRYER STOPPED") << int{phase};
    EXPECT_EQ(Shown().colour, cooling ? kBlue : kRed) << int{phase};
  }

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
  Loading(360, 600, false);
  EXPECT_EQ(Shown().text, "LOADING...");
  TempHold(1);
  EXPECT_EQ(Shown().text.rfind("TEMP HOLD", 0), 0U);
  AutoMode(9);
  EXPECT_EQ(Shown().text, "M/C AUTO MODE: 9 Minutes");
  CentreAdjust(3500);  // a five-speed mode: auto mode (mode 3) cannot be on at the same time
  EXPECT_EQ(Shown().text, "CENTER ADJ... [01:40]");
  SetBits(sm::kStatusBarBits113 + 5, 0x20);
  const StatusLine on = Shown(true);
  EXPECT_EQ(on.text, "** AIRSWITCH DISABLED **");
  EXPECT_EQ(on.colour, kRed);
  EXPECT_EQ(on.flags & platform::kHorizontalMask, platform::kAlignCentre);
  const StatusLine off = Shown(false);  // the dark half of the blink
  EXPECT_EQ(off.text, kBlank);
  EXPECT_EQ(off.flags & platform::kHorizontalMask, platform::kAlignLeft);
}

TEST_F(RightStatusBar, LongTextsAreSqueezedToFitTheBar) {
  s.SetT16(sm::kGrainTempSetpoint, 300);
  s.SetT16(sm::kGrainTempSelector1, -200);
  TempHold(1);
  platform::RecordingCanvas real(platform::Size{396, 36}, platform::QtTextSize);
  PaintRightStatusBar(real, s, true, false);
  const platform::TextCall* hold = real.FindText(Hold(500));
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
  platform::RecordingCanvas canvas(platform::Size{236, 36});
  PaintLeftStatusBar(canvas, shared.dryer_state, true, {2024, 3, 5, 19, 5, 0, 2});
  EXPECT_EQ(canvas.Texts(),
            (std::vector<std::string>{"7:05 PM", "Tuesday  Mar 05, 2024", "VER: 1.10"}));
  const platform::TextCall* date = canvas.FindText("Tuesday  Mar 05, 2024");
  EXPECT_EQ(date->rect, Rect::FromEdges(65, 0, 240, 20));
  EXPECT_EQ(date->colour, Bgr(0xFFFFFF));
  EXPECT_EQ(date->HorizontalAlignment(), platform::kAlignCentre);

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
    if (k > 1) continue;
    const auto fills = on.All<platform::FillRectCall>();
    ASSERT_EQ(fills.size(), 1U);
    EXPECT_EQ(fills[0]->rect, Rect::FromEdges(2, 2, 229, 29));
    EXPECT_EQ(fills[0]->colour, kRed);
    EXPECT_EQ(on.FindText("AIRFLOW TESTING DISABLED")->colour, Bgr(0x000000));
    platform::RecordingCanvas off;
    PaintLeftStatusBar(off, shared.dryer_state, false, {});
    EXPECT_EQ(off.Count<platform::FillRectCall>(), 0U);
    const platform::TextCall* white = off.FindText("AIRFLOW TESTING DISABLED");
    ASSERT_NE(white, nullptr);
    EXPECT_EQ(white->colour, Bgr(0xFAFAFA));
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
