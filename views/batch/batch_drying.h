#pragma once

#include <array>
#include <optional>
#include <vector>

#include "link/link_shared.h"
#include "setup/timer_entry.h"

namespace orvandry::platform {
class Canvas;
class Prompter;
}  // namespace orvandry::platform

namespace orvandry::views {

// The batch drying window's timer buttons.
namespace batch_id {
inline constexpr int kDry = 36958;
inline constexpr int kHiHeat = 36959;
inline constexpr int kLoHeat = 36960;
inline constexpr int kCool = 36961;
inline constexpr int kUnload = 36962;
}  // namespace batch_id

// Which of the dry-timer buttons show; COOL and UNLOAD always do.
struct BatchButtonVisibility {
  bool hi_heat = false;
  bool lo_heat = false;
  bool dry = true;
  friend bool operator==(BatchButtonVisibility, BatchButtonVisibility) = default;
};

BatchButtonVisibility BatchTimerButtons(const link::ByteImage& state);

// True when the dryer runs separate high-heat and low-heat dry timers (the dual layout).
bool DualDryTimers(const link::ByteImage& state);
// True when the dry timer gives way to "AVERAGING INCOMING MOISTURE".
bool AveragingIncomingMoisture(const link::ByteImage& state);

// Draws the timers onto the window's client area, already filled black.
void PaintBatchDrying(platform::Canvas& canvas, const link::ByteImage& state);

// The edit record for a timer button's short touch, ready for the timer entry dialog; empty for an
// id that is not a timer button.
std::optional<setup::TimerEntry> OpenBatchTimerEntry(link::LinkShared& shared, int button_id);

// Long press on a timer button: a button seen held on two consecutive 1 s ticks asks whether to
// reload the running timer from its reload value.
class BatchReloadHolds {
 public:
  struct Held {
    bool dry = false;
    bool hi_heat = false;
    bool lo_heat = false;
    bool cool = false;
    bool unload = false;
  };

  // One 1 s tick. Returns the ids of the buttons whose question was asked on this tick.
  std::vector<int> Tick(const Held& held, link::LinkShared& shared, platform::Prompter& prompter);

 private:
  enum Timer { kDryTimer, kLoHeatTimer, kCoolTimer, kUnloadTimer, kTimerCount };
  bool Step(Timer timer, bool held, const char* question, link::LinkShared& shared,
            platform::Prompter& prompter);

  // One counter per timer: DRY and HI HEAT reload the same timer and never show together.
  std::array<int, kTimerCount> counters_{1, 1, 1, 1};
  bool asking_ = false;
};

}  // namespace orvandry::views
