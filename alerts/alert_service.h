#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "alerts/mqtt_config.h"
#include "alerts/mqtt_publisher.h"
#include "link/link_shared.h"
#include "warnings/shutdown_clock.h"
#include "warnings/shutdown_recorder.h"

namespace orvandry::alerts {

// What the display tells the farm's broker: each shutdown as the history records it (the same
// rule as the recorder's), the status every kStatusSeconds, and the link state. Driven from one
// thread (the UI thread in the display); nothing here waits for the network.
class AlertService {
 public:
  static constexpr int kStatusSeconds = 5;

  AlertService(const link::LinkShared& shared, MqttConfig config,
               std::unique_ptr<warnings::ShutdownClock> clock = nullptr);

  bool Start(std::string* error);
  void Stop() { publisher_.Stop(); }

  // A change of the live warning code.
  void OnWarningCode(std::uint8_t node_id, std::uint8_t warning_id);
  // Once a second: the status goes out every kStatusSeconds, the first at once.
  void OnSecond();

  MqttPublisher& publisher() { return publisher_; }

 private:
  const link::LinkShared& shared_;
  std::unique_ptr<warnings::ShutdownClock> clock_;
  warnings::ShutdownRule rule_;
  MqttPublisher publisher_;
  std::uint64_t next_seq_ = 1;
  int seconds_to_status_ = 0;
};

}  // namespace orvandry::alerts
