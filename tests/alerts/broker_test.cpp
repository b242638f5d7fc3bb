// The alerts against a real mosquitto broker started by the test on a loopback port, with the
// display's link running against the simulated dryer: a scripted shutdown arrives with its code,
// text, node and time; a shutdown while the broker is down arrives once it is back.

#include <gtest/gtest.h>
#include <mosquitto.h>
#include <netinet/in.h>
#include <pwd.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QJsonDocument>
#include <QJsonObject>
#include <atomic>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "alerts/alert_service.h"
#include "link/link_thread.h"
#include "sim/in_process_dryer.h"
#include "warnings/warning_text_table.h"

namespace orvandry::alerts {
namespace {

using namespace std::chrono_literals;
namespace fs = std::filesystem;

constexpr auto kPatience = 10s;

template <class Condition>
bool Eventually(Condition condition, std::chrono::milliseconds patience = kPatience) {
  const auto deadline = std::chrono::steady_clock::now() + patience;
  while (!condition()) {
    if (std::chrono::steady_clock::now() > deadline) return false;
    std::this_thread::sleep_for(10ms);
  }
  return true;
}

int FreeLoopbackPort() {
  const int fd = socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t size = sizeof address;
  bind(fd, reinterpret_cast<sockaddr*>(&address), size);
  getsockname(fd, reinterpret_cast<sockaddr*>(&address), &size);
  close(fd);
  return ntohs(address.sin_port);
}

bool Accepts(int port) {
  const int fd = socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  address.sin_port = htons(static_cast<std::uint16_t>(port));
  const bool ok = connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
  close(fd);
  return ok;
}

std::string MosquittoProgram() {
  for (const char* path : {"/usr/sbin/mosquitto", "/usr/local/sbin/mosquitto", "/usr/bin/mosquitto",
                           "/usr/local/bin/mosquitto"})
    if (access(path, X_OK) == 0) return path;
  return {};
}

// A mosquitto of the test's own: its config, persistence and log in a temporary folder, so a
// subscriber's session and its queued messages survive a restart as at a farm's broker.
class Broker {
 public:
  Broker() {
    std::string pattern = (fs::temp_directory_path() / "orvandry-broker-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) std::abort();
    dir_ = pattern;
    port_ = FreeLoopbackPort();
    const passwd* me = getpwuid(getuid());
    std::ofstream(dir_ / "mosquitto.conf")
        << "listener " << port_ << " 127.0.0.1\n"
        << "allow_anonymous true\n"
        << "persistence true\npersistence_location " << dir_.string() << "/\n"
        << "log_dest file " << (dir_ / "mosquitto.log").string()
        << "\n"
        // Started as root, mosquitto would switch to its own user, who cannot write here.
        << "user " << (me != nullptr ? me->pw_name : "root") << "\n";
  }
  ~Broker() {
    Stop();
    std::error_code ec;
    fs::remove_all(dir_, ec);
  }

  bool Start() {
    const std::string program = MosquittoProgram();
    if (program.empty()) return false;
    const std::string config = (dir_ / "mosquitto.conf").string();
    pid_ = fork();
    if (pid_ == 0) {
      execl(program.c_str(), program.c_str(), "-c", config.c_str(), static_cast<char*>(nullptr));
      _exit(127);
    }
    return Eventually([&] { return Accepts(port_); }, 5000ms);
  }
  void Stop() {
    if (pid_ <= 0) return;
    kill(pid_, SIGTERM);
    int status = 0;
    waitpid(pid_, &status, 0);
    pid_ = -1;
  }
  int port() const { return port_; }
  std::string Log() const {
    std::ifstream in(dir_ / "mosquitto.log");
    return std::string(std::istreambuf_iterator<char>(in), {});
  }

 private:
  fs::path dir_;
  int port_ = 0;
  pid_t pid_ = -1;
};

// The farm's side: a persistent session subscribed to everything of one dryer at QoS 1.
class Subscriber {
 public:
  Subscriber(int port, const std::string& topic) : topic_(topic) {
    mosquitto_lib_init();
    const std::string id = "orvandry-test-subscriber-" + std::to_string(getpid());
    mosq_ = mosquitto_new(id.c_str(), false, this);
    mosquitto_reconnect_delay_set(mosq_, 1, 1, false);
    mosquitto_connect_callback_set(mosq_, [](mosquitto* m, void* self, int rc) {
      if (rc == 0)
        mosquitto_subscribe(m, nullptr, static_cast<Subscriber*>(self)->topic_.c_str(), 1);
    });
    mosquitto_subscribe_callback_set(mosq_, [](mosquitto*, void* self, int, int, const int*) {
      static_cast<Subscriber*>(self)->subscribed_ = true;
    });
    mosquitto_message_callback_set(mosq_, [](mosquitto*, void* self, const mosquitto_message* m) {
      auto* me = static_cast<Subscriber*>(self);
      std::scoped_lock lock(me->mutex_);
      me->messages_.push_back(
          {m->topic, std::string(static_cast<const char*>(m->payload), m->payloadlen), m->retain});
    });
    mosquitto_connect(mosq_, "127.0.0.1", port, 10);
    mosquitto_loop_start(mosq_);
  }
  ~Subscriber() {
    mosquitto_disconnect(mosq_);
    mosquitto_loop_stop(mosq_, true);
    mosquitto_destroy(mosq_);
  }

  struct Message {
    std::string topic;
    std::string payload;
    bool retained = false;
  };
  std::vector<Message> On(const std::string& topic) const {
    std::scoped_lock lock(mutex_);
    std::vector<Message> found;
    for (const Message& m : messages_)
      if (m.topic == topic) found.push_back(m);
    return found;
  }
  std::atomic<bool> subscribed_{false};

