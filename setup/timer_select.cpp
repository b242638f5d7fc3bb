#include "setup/timer_select.h"

#include <cstdio>

#include "link/status_map.h"
#include "platform/canvas.h"

namespace orvandry::setup {

namespace {

namespace sm = link::status_map;
using platform::Point;
using platform::Rect;

constexpr platform::Colour kBlue = platform::Rgb(0, 0, 255);
constexpr platform::Colour kRed = platform::Rgb(255, 0, 0);
constexpr platform::Colour kBlack = platform::Rgb(0, 0, 0);
constexpr platform::Colour kGreen = platform::Rgb(17, 125, 10);
constexpr platform::Colour kPurple = platform::Rgb(176, 0, 255);
constexpr platform::Colour kDarkBlue = platform::Rgb(16, 0, 192);

// The panels' texts are in the display's default font.
constexpr platform::Font kPanelFont{};

// Bit of the mode byte set while the previous load's duration is not being timed.
constexpr std::uint8_t kLoadTimingUnavailable = 0x08;

template <typename... Args>
std::string Bounded(std::size_t length, const char* format, Args... args) {
  char text[64];
  std::snprintf(text, sizeof text, format, args...);
  std::string line(text);
  if (line.size() > length) line.resize(length);
  return line;
}

void Say(platform::Canvas& canvas, Point at, platform::Colour colour, const char* text) {
  canvas.SetTextColour(colour);
  canvas.TextAt(at, text);
}

// "Reload Value" over the timer's minutes and seconds, the value boxes starting at `top`.
void ReloadValue(platform::Canvas& canvas, int label_y, const link::ByteImage& state,
                 std::size_t offset) {
  Say(canvas, {215, label_y}, kBlue, "Reload Value");
  const int top = label_y + 15;
  canvas.SetTextColour(kRed);
  canvas.Text(Rect::FromEdges(215, top, 300, top + 15),
              Bounded(12, "%03d Minutes", state.Get(offset)), platform::kSingleLine);
  canvas.Text(Rect::FromEdges(215, top + 15, 300, top + 30),
              Bounded(12, "%02d Seconds", state.Get(offset + 1)), platform::kSingleLine);
}

void DefaultAndRange(platform::Canvas& canvas, const char* default_line, const char* range_line) {
  Say(canvas, {5, 125}, kPurple, default_line);
  Say(canvas, {5, 140}, kDarkBlue, range_line);
}

}  // namespace

const TimerButtonDef* FindTimerButton(int id) {
  for (const TimerButtonDef& def : kTimerButtons)
    if (def.id == id) return &def;
  return nullptr;
}

TimerEntry OpenTimerEntry(link::LinkShared& shared, const TimerButtonDef& def) {
  return TimerEntry::Open(shared, def.record, def.limits);
}

std::string PreviousLoadLine(std::uint32_t seconds) {
  return Bounded(kPreviousLoadLineLength, "was %03u Minutes and %02u Seconds.", seconds / 60,
                 seconds % 60);
}

void PaintTimerPanel(platform::Canvas& canvas, TimerPanel panel, const link::LinkShared& shared) {
  const link::ByteImage& state = shared.dryer_state;
  canvas.SetFont(kPanelFont);
  canvas.SetBackgroundMode(platform::BackgroundMode::kTransparent);
  switch (panel) {
    case TimerPanel::kLoadDelay:
      ReloadValue(canvas, 10, state, sm::kLoadStartupDelay);
      Say(canvas, {5, 70}, kBlack, "Sets the minimum time delay between dryer calling");
      Say(canvas, {5, 90}, kBlack, "for grain and the start of the load motor.");
      DefaultAndRange(canvas, "[Default = 2 Minute]", "[Range is 30 Seconds to 10 Minutes]");
      break;
    case TimerPanel::kOutOfGrain:
      ReloadValue(canvas, 10, state, sm::kFillTimerReload);
      if ((state.Get(sm::kStatusBits179) & kLoadTimingUnavailable) != 0) {
        Say(canvas, {5, 60}, kGreen, "Previous Load Timer is only");
        Say(canvas, {5, 75}, kGreen, "functional when load is in Auto");
      } else {
        Say(canvas, {5, 60}, kGreen, "Value for previous load operation");
        canvas.TextAt({5, 75}, PreviousLoadLine(
                                   shared.previous_load_duration.load(std::memory_order_relaxed)));
      }
      Say(canvas, {5, 100}, kBlack, "Sets maximum time allowed for dryer to fill.");
      DefaultAndRange(canvas, "[Default = 8 Minutes]", "[Range is 0 to 30 Minutes]");
      break;
    case TimerPanel::kFan:
      ReloadValue(canvas, 3, state, sm::kFanStartDelay);
      Say(canvas, {5, 58}, kBlack, "Time delay between multiple fan startup");
      ReloadValue(canvas, 80, state, sm::kCoolDownTimer);
      Say(canvas, {5, 135}, kBlack, "Time period fans will run after a shutdown");
      break;
    case TimerPanel::kUnloadDelay:
      ReloadValue(canvas, 10, state, sm::kUnloadCleanoutDelay);
      Say(canvas, {5, 70}, kBlack, "Sets the amount of time unload auger(s) run after");
      Say(canvas, {5, 90}, kBlack, "unload system is turned off.");
      DefaultAndRange(canvas, "[Default = 1 Minute]", "[Range is 0 to 10 Minutes]");
      break;
  }
}

}  // namespace orvandry::setup
