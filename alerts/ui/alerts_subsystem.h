#pragma once

#include <memory>
#include <optional>
#include <string>

#include "alerts/alert_service.h"
#include "alerts/mqtt_config.h"
#include "shell/subsystem.h"

namespace orvandry::alerts::ui {

// Shutdown alerts and the status over MQTT, off unless Configure() is given a broker before the
// display starts. It owns no window and no dialog: it listens to the warning codes (a shutdown is
// taken by the same rule the history records by) and to the 1 s tick (the status).
class AlertsSubsystem final : public shell::Subsystem {
 public:
  explicit AlertsSubsystem(const link::LinkShared& shared) : shared_(shared) {}

  void Configure(std::optional<MqttConfig> config) { config_ = std::move(config); }

  void Started() override;
  void ShuttingDown() override;
  void OnWarningCode(std::uint8_t node_id, std::uint8_t warning_id) override;
  void OnSecondTick() override;

  // Null while off.
  AlertService* service() { return service_.get(); }

 private:
  const link::LinkShared& shared_;
  std::optional<MqttConfig> config_;
  std::unique_ptr<AlertService> service_;
};

}  // namespace orvandry::alerts::ui
