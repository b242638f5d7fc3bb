#include "alerts/ui/alerts_subsystem.h"

#include <cstdio>

namespace orvandry::alerts::ui {

void AlertsSubsystem::Started() {
  if (!config_ || service_) return;
  service_ = std::make_unique<AlertService>(shared_, *config_);
  std::string error;
  if (!service_->Start(&error)) {
    // The panel runs on without alerts; the operator is not the one to fix a broker setting.
    std::fprintf(stderr, "orvandry: no MQTT alerts: %s\n", error.c_str());
    service_.reset();
  }
}

void AlertsSubsystem::ShuttingDown() {
  if (service_) service_->Stop();
}

void AlertsSubsystem::OnWarningCode(std::uint8_t node_id, std::uint8_t warning_id) {
  if (service_) service_->OnWarningCode(node_id, warning_id);
}

void AlertsSubsystem::OnSecondTick() {
  if (service_) service_->OnSecond();
}

}  // namespace orvandry::alerts::ui
