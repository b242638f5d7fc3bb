#include "views/status/status_bars.h"

#include <algorithm>
#include <array>
#include <cstdio>

#include "link/status_map.h"
#include "views/palette.h"
#include "views/status/fitted_text.h"
#include "views/temperature_format.h"

namespace orvandry::views {

namespace sm = link::status_map;
using platform::Bgr;
using platform::Colour;
using platform::Font;

namespace {

using palette::kBlack;
using palette::kBlue;
using palette::kGreen;
using palette::kRed;
using palette::kWhite;
using palette::kYellow;

constexpr Font kStatusFont{34, 900};
constexpr Font kAutoModeFont{30, 900};
constexpr Colour kDarkRed = Bgr(0x0000C8);
constexpr Colour kLightGreen = Bgr(0x00FF64);

constexpr unsigned kCentred = platform::kAlignCentre | platform::kSingleLine;
constexpr unsigned kLeft = platform::kAlignLeft | platform::kSingleLine;

// The "off" half of a blinking warning: sixteen spaces leave the bar black, yet still go through
// the same text call as the warning, so the bar is redrawn identically on every tick.
constexpr const char* kBlankLine = "                ";

constexpr std::uint8_t kAirswitchDisabled = 0x20;  // byte 118
constexpr std::uint8_t kRunning = 0x40;            // byte 188
constexpr std::uint8_t kCentreAdjustMode = 0x80;   // byte 224
constexpr std::uint8_t kTemperatureHold = 0x08;    // byte 224
constexpr std::uint8_t kLearningActive = 0x04;     // byte 179
constexpr std::uint8_t kMcActivity = 0x08;         // byte 171
constexpr std::uint8_t kHighHeatStage = 0x10;      // burner status of fan/heater 1
constexpr std::uint8_t kAirflowTestDisabled = 0x04;
constexpr int kCentreAdjustCycle = 3600;  // seconds
constexpr int kCentreAdjustNotice = 180;  // the last three minutes are announced
constexpr int kAutoModeSteadyMinutes = 6;

// A temperature *difference* in degrees F as degrees C: only the 5/9 scale applies, truncated
// toward zero like every shown temperature. fahrenheit_to_celsius would also subtract 32, which
// turns a 10 F shortfall into -12 C.
int FahrenheitDifferenceToCelsius(int delta_f) {
  return delta_f * 5 / 9;
}

StatusLine Line(std::string text, Colour colour, Font font = kStatusFont,
                unsigned flags = kCentred) {
  return StatusLine{std::move(text), colour, font, flags};
}

StatusLine Blinking(std::string text, Colour colour, bool blink_on) {
  return blink_on ? Line(std::move(text), colour) : Line(kBlankLine, colour, kStatusFont, kLeft);
}

}  // namespace

StatusLine RightStatusLine(const link::ByteImage& state, bool blink_on, bool si_units) {
  const bool running = (state.Get(sm::kDryerStateBits) & kRunning) != 0;
  const std::uint8_t drying_mode = state.Get(sm::kDryingMode);
  const int mc_mode = state.Get(sm::kMeteringMode) & 0x07;
  const std::uint8_t activity = state.Get(sm::kDryerActivity);
  char buffer[64];

  if ((state.Get(sm::kStatusBarBits113 + 5) & kAirswitchDisabled) != 0)
    return Blinking("** AIRSWITCH DISABLED **", kRed, blink_on);

  const int remaining = kCentreAdjustCycle - state.GetLe16(sm::kCentreAdjustCounter);
  if (remaining < kCentreAdjustNotice && running && (drying_mode & kCentreAdjustMode) != 0 &&
      (mc_mode == 5 || mc_mode == 4)) {
    // A counter past the end of its cycle would count negative; the adjust is then due, so it is
    // announced as 00:00 in the same blinking red.
    const int left = std::max(remaining, 0);
    std::snprintf(buffer, sizeof buffer, "CENTER ADJ... [%02d:%02d]", left / 60, left % 60);
    return Blinking(buffer, kRed, blink_on);
  }

  const int learning_minutes = state.Get(sm::kMcLearningMinutes);
  if (learning_minutes != 0 && (state.Get(sm::kStatusBits179) & kLearningActive) != 0 &&
      (activity & kMcActivity) != 0 && mc_mode == 3) {
    std::snprintf(buffer, sizeof buffer, "M/C AUTO MODE: %d Minutes", learning_minutes);
    if (learning_minutes >= kAutoModeSteadyMinutes) return Line(buffer, kLightGreen, kAutoModeFont);
    // The last minutes flash; the dark half draws nothing at all.
    return Line(blink_on ? buffer : "", kDarkRed, kAutoModeFont);
  }

  if ((drying_mode & kTemperatureHold) != 0 && running) {
    int grain = 0;
    int setpoint = state.GetT16(sm::kGrainTempSetpoint);
    switch (state.Get(sm::kGrainTempSelector)) {
      case 0:
        grain = state.GetT16(sm::kGrainTempSelector0);
        if ((state.Get(sm::kConfigBits) & 0x02) != 0) {
          setpoint = (state.Get(sm::BurnerStatus(1)) & kHighHeatStage) != 0
                         ? state.GetT16(sm::kGrainHighTemp)
                         : state.GetT16(sm::kGrainLowTemp);
        }
        break;
      case 1:
        grain = state.GetT16(sm::kGrainTempSelector1);
        break;
      case 2:
        grain = state.GetT16(sm::kGrainTempSelector2);
        break;
      default:
        // No grain temperature governs: the hold is on, but there is no shortfall to show, so
        // the bar stays black rather than falling through to a state that is not the dryer's.
        return Line("", kGreen);
    }
    const int shortfall_f = setpoint - grain;
    const int shortfall = si_units ? FahrenheitDifferenceToCelsius(shortfall_f) : shortfall_f;
    std::snprintf(buffer, sizeof buffer, "TEMP HOLD... [- %d \xB0%c]", shortfall,
                  si_units ? 'C' : 'F');
    return Line(buffer, kGreen);
  }

  if ((activity & 0x80) == 0 || (activity & 0x20) == 0) {
    const int a = static_cast<int>(state.GetTimeSeconds(sm::kFillTimeRemaining));
    const int b = static_cast<int>(state.GetTimeSeconds(sm::kFillTimerReload));
    // Without a reload value there is no fraction of the fill time left to judge; red, as for a
    // fill timer that has (nearly) run out, keeps the operator's eye on the loading.
    Colour colour = kRed;
    if (b > 0) {
      const double ratio = static_cast<double>(a) / b;
      colour = ratio > 0.5 ? kGreen : ratio > 0.25 ? kYellow : kRed;
    }
    if ((state.Get(sm::kLoadingBits) & 0x01) == 0) return Line("LOADING...", colour);
    // The time spent loading never shows negative, also when the remaining time exceeds the
    // reload value (a reload lowered during the load, or none at all).
    const int elapsed = std::max(b - a, 0);
    std::snprintf(buffer, sizeof buffer, "LOADING...  %d:%02d", elapsed / 60, elapsed % 60);
    return Line(buffer, colour);
  }

  if ((state.Get(sm::kUnloadBits) & 0x01) != 0 || (activity & 0x40) != 0) {
    if ((state.Get(sm::kUnloadTextBits) & 0x01) == 0) return Line("UNLOADING...", kBlue);
    std::snprintf(buffer, sizeof buffer, "UNLOADING...  %d:%02d",
                  state.Get(sm::kUnloadCleanoutShown), state.Get(sm::kUnloadCleanoutShown + 1));
    return Line(buffer, kBlue);
  }

  if (!running) {
    if ((state.Get(sm::kStatusTextSelector) & 0x03) == 1) return Line("DRYER COOLING DOWN", kBlue);
    return Line("DRYER STOPPED", kRed);
  }
  if ((state.Get(sm::kConfigBits) & 0x01) != 0 && state.Get(sm::kBatchSelector) == 1)
    return Line("UNLOAD HOLD", kRed);
  return Line("DRYER STARTED", kGreen);
}

void PaintRightStatusBar(platform::Canvas& canvas, const link::ByteImage& state, bool blink_on,
                         bool si_units) {
  const platform::Size size = canvas.GetSize();
  canvas.FillRect(platform::Rect{0, 0, size.w, size.h}, kBlack);
  const StatusLine line = RightStatusLine(state, blink_on, si_units);
  if (line.text.empty()) return;
  canvas.SetBackgroundMode(platform::BackgroundMode::kTransparent);
  canvas.SetTextColour(line.colour);
  DrawFitted(canvas, kStatusTextRect, line.text, line.font, line.flags);
}

namespace {

constexpr std::array<const char*, 7> kWeekdays = {"Sunday",   "Monday", "Tuesday", "Wednesday",
                                                  "Thursday", "Friday", "Saturday"};
constexpr std::array<const char*, 12> kMonths = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                                 "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
constexpr Font kSystemFont{};  // the panel's default font for small print
constexpr Colour kNearWhite = Bgr(0xFAFAFA);
constexpr int kVersionMajor = 1;
constexpr int kVersionMinor = 10;

}  // namespace

std::string FormatStatusBarTime(const platform::LocalDateTime& now) {
  const int hour12 = now.hour % 12 == 0 ? 12 : now.hour % 12;
  char buffer[16];
  std::snprintf(buffer, sizeof buffer, "%d:%02d %s", hour12, now.minute % 60,
                now.hour < 12 ? "AM" : "PM");
  return buffer;
}

std::string FormatStatusBarDate(const platform::LocalDateTime& now) {
  const auto weekday = static_cast<std::size_t>(std::clamp(now.weekday, 0, 6));
  const auto month = static_cast<std::size_t>(std::clamp(now.month, 1, 12) - 1);
  char buffer[48];
  std::snprintf(buffer, sizeof buffer, "%s  %s %02d, %d", kWeekdays[weekday], kMonths[month],
                now.day, now.year);
  return buffer;
}

void PaintLeftStatusBar(platform::Canvas& canvas, const link::ByteImage& state, bool blink_on,
                        const platform::LocalDateTime& now) {
  bool airflow_test_disabled = false;
  for (int k = 1; k <= 6; ++k)
    airflow_test_disabled |= (state.Get(sm::BurnerStatus(k)) & kAirflowTestDisabled) != 0;

  canvas.SetFont(kSystemFont);
  if (!airflow_test_disabled) {
    canvas.SetBackgroundMode(platform::BackgroundMode::kTransparent);
    canvas.SetTextColour(kWhite);
    canvas.Text(platform::Rect::FromEdges(5, 0, 80, 20), FormatStatusBarTime(now), kLeft);
    canvas.Text(platform::Rect::FromEdges(65, 0, 240, 20), FormatStatusBarDate(now), kCentred);
    char version[24];
    std::snprintf(version, sizeof version, "VER: %d.%02d", kVersionMajor, kVersionMinor);
    canvas.Text(platform::Rect::FromEdges(5, 15, 240, 30), version, kLeft);
    return;
  }
  const platform::Rect box = platform::Rect::FromEdges(2, 2, 229, 29);
  canvas.SetBackgroundMode(platform::BackgroundMode::kOpaque);
  if (blink_on) {
    canvas.FillRect(box, kRed);
    canvas.SetTextColour(kBlack);
    canvas.SetBackgroundColour(kRed);
  } else {
    canvas.SetTextColour(kNearWhite);
    canvas.SetBackgroundColour(kBlack);
  }
  canvas.Text(box, "AIRFLOW TESTING DISABLED", kCentred);
}

}  // namespace orvandry::views
