#include "warnings/shutdown_recorder.h"

#include <string>

#include "warnings/warning_text_table.h"

namespace orvandry::warnings {

bool ShutdownRule::HoldOffRunning() const {
  return hold_off_started_.has_value() &&
         clock_.SteadySeconds() - *hold_off_started_ < kRepeatHoldOffSeconds;
}

bool ShutdownRule::Take(std::uint8_t node_id, std::uint8_t warning_id) {
  if (warning_id == 0) return false;
  const WarningCode code = MakeWarningCode(node_id, warning_id);
  const bool shutdown = code != last_code_ || !HoldOffRunning();
  if (shutdown) hold_off_started_ = clock_.SteadySeconds();
  last_code_ = code;
  return shutdown;
}

RecordResult ShutdownRecorder::OnWarningCodeChanged(std::uint8_t node_id, std::uint8_t warning_id) {
  RecordResult result;
  // The hold-off starts even if the disk refuses the record: retrying a failing write on every
  // flicker of the code would only stall the link.
  if (!rule_.Take(node_id, warning_id)) return result;
  result.store = RecordShutdown(node_id, warning_id);
  result.outcome = result.store.ok() ? RecordOutcome::kRecorded : RecordOutcome::kFailed;
  return result;
}

StoreResult ShutdownRecorder::RecordShutdown(std::uint8_t node_id, std::uint8_t warning_id) {
  ShutdownRecord record;
  record.time = ToShutdownTime(clock_.LocalNow());
  record.node_name = std::string(NodeName(node_id));
  record.warning_text = std::string(WarningText(MakeWarningCode(node_id, warning_id)));
  return store_.Append(record);
}

}  // namespace orvandry::warnings
