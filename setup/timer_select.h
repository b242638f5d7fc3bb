#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

#include "link/link_shared.h"
#include "link/pending_write.h"
#include "platform/colour.h"
#include "platform/geometry.h"
#include "setup/selection_screens.h"
#include "setup/timer_entry.h"

namespace orvandry::platform {
class Canvas;
class PictureButton;
class Prompter;
}  // namespace orvandry::platform

namespace orvandry::setup {

// The timer board's buttons.
namespace timer_select_id {
inline constexpr int kLoadDelay = 34832;
inline constexpr int kOutOfGrain = 34833;
inline constexpr int kFanDelay = 34834;
inline constexpr int kUnloadDelay = 34835;
inline constexpr int kCoolDown = 34838;
}  // namespace timer_select_id

// The four panels of the board, in client coordinates of the board.
enum class TimerPanel : std::uint8_t { kLoadDelay, kOutOfGrain, kFan, kUnloadDelay };
struct TimerPanelDef {
  TimerPanel panel;
  const char* class_name;
  const char* caption;
  int x, y;
};
inline constexpr int kTimerPanelWidth = 314;
inline constexpr int kTimerPanelHeight = 190;
inline constexpr platform::Colour kTimerPanelBackground = platform::Rgb(192, 192, 192);
inline constexpr std::array<TimerPanelDef, 4> kTimerPanels = {{
    {TimerPanel::kLoadDelay, "LOAD_DELAY_CHILD_WINDOW", " Load Startup Delay", 0, 0},
    {TimerPanel::kOutOfGrain, "OUT_OF_GRAIN_CHILD_WINDOW", " Out of Grain Timer", 316, 0},
    {TimerPanel::kFan, "FAN_DELAY_CHILD_WINDOW", " Fan Setup", 0, 191},
    {TimerPanel::kUnloadDelay, "UNLOAD_DELAY_CHILD_WINDOW", " Unload Cleanout Delay", 316, 191},
}};

// One timer of the board: its button (in its panel's client area), the record it edits and the
// limits and default the entry dialog gets.
struct TimerButtonDef {
  int id;
  const char* window_text;
  TimerPanel panel;
  int x, y;
  int normal_face, pressed_face;
  link::Rec record;
  TimerLimits limits;  // min m:s, max m:s, default m:s
};
inline constexpr int kTimerButtonWidth = 200;
inline constexpr int kTimerButtonHeight = 50;
inline constexpr std::array<TimerButtonDef, 5> kTimerButtons = {{
    {timer_select_id::kLoadDelay, "LOAD DELAY", TimerPanel::kLoadDelay, 3, 10, 603, 602,
     link::Rec::kLoadStartupDelay, TimerLimits{0, 30, 10, 0, 2, 0}},
    {timer_select_id::kOutOfGrain, "OOG TIMER", TimerPanel::kOutOfGrain, 3, 10, 605, 604,
     link::Rec::kFillTimer, TimerLimits{0, 0, 30, 0, 8, 0}},
    {timer_select_id::kFanDelay, "FAN DELAY", TimerPanel::kFan, 3, 3, 607, 606,
     link::Rec::kFanStartDelay, TimerLimits{0, 1, 0, 25, 0, 3}},
    {timer_select_id::kCoolDown, "COOL DOWN TIMER", TimerPanel::kFan, 3, 80, 609, 608,
     link::Rec::kCoolDownTimer, TimerLimits{0, 0, 60, 0, 0, 0}},
    {timer_select_id::kUnloadDelay, "UNLOAD DELAY", TimerPanel::kUnloadDelay, 3, 10, 611, 610,
     link::Rec::kUnloadCleanoutDelay, TimerLimits{0, 0, 10, 0, 1, 0}},
}};

// The button by id, or null.
const TimerButtonDef* FindTimerButton(int id);

// What a timer button does before its dialog opens: the entry record for that timer, starting
// from the controller's value (or from a change still on its way), with the timer's limits.
// Opening sends nothing.
TimerEntry OpenTimerEntry(link::LinkShared& shared, const TimerButtonDef& def);

// The fill-timer panel's report of the previous load: "was %03d Minutes and %02d Seconds.", at
// most 31 characters. A load of 1000 minutes or more (up to a day) has four digits: what does not
// fit is its closing full stop, never a digit of the time.
std::string PreviousLoadLine(std::uint32_t seconds);
inline constexpr std::size_t kPreviousLoadLineLength = 31;

// Draws one panel's contents (its client area) from the controller's values.
void PaintTimerPanel(platform::Canvas& canvas, TimerPanel panel, const link::LinkShared& shared);

}  // namespace orvandry::setup
