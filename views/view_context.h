#pragma once

#include <cstdint>

#include "link/link_shared.h"

namespace orvandry::platform {
class Prompter;
class Clock;
}  // namespace orvandry::platform

namespace orvandry::shell {
class Housekeeping;
struct Settings;
}  // namespace orvandry::shell

namespace orvandry::views {

// What every view of the main screen reads when it paints, handed over by the shell when it
// creates the views. Views only read DryerState; they write the request image and raise
// PendingWrites only from operator actions.
struct ViewContext {
  link::LinkShared& shared;
  // Bit 0: the slow blink of warning and status texts; bit 1: the 100 ms tick's fast bit.
  const std::uint32_t& blink_word;
  // The animation phases of the dryer picture and the tick counters.
  const shell::Housekeeping& ticks;
  const shell::Settings& settings;
  platform::Prompter& prompter;
  platform::Clock& clock;

  bool BlinkOn() const { return (blink_word & 0x01U) != 0; }
  bool SiUnits() const { return shared.si_units.load(std::memory_order_relaxed) != 0; }
  std::uint8_t State(std::size_t offset) const { return shared.dryer_state.Get(offset); }
};

}  // namespace orvandry::views
