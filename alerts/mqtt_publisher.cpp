#include "alerts/mqtt_publisher.h"

#include <mosquitto.h>
#include <unistd.h>

#include <ctime>

#include "alerts/alert_payloads.h"

namespace orvandry::alerts {

namespace {

using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;

// How long mosquitto_loop waits for the socket: the longest a new message waits to go out.
constexpr int kLoopMilliseconds = 200;
// A connection the broker has not accepted in this time is given up and tried again.
constexpr auto kConnackTimeout = 10s;

void InitLibrary() {
  static const int once = [] { return mosquitto_lib_init(); }();
  (void)once;
}

}  // namespace

MqttPublisher::MqttPublisher(MqttConfig config)
    : config_(std::move(config)),
      backoff_(config_.first_retry, config_.max_retry),
      outbox_(config_.outbox_capacity) {}

MqttPublisher::~MqttPublisher() {
  Stop();
  if (mosq_ != nullptr) mosquitto_destroy(mosq_);
}

bool MqttPublisher::Start(std::string* error) {
  InitLibrary();
  const std::string client_id = "orvandry-" + config_.dryer_name + "-" + std::to_string(getpid());
  mosq_ = mosquitto_new(client_id.c_str(), true, this);
  if (mosq_ == nullptr) {
    *error = "cannot make an MQTT client";
    return false;
  }
  mosquitto_int_option(mosq_, MOSQ_OPT_PROTOCOL_VERSION, MQTT_PROTOCOL_V311);
  mosquitto_connect_callback_set(mosq_, &MqttPublisher::OnConnect);
  mosquitto_disconnect_callback_set(mosq_, &MqttPublisher::OnDisconnect);
  mosquitto_publish_callback_set(mosq_, &MqttPublisher::OnPublish);
  const std::string will = LinkJson(false, "");
  const std::string link_topic = config_.Topic("link");
  int rc = mosquitto_will_set(mosq_, link_topic.c_str(), static_cast<int>(will.size()), will.data(),
                              1, true);
  if (rc == MOSQ_ERR_SUCCESS && !config_.username.empty())
    rc = mosquitto_username_pw_set(mosq_, config_.username.c_str(),
                                   config_.password.empty() ? nullptr : config_.password.c_str());
  if (rc == MOSQ_ERR_SUCCESS && !config_.cafile.empty())
    rc = mosquitto_tls_set(mosq_, config_.cafile.c_str(), nullptr, nullptr, nullptr, nullptr);
  if (rc != MOSQ_ERR_SUCCESS) {
    *error = std::string("MQTT settings refused: ") + mosquitto_strerror(rc);
    return false;
  }
  next_try_ = Clock::now();
  thread_ = std::thread([this] { Run(); });
  return true;
}

void MqttPublisher::Stop() {
  {
    std::scoped_lock lock(mutex_);
    if (stop_) return;
    stop_ = true;
  }
  wake_.notify_all();
  if (thread_.joinable()) thread_.join();
}

void MqttPublisher::SetStatus(std::string json) {
  std::scoped_lock lock(mutex_);
  status_ = std::move(json);
}

void MqttPublisher::PushShutdown(std::string json) {
  std::scoped_lock lock(mutex_);
  outbox_.Push(std::move(json), in_flight_.has_value());
}

bool MqttPublisher::Connected() const {
  std::scoped_lock lock(mutex_);
  return connected_;
}

std::size_t MqttPublisher::Waiting() const {
  std::scoped_lock lock(mutex_);
  return outbox_.size();
}

std::uint64_t MqttPublisher::Acknowledged() const {
  std::scoped_lock lock(mutex_);
  return acknowledged_;
}

std::uint64_t MqttPublisher::Dropped() const {
  std::scoped_lock lock(mutex_);
  return outbox_.dropped();
}

int MqttPublisher::Attempts() const {
  std::scoped_lock lock(mutex_);
  return attempts_;
}

void MqttPublisher::Retry(std::unique_lock<std::mutex>& lock) {
  if (socket_open_) {
    lock.unlock();
    mosquitto_disconnect(mosq_);
    lock.lock();
  }
  socket_open_ = false;
  connected_ = false;
  in_flight_.reset();
  next_try_ = Clock::now() + backoff_.Next();
}

void MqttPublisher::Run() {
  bool first = true;
  std::unique_lock lock(mutex_);
  while (!stop_) {
    if (!socket_open_) {
      if (Clock::now() < next_try_) {
        wake_.wait_until(lock, next_try_, [this] { return stop_; });
        continue;
      }
      ++attempts_;
      lock.unlock();
      // Asynchronous: the TCP connection completes inside mosquitto_loop, which waits at most
      // kLoopMilliseconds, so Stop() is never held up by a broker that does not answer.
      const int rc = first ? mosquitto_connect_async(mosq_, config_.host.c_str(), config_.port,
                                                     config_.keepalive_seconds)
                           : mosquitto_reconnect_async(mosq_);
      lock.lock();
      if (rc != MOSQ_ERR_SUCCESS) {
        Retry(lock);
        continue;
      }
      first = false;
      socket_open_ = true;
      socket_opened_ = Clock::now();
    }
    if (connected_) Publish(lock);
    lock.unlock();
    const int rc = mosquitto_loop(mosq_, kLoopMilliseconds, 1);
    lock.lock();
    if (rc != MOSQ_ERR_SUCCESS ||
        (!connected_ && socket_open_ && Clock::now() - socket_opened_ > kConnackTimeout))
      Retry(lock);
  }
  if (connected_) {
    lock.unlock();
    SayOffline();
    lock.lock();
  }
}

void MqttPublisher::Publish(std::unique_lock<std::mutex>& lock) {
  const auto send = [&](const std::string& topic, const std::string& payload, int qos, bool retain,
                        int* mid) {
    lock.unlock();
    const int rc = mosquitto_publish(mosq_, mid, topic.c_str(), static_cast<int>(payload.size()),
                                     payload.data(), qos, retain);
    lock.lock();
    return rc == MOSQ_ERR_SUCCESS;
  };
  if (say_online_) {
    say_online_ = false;
    send(config_.Topic("link"), LinkJson(true, IsoLocalTime(std::time(nullptr))), 1, true, nullptr);
  }
  if (status_) {
    last_status_ = std::move(*status_);
    status_.reset();
    const std::string payload = last_status_;
    send(config_.Topic("status"), payload, 0, true, nullptr);
  }
  if (!in_flight_ && !outbox_.empty() && connected_) {
    const std::string payload = outbox_.front();
    int mid = 0;
    if (send(config_.Topic("shutdown"), payload, 1, false, &mid) && connected_) in_flight_ = mid;
  }
}

void MqttPublisher::SayOffline() {
  const std::string payload = LinkJson(false, IsoLocalTime(std::time(nullptr)));
  int mid = 0;
  if (mosquitto_publish(mosq_, &mid, config_.Topic("link").c_str(),
                        static_cast<int>(payload.size()), payload.data(), 1,
                        true) == MOSQ_ERR_SUCCESS) {
    const auto deadline = Clock::now() + 1s;
    while (Clock::now() < deadline) {
      if (mosquitto_loop(mosq_, 50, 1) != MOSQ_ERR_SUCCESS) break;
      if (mosquitto_want_write(mosq_)) continue;
      // Written: a clean disconnect now cannot overtake it.
      break;
    }
  }
  mosquitto_disconnect(mosq_);
  mosquitto_loop(mosq_, 50, 1);
}

void MqttPublisher::OnConnect(struct mosquitto*, void* self, int rc) {
  auto* me = static_cast<MqttPublisher*>(self);
  std::scoped_lock lock(me->mutex_);
  if (rc != 0) return;  // refused: mosquitto_loop reports it and the loop tries again later
  me->connected_ = true;
  me->backoff_.Reset();
  me->say_online_ = true;
  // A retained status survives at the broker, but one that restarted has lost it.
  if (!me->status_ && !me->last_status_.empty()) me->status_ = me->last_status_;
  me->in_flight_.reset();
}

void MqttPublisher::OnDisconnect(struct mosquitto*, void* self, int /*rc*/) {
  auto* me = static_cast<MqttPublisher*>(self);
  std::scoped_lock lock(me->mutex_);
  me->connected_ = false;
  me->in_flight_.reset();
}

void MqttPublisher::OnPublish(struct mosquitto*, void* self, int mid) {
  auto* me = static_cast<MqttPublisher*>(self);
  std::scoped_lock lock(me->mutex_);
  if (me->in_flight_ && *me->in_flight_ == mid) {
    me->in_flight_.reset();
    me->outbox_.PopFront();
    ++me->acknowledged_;
  }
}

}  // namespace orvandry::alerts
