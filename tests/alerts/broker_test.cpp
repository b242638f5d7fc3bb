// The alerts against a real mosquitto broker started by the test on a loopback port, with the
// display's link running against the simulated dryer: a scripted shutdown arrives with its code,
// text, node and time; a shutdown while the broker is down arrives once it is back.

#include <gtest/gtest.h>

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
#include "alerts/mqtt_test_support.h"
#include "link/link_thread.h"
#include "sim/in_process_dryer.h"
#include "warnings/warning_text_table.h"

namespace orvandry::alerts {
namespace {

using namespace std::chrono_literals;
namespace fs = std::filesystem;
using testing::Broker;
using testing::Eventually;
using testing::MosquittoProgram;
using testing::Subscriber;

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

// A broker that refuses the display (no or wrong credentials) is tried again with back-off, not
// in a spin; with the credentials file's user and password the display gets in and its waiting
// shutdown arrives.
TEST(BrokerAlerts, ARefusingBrokerIsTriedAgainWithBackOffAndTheCredentialsGetIn) {
  ASSERT_FALSE(MosquittoProgram().empty()) << "mosquitto is not installed (make deps)";
  Broker broker(Broker::Kind::kPassword);
  ASSERT_TRUE(broker.Start()) << broker.Log();
  Subscriber farm(broker.port(), "orvandry/locked/#", Broker::kUser, Broker::kPassword);
  ASSERT_TRUE(Eventually([&] { return farm.subscribed_.load(); }));

  MqttConfig config;
  config.host = "127.0.0.1";
  config.port = broker.port();
  config.dryer_name = "locked";
  config.first_retry = 100ms;
  config.max_retry = 400ms;
  link::LinkShared shared;
  std::string error;
  {
    AlertService refused(shared, config);
    ASSERT_TRUE(refused.Start(&error)) << error;
    refused.OnWarningCode(0x02, 0x05);
    std::this_thread::sleep_for(1500ms);
    EXPECT_FALSE(refused.publisher().Connected());
    EXPECT_EQ(refused.publisher().Waiting(), 1u);
    // 100 + 200 + 400 + 400 ... ms: about six attempts in 1.5 s.
    EXPECT_GE(refused.publisher().Attempts(), 3);
    EXPECT_LE(refused.publisher().Attempts(), 9);
  }
  EXPECT_TRUE(farm.On("orvandry/locked/shutdown").empty());

  const fs::path credentials = broker.dir() / "credentials";
  std::ofstream(credentials) << Broker::kUser << "\r\n" << Broker::kPassword << "\n";
  ASSERT_FALSE(ReadCredentials(credentials.string(), &config.username, &config.password));
  AlertService admitted(shared, config);
  ASSERT_TRUE(admitted.Start(&error)) << error;
  admitted.OnWarningCode(0x02, 0x05);
  ASSERT_TRUE(Eventually([&] { return farm.On("orvandry/locked/shutdown").size() == 1; }))
      << broker.Log();
  EXPECT_EQ(Json(farm.On("orvandry/locked/shutdown")[0].payload)["code"].toString(), "0205");
}

// With a CA file the display speaks TLS and checks the broker's certificate: a certificate its CA
// file does not vouch for keeps it out; the right CA file gets its shutdown through.
TEST(BrokerAlerts, WithACaFileTheDisplayUsesTlsAndChecksTheBroker) {
  ASSERT_FALSE(MosquittoProgram().empty()) << "mosquitto is not installed (make deps)";
  Broker broker(Broker::Kind::kTls);
  ASSERT_TRUE(broker.Start()) << broker.Log();
  Broker other(Broker::Kind::kTls);  // only for a certificate the broker does not have
  Subscriber farm(broker.port(), "orvandry/tls/#");
  ASSERT_TRUE(Eventually([&] { return farm.subscribed_.load(); }));

  MqttConfig config;
  config.host = "127.0.0.1";
  config.port = broker.tls_port();
  config.dryer_name = "tls";
  config.first_retry = 100ms;
  config.max_retry = 400ms;
  link::LinkShared shared;
  std::string error;
  for (const std::string& ca : {other.ca_file(), broker.ca_file()}) {
    const bool trusted = ca == broker.ca_file();
    SCOPED_TRACE(trusted ? "the broker's CA" : "another CA");
    config.cafile = ca;
    AlertService service(shared, config);
    ASSERT_TRUE(service.Start(&error)) << error;
    service.OnWarningCode(0x02, 0x05);
    if (!trusted) {
      std::this_thread::sleep_for(1000ms);
      EXPECT_FALSE(service.publisher().Connected());
      EXPECT_GE(service.publisher().Attempts(), 2);
      EXPECT_TRUE(farm.On("orvandry/tls/shutdown").empty());
    } else {
      EXPECT_TRUE(Eventually([&] { return farm.On("orvandry/tls/shutdown").size() == 1; }))
          << broker.Log();
    }
  }
}

}  // namespace
}  // namespace orvandry::alerts
