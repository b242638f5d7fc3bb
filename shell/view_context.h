#pragma once

#include <cstdint>
#include <functional>

#include "link/link_shared.h"
#include "shell/animation_phases.h"

namespace orvandry::platform {
class Prompter;
class Clock;
}  // namespace orvandry::platform

namespace orvandry::shell {

struct Settings;

// What every window and dialog of the subsystems reads when it paints, handed out by the shell.
// Views only read DryerState; they write the request image and raise PendingWrites only from
// operator actions.
struct ViewContext {
  link::LinkShared& shared;
  // Bit 0: the slow blink of warning and status texts; bit 1: the 100 ms tick's fast bit.
  const std::uint32_t& blink_word;
  const AnimationPhases& phases;
  const Settings& settings;
  platform::Prompter& prompter;
  platform::Clock& clock;
  // True while a modal dialog or a question is open; the shell fills it in. A view that raises a
  // question of its own (not in answer to a touch) waits while it is true, so questions never
  // stack.
  std::function<bool()> modal_open;

  bool ModalOpen() const { return modal_open && modal_open(); }

  bool BlinkOn() const { return (blink_word & 0x01U) != 0; }
  bool SiUnits() const { return shared.si_units.load(std::memory_order_relaxed) != 0; }
  std::uint8_t State(std::size_t offset) const { return shared.dryer_state.Get(offset); }
};

}  // namespace orvandry::shell
