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

// Decides which warning codes become shutdown records and writes them. The link's status intake
// calls OnWarningCodeChanged whenever the live code changes; everything here runs on that one
// thread, so the rule's state needs no lock (the store has its own).
//
// The rule: a code with warning id 0 (a marker, or no warning) is ignored. Any other code is
// recorded when it differs from the last one seen, or when the last recording is at least
// kRepeatHoldOffSeconds old; so a warning that drops out and comes straight back is stored once,
// while a different warning is always stored and restarts the hold-off.
class ShutdownRecorder {
 public:
  static constexpr std::int64_t kRepeatHoldOffSeconds = 100;

  ShutdownRecorder(ShutdownHistoryStore& store, const ShutdownClock& clock)
      : store_(store), clock_(clock) {}

  RecordResult OnWarningCodeChanged(std::uint8_t node_id, std::uint8_t warning_id);

  // Stores the code now, with its table text, its node name and the local time.
  StoreResult RecordShutdown(std::uint8_t node_id, std::uint8_t warning_id);

 private:
  bool HoldOffRunning() const;

  ShutdownHistoryStore& store_;
  const ShutdownClock& clock_;
  WarningCode last_code_ = kNoWarning;
  std::optional<std::int64_t> hold_off_started_;  // steady seconds of the last recording
};

}  // namespace orvandry::warnings