 private:
  std::string topic_;
  mosquitto* mosq_ = nullptr;
  mutable std::mutex mutex_;
  std::vector<Message> messages_;
};

// Hands the link's warning codes to the service, as the shell does on the UI thread.
class Listener final : public link::IntakeListener {
 public:
  explicit Listener(AlertService& service, std::mutex& mutex) : service_(service), mutex_(mutex) {}
  void OnWarningCodeChanged(std::uint8_t node, std::uint8_t warning) override {
    std::scoped_lock lock(mutex_);
    service_.OnWarningCode(node, warning);
  }
  void OnIntakeFinished(const link::IntakeResult&) override {}

 private:
  AlertService& service_;
  std::mutex& mutex_;
};

QJsonObject Json(const std::string& text) {
  return QJsonDocument::fromJson(QByteArray::fromStdString(text)).object();
}

TEST(BrokerAlerts, ShutdownsArriveAndOnesDuringAnOutageFollowWhenTheBrokerIsBack) {
  ASSERT_FALSE(MosquittoProgram().empty()) << "mosquitto is not installed (make deps)";
  Broker broker;
  ASSERT_TRUE(broker.Start()) << broker.Log();
  Subscriber farm(broker.port(), "orvandry/test-dryer/#");
  ASSERT_TRUE(Eventually([&] { return farm.subscribed_.load(); }));

  MqttConfig config;
  config.host = "127.0.0.1";
  config.port = broker.port();
  config.dryer_name = "test-dryer";
  config.first_retry = 200ms;
  config.max_retry = 1000ms;
  link::LinkShared shared;
  AlertService service(shared, config);
  std::mutex service_mutex;
  Listener listener(service, service_mutex);

  std::string error;
  auto dryer = sim::StartInProcessDryer(&error);
  ASSERT_TRUE(dryer) << error;
  auto link = link::DryerLink::Open(shared, &listener, dryer->slave_path(), &error);
  ASSERT_TRUE(link) << error;
  std::atomic<bool> stop{false};
  std::thread ticker([&] {
    for (int tick = 0; !stop.load(); ++tick) {
      link->SignalPoll();
      if (tick % 20 == 0) {
        std::scoped_lock lock(service_mutex);
        service.OnSecond();
      }
      std::this_thread::sleep_for(50ms);
    }
  });
  {
    std::scoped_lock lock(service_mutex);
    ASSERT_TRUE(service.Start(&error)) << error;
  }
  const auto raise = [&](std::uint16_t code) {
    const double now = dryer->controller().Now();
    dryer->controller().EditScenario([&](sim::Scenario& s) { s.RaiseWarning(now, code); });
  };

  // The link says online (retained), the status comes (retained), then the first shutdown.
  ASSERT_TRUE(Eventually([&] { return !farm.On("orvandry/test-dryer/status").empty(); }))
      << broker.Log();
  EXPECT_TRUE(Json(farm.On("orvandry/test-dryer/link").at(0).payload)["online"].toBool());
  EXPECT_TRUE(Eventually([&] { return shared.first_frame_accepted.load(); }));
  raise(0x0205);
  ASSERT_TRUE(Eventually([&] { return farm.On("orvandry/test-dryer/shutdown").size() == 1; }));
  const QJsonObject first = Json(farm.On("orvandry/test-dryer/shutdown")[0].payload);
  EXPECT_EQ(first["seq"].toInt(), 1);
  EXPECT_EQ(first["code"].toString(), "0205");
  EXPECT_EQ(first["text"].toString().toStdString(), warnings::WarningText(0x0205));
  EXPECT_EQ(first["node"].toString().toStdString(), warnings::NodeName(0x02));
  EXPECT_EQ(first["time"].toString().size(), 25) << "ISO 8601 with the offset";
  EXPECT_TRUE(Eventually([&] {
    const auto status = farm.On("orvandry/test-dryer/status");
    return Json(status.back().payload)["warning"].toObject()["code"].toString() == "0205";
  })) << "the status shows the warning soon after the alert";

  // The broker goes away; a different shutdown happens; the display keeps it.
  broker.Stop();
  ASSERT_TRUE(Eventually([&] { return !service.publisher().Connected(); }));
  raise(0x0E05);
  ASSERT_TRUE(Eventually([&] { return service.publisher().Waiting() == 1; }));
  const int attempts = service.publisher().Attempts();
  std::this_thread::sleep_for(1500ms);
  EXPECT_GT(service.publisher().Attempts(), attempts) << "tried again while the broker is down";
  EXPECT_LE(service.publisher().Attempts(), attempts + 4) << "with back-off, not in a spin";

  // Back: the waiting shutdown arrives, in order after the first, and nothing is waiting.
  ASSERT_TRUE(broker.Start()) << broker.Log();
  ASSERT_TRUE(Eventually([&] { return farm.On("orvandry/test-dryer/shutdown").size() >= 2; }))
      << broker.Log();
  const QJsonObject second = Json(farm.On("orvandry/test-dryer/shutdown")[1].payload);
  EXPECT_EQ(second["seq"].toInt(), 2);
  EXPECT_EQ(second["code"].toString(), "0E05");
  EXPECT_EQ(second["text"].toString().toStdString(), warnings::WarningText(0x0E05));
  EXPECT_TRUE(Eventually([&] { return service.publisher().Waiting() == 0; }));
  EXPECT_EQ(service.publisher().Dropped(), 0u);

  // A clean stop says offline itself.
  stop = true;
  ticker.join();
  service.Stop();
  EXPECT_TRUE(Eventually([&] {
    const auto link_messages = farm.On("orvandry/test-dryer/link");
    return !Json(link_messages.back().payload)["online"].toBool(true);
  }));
  link.reset();
}

}  // namespace
}  // namespace orvandry::alerts
