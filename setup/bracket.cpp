#include "setup/bracket.h"

#include <algorithm>
#include <cstdio>

#include "link/status_map.h"
#include "platform/canvas.h"
#include "platform/prompter.h"
#include "setup/timer_entry.h"

namespace orvandry::setup {

namespace {

namespace sm = link::status_map;
namespace id = bracket_id;
using link::Rec;

constexpr std::size_t kOuter = sm::kBracketSettings;
constexpr std::size_t kInner = sm::kBracketSettings + 1;
constexpr std::size_t kOuterSpeed = sm::kBracketSettings + 2;
constexpr std::size_t kInnerSpeed = sm::kBracketSettings + 3;
constexpr Rec kRecords[] = {Rec::kBracket226, Rec::kBracket227, Rec::kBracket228, Rec::kBracket229};
constexpr std::uint8_t kModeBits = 0x07;
constexpr std::uint8_t kMoistureFiveSpeed = 4;

// The step limits of one unit: moisture in 0.1 % or temperature in degrees F.
struct Limits {
  int outer_max;
  int outer_min;
  int inner_max;
  int outer_default;
  int inner_default;
};
constexpr Limits kMoistureLimits{30, 3, 6, 6, 3};
constexpr Limits kTemperatureLimits{5, 2, 2, 3, 1};
constexpr int kInnerMin = 1;
constexpr int kOuterSpeedMax = 30;
constexpr int kOuterSpeedMin = 3;
constexpr int kInnerSpeedMax = 10;
constexpr int kSpeedDefaults[2] = {6, 3};
constexpr int kDegree = 0xB0;

std::string Format(const char* format, int a, int b = 0) {
  char text[32];
  std::snprintf(text, sizeof text, format, a, b);
  return text;
}

}  // namespace

Bracket::Bracket(link::LinkShared& shared, std::uint8_t metering_mode)
    : shared_(shared), edit_(shared), moisture_((metering_mode & kModeBits) == kMoistureFiveSpeed) {
  edit_.Load({Rec::kBracket226, Rec::kBracket227, Rec::kBracket228, Rec::kBracket229});
}

Bracket::Values Bracket::Current() const {
  return Values{edit_.Get(kOuter), edit_.Get(kInner), edit_.Get(kOuterSpeed),
                edit_.Get(kInnerSpeed)};
}

void Bracket::Put(const Values& v) {
  edit_.Set(kOuter, v.outer);
  edit_.Set(kInner, v.inner);
  edit_.Set(kOuterSpeed, v.outer_speed);
  edit_.Set(kInnerSpeed, v.inner_speed);
}

void Bracket::Select() {
  row_ = row_ == Row::kOuter ? Row::kInner : Row::kOuter;
}

// Each step is taken only when its result lies within the limits, so no pair ever ends with the
// inner value beyond the outer one.
void Bracket::BracketInc() {
  const Limits& limits = moisture_ ? kMoistureLimits : kTemperatureLimits;
  Values v = Current();
  if (row_ == Row::kOuter) {
    if (v.outer + 1 <= limits.outer_max) ++v.outer;
  } else if (v.inner + 1 <= v.outer && v.inner + 1 <= limits.inner_max) {
    ++v.inner;
  }
  Put(v);
}

void Bracket::BracketDec() {
  const Limits& limits = moisture_ ? kMoistureLimits : kTemperatureLimits;
  Values v = Current();
  if (row_ == Row::kOuter) {
    if (v.outer - 1 >= v.inner && v.outer - 1 >= limits.outer_min) --v.outer;
  } else if (v.inner - 1 >= kInnerMin) {
    --v.inner;
  }
  Put(v);
}

void Bracket::SpeedInc() {
  Values v = Current();
  if (row_ == Row::kOuter) {
    if (v.outer_speed + 1 <= kOuterSpeedMax) ++v.outer_speed;
  } else if (v.inner_speed + 1 <= v.outer_speed && v.inner_speed + 1 <= kInnerSpeedMax) {
    ++v.inner_speed;
  }
  Put(v);
}

void Bracket::SpeedDec() {
  Values v = Current();
  if (row_ == Row::kOuter) {
    if (v.outer_speed - 1 > v.inner_speed && v.outer_speed - 1 >= kOuterSpeedMin) --v.outer_speed;
  } else if (v.inner_speed - 1 >= kInnerMin) {
    --v.inner_speed;
  }
  Put(v);
}

void Bracket::Defaults() {
  const Limits& limits = moisture_ ? kMoistureLimits : kTemperatureLimits;
  Put(Values{static_cast<std::uint8_t>(limits.outer_default),
             static_cast<std::uint8_t>(limits.inner_default),
             static_cast<std::uint8_t>(kSpeedDefaults[0]),
             static_cast<std::uint8_t>(kSpeedDefaults[1])});
}

link::CommitResult Bracket::Send(platform::Prompter& prompter) {
  bool changed = false;
  for (Rec rec : kRecords) changed = changed || edit_.Changed(rec);
  if (!changed) return link::CommitResult::kUnchanged;
  for (Rec rec : kRecords) {
    if (edit_.CommitIfChanged(rec) == link::CommitResult::kNotConnected) {
      prompter.Ask(kNotConnectedText, kNotConnectedCaption, platform::Buttons::kOk,
                   platform::kExclamation);
      return link::CommitResult::kNotConnected;
    }
  }
  return link::CommitResult::kSent;
}

Bracket::Table Bracket::Shown() const {
  const Values v = Current();
  const int medium = shared_.dryer_state.Get(sm::kMeteringCopySource);
  Table t;
  if (moisture_) {
    t.group = "MOISTURE ";
    const int setpoint = shared_.dryer_state.GetBe16(sm::kMoistureSetpoint);
    t.value[2] = Format("%d.%d %%", setpoint / 10, setpoint % 10);
    t.value[0] = Format("+%01d.%d %%", v.outer / 10, v.outer % 10);
    t.value[1] = Format("+%01d.%d %%", v.inner / 10, v.inner % 10);
    t.value[3] = Format("-%01d.%d %%", v.inner / 10, v.inner % 10);
    t.value[4] = Format("-%01d.%d %%", v.outer / 10, v.outer % 10);
  } else {
    t.group = "TEMPERATURE";
    // The panel's texts are Latin-1: 0xB0 is the degree sign.
    const int setpoint = shared_.dryer_state.GetT16(sm::kGrainTempSetpoint);
    t.value[2] = Format("%d %cF", setpoint, kDegree);
    t.value[0] = Format("+%01d %cF", v.outer, kDegree);
    t.value[1] = Format("+%01d %cF", v.inner, kDegree);
    t.value[3] = Format("-%01d %cF", v.inner, kDegree);
    t.value[4] = Format("-%01d %cF", v.outer, kDegree);
  }
  t.speed[0] = Format("+%d", v.outer_speed * 10);
  t.speed[1] = Format("+%d", v.inner_speed * 10);
  t.speed[2] = Format("%d", medium * 10);
  t.speed[3] = Format("-%d", v.inner_speed * 10);
  t.speed[4] = Format("-%d", v.outer_speed * 10);
  // Wetter grain leaves more slowly; hotter grain faster.
  const int wetter = moisture_ ? -1 : 1;
  const auto actual = [medium](int offset) {
    return Format("%d", std::max(0, medium + offset) * 10);
  };
  t.actual[0] = actual(wetter * v.outer_speed);
  t.actual[1] = actual(wetter * v.inner_speed);
  t.actual[2] = actual(-wetter * v.inner_speed);
  t.actual[3] = actual(-wetter * v.outer_speed);
  return t;
}

Bracket::Outcome Bracket::Press(int control_id, platform::Prompter& prompter) {
  switch (control_id) {
    case id::kSelect:
      Select();
      break;
    case id::kBracketInc:
      BracketInc();
      break;
    case id::kBracketDec:
      BracketDec();
      break;
    case id::kSpeedInc:
      SpeedInc();
      break;
    case id::kSpeedDec:
      SpeedDec();
      break;
    case id::kDefaults:
      Defaults();
      break;
    case id::kAccept:
      Send(prompter);
      return Outcome::kClosed;
    case id::kCancel:
      return Outcome::kClosed;
    default:
      break;
  }
  return Outcome::kKeepOpen;
}

void PaintBracket(platform::Canvas& canvas, const Bracket& bracket) {
  using platform::Rect;
  using platform::Rgb;
  constexpr unsigned kCentred =
      platform::kAlignCentre | platform::kAlignVCentre | platform::kSingleLine;
  constexpr unsigned kLeft = platform::kAlignLeft | platform::kAlignVCentre | platform::kSingleLine;
  static constexpr const char* kRowNames[5] = {"POSITIVE OUTER LIMIT", "POSITIVE INNER LIMIT",
                                               "SETPOINT", "NEGATIVE INNER LIMIT",
                                               "NEGATIVE OUTER LIMIT"};
  const Bracket::Table table = bracket.Shown();
  canvas.SetBackgroundMode(platform::BackgroundMode::kTransparent);
  canvas.SetTextColour(Rgb(0, 0, 0));
  // Group titles and column heads.
  canvas.SetFont(platform::Font{13, 700});
  canvas.Text(Rect{kBracketValueColumn.x - 4, 2, kBracketValueColumn.w + 8, 16}, table.group,
              kCentred);
  canvas.Text(Rect{kBracketSpeedColumn.x - 4, 2,
                   kBracketActualColumn.x + kBracketActualColumn.w - kBracketSpeedColumn.x + 8, 16},
              "METERING SPEED", kCentred);
  canvas.SetFont(platform::Font{12, 400});
  canvas.Text(Rect{kBracketValueColumn.x, 16, kBracketValueColumn.w, 14}, "Offset", kCentred);
  canvas.Text(Rect{kBracketSpeedColumn.x, 16, kBracketSpeedColumn.w, 14}, "Offset", kCentred);
  canvas.Text(Rect{kBracketActualColumn.x, 16, kBracketActualColumn.w, 14}, "Actual", kCentred);
  const auto box = [&](const Rect& column, int row, const std::string& text) {
    const Rect r{column.x, kBracketRowY[row] - kBracketRowHeight / 2, column.w, kBracketRowHeight};
    canvas.FillRect(r, Rgb(255, 255, 255));
    canvas.RectOutline(r, Rgb(96, 96, 96), 1);
    canvas.Text(r, text, kCentred);
  };
  for (int row = 0; row < 5; ++row) {
    canvas.SetFont(platform::Font{12, 700});
    canvas.Text(Rect{6, kBracketRowY[row] - 9, 144, 18}, kRowNames[row], kLeft);
    canvas.SetFont(platform::Font{14, 700});
    box(kBracketValueColumn, row, table.value[row]);
    box(kBracketSpeedColumn, row, table.speed[row]);
    if (row != 2) box(kBracketActualColumn, row, table.actual[row < 2 ? row : row - 1]);
  }
  // The selected pair of rows, framed in red.
  const int top = bracket.Selected() == Bracket::Row::kOuter ? 0 : 1;
  for (int row : {top, 4 - top}) {
    const Rect frame{kBracketFrameLeft, kBracketRowY[row] - kBracketRowHeight / 2 - 3,
                     kBracketFrameRight - kBracketFrameLeft, kBracketRowHeight + 6};
    canvas.RectOutline(frame, Rgb(250, 0, 0), 3);
  }
}

}  // namespace orvandry::setup
