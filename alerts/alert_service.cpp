#include "alerts/alert_service.h"

#include <ctime>

#include "alerts/alert_payloads.h"
#include "alerts/status_report.h"
#include "warnings/warning_code.h"
#include "warnings/warning_text_table.h"

namespace orvandry::alerts {

AlertService::AlertService(const link::LinkShared& shared, MqttConfig config,
                           std::unique_ptr<warnings::ShutdownClock> clock)
    : shared_(shared),
      clock_(clock ? std::move(clock) : std::make_unique<warnings::SystemShutdownClock>()),
      rule_(*clock_),
      publisher_(std::move(config)) {}

bool AlertService::Start(std::string* error) {
  if (!publisher_.Start(error)) return false;
  OnSecond();
  return true;
}

void AlertService::OnWarningCode(std::uint8_t node_id, std::uint8_t warning_id) {
  if (!rule_.Take(node_id, warning_id)) return;
  ShutdownAlert alert;
  alert.seq = next_seq_++;
  alert.code = warnings::MakeWarningCode(node_id, warning_id);
  alert.node = std::string(warnings::NodeName(node_id));
  alert.text = std::string(warnings::WarningText(alert.code));
  alert.time = IsoLocalTime(std::time(nullptr));
  publisher_.PushShutdown(ShutdownJson(alert));
  seconds_to_status_ = 0;  // the status shows the warning too: send it with the alert
  OnSecond();
}

void AlertService::OnSecond() {
  if (seconds_to_status_ > 0) {
    --seconds_to_status_;
    return;
  }
  seconds_to_status_ = kStatusSeconds - 1;
  publisher_.SetStatus(StatusJson(shared_, IsoLocalTime(std::time(nullptr))));
}

}  // namespace orvandry::alerts
