#pragma once

#include <cstdint>

#include "link/link_shared.h"

namespace orvandry::link {

// What one poll tick (every 175 ms, UI thread) asks for.
struct PollTickActions {
  bool repaint_right_status_bar = true;   // every tick, without erasing
  bool repaint_warning_window = false;    // on a blink edge while a warning is live
  bool signal_poll = false;               // every second tick: start one link transaction
  bool repaint_setup_views = false;       // the line graph window and the plenum panel
};

// The poll tick's bookkeeping: blink phase and bit, the tick count that paces the link, and the
// delayed repaint after the hardware setup dialog changed something.
class PollTicker {
 public:
  static constexpr std::uint32_t kBlinkOnBit = 0x01;     // toggled here
  static constexpr std::uint32_t kFastBlinkBit = 0x02;   // set by the 100 ms tick
  static constexpr std::uint32_t kSetupRepaintDelay = 25;

  PollTickActions Tick(const LinkShared& shared);

  // Raised by the hardware setup dialog whenever one of its buttons is pressed.
  void RequestSetupRepaint() { setup_repaint_request_ = true; }

  bool blink_on() const { return (blink_word & kBlinkOnBit) != 0; }
  std::uint32_t blink_phase() const { return blink_phase_; }

  // Bit 0 belongs to this tick, bit 1 to the 100 ms tick. UI thread only.
  std::uint32_t blink_word = 0;

 private:
  std::uint32_t blink_phase_ = 0;
  std::uint32_t tick_count_ = 0;
  bool setup_repaint_request_ = false;
  std::uint32_t setup_repaint_countdown_ = kSetupRepaintDelay;
};

}  // namespace orvandry::link
