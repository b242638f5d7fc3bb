#include "shell/housekeeping.h"

#include "link/link_cycle.h"
#include "link/poll_tick.h"
#include "link/status_map.h"
#include "platform/prompter.h"

namespace orvandry::shell {
namespace sm = link::status_map;

namespace {

std::uint8_t Forward(std::uint8_t phase) {
  return static_cast<std::uint8_t>((phase + 1) % 3);
}
std::uint8_t Backward(std::uint8_t phase) {
  return static_cast<std::uint8_t>((phase + 2) % 3);
}

}  // namespace

Housekeeping::Housekeeping(link::LinkShared& shared, platform::Clock& clock,
                           const Settings& settings, TickHost& host, platform::Prompter& prompter,
                           std::uint32_t& blink_word)
    : shared_(shared),
      clock_(clock),
      settings_(settings),
      host_(host),
      prompter_(prompter),
      blink_word_(blink_word) {}

void Housekeeping::AddRepeatSource(RepeatSource* source) {
  repeat_sources_.push_back({source, 0});
}

bool Housekeeping::Unloading() const {
  return (shared_.dryer_state.Get(sm::kUnloadBits) & 0x01) != 0 ||
         (shared_.dryer_state.Get(sm::kDryerActivity) & 0x40) != 0;
}

void Housekeeping::OneSecondTick() {
  const platform::LocalDateTime now = clock_.Now();

  // 1. The dryer keeps the display's time.
  const std::uint8_t clock_bytes[link::status_map::kClockSize] = {
      static_cast<std::uint8_t>(now.minute), static_cast<std::uint8_t>(now.hour),
      static_cast<std::uint8_t>(now.day), static_cast<std::uint8_t>(now.month),
      static_cast<std::uint8_t>(now.year % 100)};
  shared_.RequestWrite(link::Rec::kClock, sm::kClockMinute, clock_bytes, sizeof clock_bytes);

  // 2. (The shutdown recorder keeps its own repeat hold-off on a monotonic clock, so a change of
  // the wall clock or a busy tick can never shorten or stretch it.)
  link::CountDownLinkAlive(shared_);

  // 3. The first tick qualifies; then every 12th.
  if (long_term_divider_ >= kLongTermDivider - 1) {
    long_term_divider_ = 0;
    LongTermLog(now);
  } else {
    ++long_term_divider_;
  }

  // 4.
  const bool unloading = Unloading();
  if (logs_ != nullptr) logs_->MarkShortTermActive(unloading);
  host_.Repaint(Win::kStatusChart);

  // 5. Samples are taken only while the dryer unloads.
  if (unloading) {
    const bool short_due = short_term_countdown == 0;
    if (short_term_countdown > 0) --short_term_countdown;
    if (short_due) {
      // One sample per interval x 60 seconds of unloading: this second counts as the first of the
      // next period. (The stored samples carry their own time; nothing relies on the period.)
      short_term_countdown = static_cast<std::uint32_t>(settings_.sample_minutes) * 60U - 1U;
      if (logs_ != nullptr) logs_->AppendShortTermSample(shared_, now);
      host_.Repaint(Win::kStatusChart);
    }
    if (graph_countdown == 0) {
      if (logs_ != nullptr) logs_->AppendGraphSample(shared_, now);
      host_.Repaint(Win::kGraphDrawingArea);
      graph_countdown = kGraphSamplePeriod - 1;  // this tick counts: one sample per period
    } else {
      --graph_countdown;
    }
  }

  // 6. The rest of the second (the setup boards' optional buttons, open dialogs that show the
  // time, long presses, the status chart's scroll hold) belongs to the subsystems' own tick hooks.
}

void Housekeeping::LongTermLog(const platform::LocalDateTime& now) {
  if (logs_ == nullptr) return;
  if ((shared_.dryer_state.Get(sm::kDataLoggerSetting) & 0x01) == 0) {
    logs_->OpenLongTermFile();
    return;
  }
  // The logs repaint their own day data logger window when it is open.
  const int used_percent = logs_->AppendLongTermRecord(shared_, now);
  // Given once per run, and never over another dialog or question: then a later record asks.
  if (used_percent > kDataLogWarnPercent && !data_log_warning_given_ && !host_.ModalOpen()) {
    data_log_warning_given_ = true;
    if (prompter_.Ask(
            "Data Logger close to full.  Do you wish to open Data Logger \n Setup Window?",
            "DATA LOG FILE SIZE WARNING", platform::Buttons::kYesNo,
            platform::Icon::kWarning) == platform::Answer::kYes)
      host_.OpenDialog(dialog::kDayDataLogger, Win::kSetupSelect);
  }
}

TenthTick Housekeeping::HundredMsTick() {
  const auto& state = shared_.dryer_state;
  TenthTick tick;

  // 1. The warning window stays up while a warning is live or the link is lost. (The warnings
  // subsystem closes its help and animates its picture from the same finding.)
  tick.warning_shown =
      state.Get(sm::kWarningId) != 0 || state.Get(sm::kWarningNode) != 0 || link::LinkLost(shared_);
  host_.SetWarningWindowVisible(tick.warning_shown);

  // 2.
  if (++blink_divider_ >= 3) {
    blink_divider_ = 0;
    blink_word_ |= link::PollTicker::kFastBlinkBit;
    host_.Repaint(Win::kWarning);
    tick.blink_step = true;
  }

  // 3.-6. Animation phases of the dryer picture.
  for (int k = 1; k <= 6; ++k)
    if ((state.Get(sm::FanHeaterStatus(k)) & 0x01) != 0)
      phases.fan[k - 1] = Forward(phases.fan[k - 1]);
  if ((state.Get(sm::kDryerActivity) & 0x80) == 0) phases.loading = Backward(phases.loading);
  if (Unloading()) {
    phases.unloading_fast = Forward(phases.unloading_fast);
    if (++slow_unload_divider_ >= 5) {
      slow_unload_divider_ = 0;
      phases.unloading_slow = Forward(phases.unloading_slow);
    }
  }
  if (++direction_divider_ >= 3) {
    direction_divider_ = 0;
    const std::uint8_t direction = state.Get(sm::kLoadDirectionBits);
    if ((direction & 0x08) != 0) {
      if ((direction & 0x04) != 0) {
        phases.direction_a = Forward(phases.direction_a);
        phases.direction_b = Backward(phases.direction_b);
      } else {
        phases.direction_b = Forward(phases.direction_b);
        phases.direction_a = Backward(phases.direction_a);
      }
    }
  }

  // 7.
  host_.Repaint(Win::kDryerPic);

  // 8. A held button repeats every tick after a 500 ms delay.
  for (auto& [source, delay] : repeat_sources_) {
    if (!source->IsOpen()) continue;
    const int held = source->HeldButton();
    if (held == 0) {
      delay = kRepeatDelayTicks;
    } else if (delay == 0) {
      source->SendRepeat(held);
    } else {
      --delay;
    }
  }
  return tick;
}

}  // namespace orvandry::shell
