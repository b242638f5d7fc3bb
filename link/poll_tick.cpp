#include "link/poll_tick.h"

#include "link/status_map.h"

namespace orvandry::link {

PollTickActions PollTicker::Tick(const LinkShared& shared) {
  PollTickActions actions;

  blink_phase_ = (blink_phase_ + 1) % 8;
  bool edge = false;
  if (blink_phase_ == 0) {
    blink_word &= ~kBlinkOnBit;
    edge = true;
  } else if (blink_phase_ == 3) {
    blink_word |= kBlinkOnBit;
    edge = true;
  }
  if (edge) {
    const bool warning_live = shared.dryer_state.Get(status_map::kWarningId) != 0 ||
                              shared.dryer_state.Get(status_map::kWarningNode) != 0;
    actions.repaint_warning_window = warning_live;
  }

  ++tick_count_;
  actions.signal_poll = (tick_count_ % 2) == 0;

  if (setup_repaint_request_) {
    if (setup_repaint_countdown_ != 0) {
      --setup_repaint_countdown_;
    } else {
      setup_repaint_request_ = false;
      setup_repaint_countdown_ = kSetupRepaintDelay;
      actions.repaint_setup_views = true;
    }
  }
  return actions;
}

}  // namespace orvandry::link
