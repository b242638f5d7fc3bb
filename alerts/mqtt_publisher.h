#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <optional>
#include <string>
#include <thread>

#include "alerts/mqtt_config.h"
#include "alerts/outbox.h"

struct mosquitto;

namespace orvandry::alerts {

// The display's MQTT client (libmosquitto), on a thread of its own: connecting, reading the
// broker and every publish happen there, so the callers (the UI thread) only hand over a message
// under a short lock and never wait for the network.
//
// - status: the latest text only, retained, QoS 0, sent whenever connected and a new one is set.
// - shutdowns: kept in a bounded outbox and sent in order, QoS 1, one at a time: the next goes out
//   when the broker has acknowledged the one before, so an outage loses none that fit the outbox
//   and never reorders them (a message cut off by the outage is sent again: at least once).
// - link: retained "online" after each connection; the last will (retained) says "offline" when
//   the display vanishes, and Stop() says it itself.
// A broker that is down, refuses or drops the connection is tried again with back-off.
class MqttPublisher {
 public:
  explicit MqttPublisher(MqttConfig config);
  ~MqttPublisher();  // Stop()
  MqttPublisher(const MqttPublisher&) = delete;
  MqttPublisher& operator=(const MqttPublisher&) = delete;

  // Starts the client thread. False with the reason when libmosquitto refuses the settings.
  bool Start(std::string* error);
  // Says "offline" if connected (waiting at most a second for it), disconnects, joins the thread.
  void Stop();

  void SetStatus(std::string json);
  void PushShutdown(std::string json);

  bool Connected() const;
  std::size_t Waiting() const;         // shutdowns not yet acknowledged
  std::uint64_t Acknowledged() const;  // shutdowns the broker has taken
  std::uint64_t Dropped() const;       // shutdowns dropped from a full outbox
  int Attempts() const;                // connection attempts so far

  const MqttConfig& config() const { return config_; }

 private:
  void Run();
  void Retry(std::unique_lock<std::mutex>& lock);
  void Publish(std::unique_lock<std::mutex>& lock);
  void SayOffline();

  static void OnConnect(struct mosquitto*, void* self, int rc);
  static void OnDisconnect(struct mosquitto*, void* self, int rc);
  static void OnPublish(struct mosquitto*, void* self, int mid);

  const MqttConfig config_;
  struct mosquitto* mosq_ = nullptr;
  std::thread thread_;

  mutable std::mutex mutex_;
  std::condition_variable wake_;
  bool stop_ = false;
  bool socket_open_ = false;  // a connection is being made or is up
  bool connected_ = false;    // the broker has accepted it
  bool say_online_ = false;
  std::chrono::steady_clock::time_point socket_opened_;
  std::chrono::steady_clock::time_point next_try_;
  Backoff backoff_;
  int attempts_ = 0;
  std::optional<std::string> status_;  // set and not yet sent
  std::string last_status_;            // sent again after a reconnection
  Outbox outbox_;
  std::optional<int> in_flight_;  // message id of the outbox front on its way
  std::uint64_t acknowledged_ = 0;
};

}  // namespace orvandry::alerts
