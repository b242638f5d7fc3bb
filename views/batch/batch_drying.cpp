#include "views/batch/batch_drying.h"

#include <algorithm>
#include <cstdio>
#include <string>

#include "link/status_map.h"
#include "platform/canvas.h"
#include "platform/fitted_text.h"
#include "platform/prompter.h"
#include "views/palette.h"

namespace orvandry::views {

namespace {

namespace sm = link::status_map;
using link::Rec;
using platform::Bgr;
using platform::Canvas;
using platform::Colour;
using platform::Font;
using platform::Point;
using platform::Rect;

constexpr Colour kDryColour = Bgr(0x00C8C8);
constexpr Colour kCoolColour = Bgr(0xFA0000);
constexpr Colour kUnloadColour = Bgr(0x00FA00);
constexpr Colour kGridColour = palette::kLineGrey;

constexpr std::uint8_t kDualDryBit = 0x02;    // byte 257
constexpr std::uint8_t kAveragingBit = 0x40;  // byte 257
constexpr std::uint8_t kModeMask = 0x07;      // byte 187
constexpr std::uint8_t kModeAveraging = 6;
constexpr std::uint8_t kActivityBit = 0x80;  // byte 171
constexpr std::uint8_t kBatchBit13 = 0x01;   // byte 13
constexpr std::uint8_t kBatchBit256 = 0x01;  // byte 256
constexpr sm::Offset kByte256 = 256;

constexpr Font kBigMinutes{66, 900};
constexpr Font kBigSeconds{32, 900};
constexpr Font kDualMinutes{32, 900};
constexpr Font kDualSeconds{20, 900};
constexpr Font kReloadFont{18, 300};
constexpr Font kAveragingFont{16, 400};

constexpr unsigned kRight = platform::kAlignRight | platform::kSingleLine;
constexpr unsigned kLeft = platform::kAlignLeft | platform::kSingleLine;
constexpr unsigned kCentre = platform::kAlignCentre | platform::kSingleLine;

std::string Format(const char* format, int value) {
  char text[16];
  std::snprintf(text, sizeof text, format, value);
  return text;
}

constexpr int kSmallestTextHeight = 8;

void DrawText(Canvas& canvas, Font font, Colour colour, Rect rect, const std::string& text,
              unsigned flags) {
  // Sized for the panel's narrower face: "120 Min 00 Sec" cut at its column would read 20.
  font.weight = std::max(font.weight, palette::kLightestShownWeight);
  platform::FitFont(canvas, text, font, rect.w, kSmallestTextHeight);
  canvas.SetTextColour(palette::OnBlack(colour));
  canvas.Text(rect, text, flags);
}

void DrawMinutes(Canvas& canvas, const link::ByteImage& state, sm::Offset running, Font font,
                 Colour colour, Rect rect) {
  DrawText(canvas, font, colour, rect, Format("%d", state.Get(running)), kRight);
}

void DrawSeconds(Canvas& canvas, const link::ByteImage& state, sm::Offset running, Font font,
                 Colour colour, Rect rect) {
  DrawText(canvas, font, colour, rect, Format("%02d", state.Get(running + 1)), kLeft);
}

void DrawReload(Canvas& canvas, const link::ByteImage& state, sm::Offset reload, Colour colour,
                Rect rect) {
  char text[32];
  std::snprintf(text, sizeof text, "%02d Min %02d Sec", state.Get(reload), state.Get(reload + 1));
  DrawText(canvas, kReloadFont, colour, rect, text, kCentre);
}

// Cool and unload look the same in both layouts.
void DrawCoolAndUnload(Canvas& canvas, const link::ByteImage& state) {
  DrawMinutes(canvas, state, sm::kCoolTimerRunning, kBigMinutes, kCoolColour,
              Rect::FromEdges(120, 15, 220, 90));
  DrawMinutes(canvas, state, sm::kUnloadTimerRunning, kBigMinutes, kUnloadColour,
              Rect::FromEdges(220, 15, 350, 90));
  DrawSeconds(canvas, state, sm::kCoolTimerRunning, kBigSeconds, kCoolColour,
              Rect::FromEdges(220, 55, 280, 135));
  DrawSeconds(canvas, state, sm::kUnloadTimerRunning, kBigSeconds, kUnloadColour,
              Rect::FromEdges(350, 55, 410, 135));
  DrawReload(canvas, state, sm::kCoolTimerReload, kCoolColour, Rect::FromEdges(126, 0, 259, 20));
  DrawReload(canvas, state, sm::kUnloadTimerReload, kUnloadColour,
             Rect::FromEdges(259, 0, 400, 20));
}

void PaintSingle(Canvas& canvas, const link::ByteImage& state) {
  if (AveragingIncomingMoisture(state)) {
    DrawText(canvas, kAveragingFont, kDryColour, Rect::FromEdges(0, 25, 130, 65), "AVERAGING",
             kCentre);
    DrawText(canvas, kAveragingFont, kDryColour, Rect::FromEdges(0, 40, 130, 95), "INCOMING",
             kCentre);
    DrawText(canvas, kAveragingFont, kDryColour, Rect::FromEdges(0, 55, 130, 70), "MOISTURE",
             kCentre);
  } else {
    DrawMinutes(canvas, state, sm::kDryTimerRunning, kBigMinutes, kDryColour,
                Rect::FromEdges(0, 15, 90, 90));
    DrawSeconds(canvas, state, sm::kDryTimerRunning, kBigSeconds, kDryColour,
                Rect::FromEdges(90, 55, 150, 135));
  }
  DrawReload(canvas, state, sm::kDryTimerReload, kDryColour, Rect::FromEdges(0, 0, 126, 20));
  DrawCoolAndUnload(canvas, state);
}

void PaintDual(Canvas& canvas, const link::ByteImage& state) {
  DrawMinutes(canvas, state, sm::kDryTimerRunning, kDualMinutes, kDryColour,
              Rect::FromEdges(0, 20, 70, 60));
  DrawMinutes(canvas, state, sm::kLoHeatDryTimerRunning, kDualMinutes, kDryColour,
              Rect::FromEdges(0, 107, 70, 147));
  DrawSeconds(canvas, state, sm::kDryTimerRunning, kDualSeconds, kDryColour,
              Rect::FromEdges(75, 30, 150, 60));
  DrawSeconds(canvas, state, sm::kLoHeatDryTimerRunning, kDualSeconds, kDryColour,
              Rect::FromEdges(75, 117, 150, 147));
  DrawReload(canvas, state, sm::kDryTimerReload, kDryColour, Rect::FromEdges(0, 0, 126, 20));
  DrawReload(canvas, state, sm::kLoHeatDryTimerReload, kDryColour,
             Rect::FromEdges(0, 87, 126, 107));
  DrawCoolAndUnload(canvas, state);
}

void PaintGrid(Canvas& canvas, bool dual) {
  canvas.Line(Point{126, 0}, Point{126, 170}, kGridColour, 3);
  canvas.Line(Point{259, 0}, Point{259, 170}, kGridColour, 3);
  if (dual) canvas.Line(Point{0, 87}, Point{126, 87}, kGridColour, 3);
  canvas.Line(Point{0, 20}, Point{400, 20}, kGridColour, 1);
  if (dual) canvas.Line(Point{0, 107}, Point{126, 107}, kGridColour, 1);
}

// A timer button's short touch: which reload value it edits, and that timer's limits.
struct TimerCommand {
  int button_id;
  Rec reload;
  std::uint8_t max_minutes;
  std::uint8_t default_minutes;
};
constexpr std::array<TimerCommand, 5> kTimerCommands = {{
    {batch_id::kDry, Rec::kDryTimerReload, 200, 60},
    {batch_id::kHiHeat, Rec::kDryTimerReload, 200, 60},
    {batch_id::kLoHeat, Rec::kLoHeatTimerReload, 200, 60},
    {batch_id::kCool, Rec::kCoolTimerReload, 60, 20},
    {batch_id::kUnload, Rec::kUnloadTimerReload, 60, 10},
}};

// A long press: the reload value copied into the running value's request bytes.
struct ReloadTarget {
  sm::Offset reload;
  Rec running;
};
constexpr ReloadTarget kReloadTargets[] = {
    {sm::kDryTimerReload, Rec::kDryTimerRunning},
    {sm::kLoHeatDryTimerReload, Rec::kLoHeatTimerRunning},
    {sm::kCoolTimerReload, Rec::kCoolTimerRunning},
    {sm::kUnloadTimerReload, Rec::kUnloadTimerRunning},
};

}  // namespace

BatchButtonVisibility BatchTimerButtons(const link::ByteImage& state) {
  bool split = false;
  switch (state.Get(sm::kBatchSelector)) {
    case 0:
      split = false;
      break;
    case 3:
      split = true;
      break;
    default:
      split = DualDryTimers(state);
      break;
  }
  return BatchButtonVisibility{split, split, !split};
}

bool DualDryTimers(const link::ByteImage& state) {
  return (state.Get(sm::kConfigBits) & kDualDryBit) != 0;
}

bool AveragingIncomingMoisture(const link::ByteImage& state) {
  return (state.Get(sm::kConfigBits) & kAveragingBit) != 0 &&
         (state.Get(sm::kMeteringMode) & kModeMask) == kModeAveraging &&
         (state.Get(sm::kDryerActivity) & kActivityBit) == 0 &&
         (state.Get(sm::kBatchBits13) & kBatchBit13) == 0 &&
         (state.Get(kByte256) & kBatchBit256) == 0;
}

void PaintBatchDrying(Canvas& canvas, const link::ByteImage& state) {
  canvas.SetBackgroundMode(platform::BackgroundMode::kTransparent);
  const bool dual = DualDryTimers(state);
  if (dual) {
    PaintDual(canvas, state);
  } else {
    PaintSingle(canvas, state);
  }
  PaintGrid(canvas, dual);
}

std::optional<setup::TimerEntry> OpenBatchTimerEntry(link::LinkShared& shared, int button_id) {
  for (const TimerCommand& command : kTimerCommands) {
    if (command.button_id != button_id) continue;
    setup::TimerLimits limits;
    limits.max_minutes = command.max_minutes;
    limits.default_minutes = command.default_minutes;
    return setup::TimerEntry::Open(shared, command.reload, limits);
  }
  return std::nullopt;
}

std::vector<int> BatchReloadHolds::Tick(const Held& held, link::LinkShared& shared,
                                        platform::Prompter& prompter) {
  std::vector<int> asked;
  // A question is modal, and the 1 s tick keeps running inside it. Those nested ticks must not
  // count the still-pressed button towards a second question behind the first.
  if (asking_) return asked;
  asking_ = true;
  const char* dry_question = held.dry
                                 ? "Reload DRY TIMER with %d minutes and %02d seconds?"
                                 : "Reload HI-HEAT DRY TIMER with %d minutes and %02d seconds?";
  if (Step(kDryTimer, held.dry || held.hi_heat, dry_question, shared, prompter))
    asked.push_back(held.dry ? batch_id::kDry : batch_id::kHiHeat);
  if (Step(kLoHeatTimer, held.lo_heat, "Reload LO-HEAT DRY TIMER with %d minutes and %02d seconds?",
           shared, prompter))
    asked.push_back(batch_id::kLoHeat);
  if (Step(kCoolTimer, held.cool, "Reload COOL TIMER with %d minutes and %02d seconds?", shared,
           prompter))
    asked.push_back(batch_id::kCool);
  if (Step(kUnloadTimer, held.unload, "Reload UNLOAD TIMER with %d minutes and %02d seconds?",
           shared, prompter))
    asked.push_back(batch_id::kUnload);
  asking_ = false;
  return asked;
}

bool BatchReloadHolds::Step(Timer timer, bool held, const char* question, link::LinkShared& shared,
                            platform::Prompter& prompter) {
  int& counter = counters_[timer];
  if (!held) {
    counter = 1;
    return false;
  }
  if (counter != 0) {
    --counter;
    return false;
  }
  counter = 1;
  const ReloadTarget& target = kReloadTargets[timer];
  // The value written is the one the question names, even if the controller changes the reload
  // value while the question is open.
  const std::uint8_t value[2] = {shared.dryer_state.Get(target.reload),
                                 shared.dryer_state.Get(target.reload + 1)};
  char text[96];
  std::snprintf(text, sizeof text, question, value[0], value[1]);
  const platform::Answer answer = prompter.Ask(
      text, "RELOAD TIMER REQUEST", platform::Buttons::kYesNo, platform::Icon::kQuestion);
  if (answer == platform::Answer::kYes) {
    shared.RequestWrite(target.running, link::RecordOf(target.running).target_offset(), value, 2);
  }
  return true;
}

}  // namespace orvandry::views
