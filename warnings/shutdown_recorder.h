#pragma once

#include <cstdint>
#include <optional>

#include "warnings/shutdown_clock.h"
#include "warnings/shutdown_history_store.h"
#include "warnings/warning_code.h"

namespace orvandry::warnings {

enum class RecordOutcome {
  kSkipped,   // the recording rule kept this code out of the history
  kRecorded,  // stored (possibly after replacing a damaged database, see the StoreResult)
  kFailed,    // the rule asked for a record but the store could not take it
};

struct RecordResult {
  RecordOutcome outcome = RecordOutcome::kSkipped;
  StoreResult store;  // of the write, when one was made
};

// The recording rule on its own: which changes of the live warning code are new shutdowns. A code
// with warning id 0 (a marker, or no warning) is never one. Any other code is one when it differs
// from the last one seen, or when the last shutdown taken is at least kRepeatHoldOffSeconds old;
// so a warning that drops out and comes straight back counts once, while a different warning
// always counts and restarts the hold-off. The recorder below keeps the history by it, and the
// alerts sent off the panel use the same rule, so both report the same shutdowns.
class ShutdownRule {
 public:
  static constexpr std::int64_t kRepeatHoldOffSeconds = 100;

  explicit ShutdownRule(const ShutdownClock& clock) : clock_(clock) {}

  // True when the code is a new shutdown; the hold-off restarts then.
  bool Take(std::uint8_t node_id, std::uint8_t warning_id);

 private:
  bool HoldOffRunning() const;

  const ShutdownClock& clock_;
  WarningCode last_code_ = kNoWarning;
  std::optional<std::int64_t> hold_off_started_;  // steady seconds of the last shutdown taken
};

// Decides which warning codes become shutdown records and writes them. The link's status intake
// calls OnWarningCodeChanged whenever the live code changes; everything here runs on that one
// thread, so the rule's state needs no lock (the store has its own).
//
// The rule is ShutdownRule's.
class ShutdownRecorder {
 public:
  static constexpr std::int64_t kRepeatHoldOffSeconds = ShutdownRule::kRepeatHoldOffSeconds;

  ShutdownRecorder(ShutdownHistoryStore& store, const ShutdownClock& clock)
      : store_(store), clock_(clock), rule_(clock) {}

  RecordResult OnWarningCodeChanged(std::uint8_t node_id, std::uint8_t warning_id);

  // Stores the code now, with its table text, its node name and the local time.
  StoreResult RecordShutdown(std::uint8_t node_id, std::uint8_t warning_id);

 private:
  ShutdownHistoryStore& store_;
  const ShutdownClock& clock_;
  ShutdownRule rule_;
};

}  // namespace orvandry::warnings
