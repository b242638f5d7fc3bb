// The whole display against the simulator program with MQTT on: a scripted shutdown reaches a
// subscriber at a real broker with its code, node and text, with the status beside it, and when
// the display is killed the broker tells the subscribers it is offline (its last will).

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>

#include "alerts/mqtt_test_support.h"

namespace orvandry::alerts {
namespace {

using namespace std::chrono_literals;
using testing::Broker;
using testing::Eventually;
using testing::Subscriber;

QJsonObject Json(const std::string& text) {
  return QJsonDocument::fromJson(QByteArray::fromStdString(text)).object();
}

TEST(MqttDisplay, AScriptedShutdownReachesTheBrokerAndAKilledDisplayIsOffline) {
  ASSERT_FALSE(testing::MosquittoProgram().empty()) << "mosquitto is not installed (make deps)";
  Broker broker;
  ASSERT_TRUE(broker.Start()) << broker.Log();
  Subscriber farm(broker.port(), "orvandry/e2e-dryer/#");
  ASSERT_TRUE(Eventually([&] { return farm.subscribed_.load(); }));

  QTemporaryDir tmp;
  QProcess sim;
  sim.start(ORVANDRY_SIM_BINARY, {"--warning", "0205@3"});
  ASSERT_TRUE(sim.waitForReadyRead(10000));
  const QString pty = QString::fromLocal8Bit(sim.readLine()).trimmed();
  ASSERT_TRUE(pty.startsWith("/dev/")) << pty.toStdString();

  QProcess display;
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert("XDG_RUNTIME_DIR", tmp.path());
  env.insert("ORVANDRY_INSTANCE",
             QString("orvandry-mqtt-test-%1").arg(QCoreApplication::applicationPid()));
  display.setProcessEnvironment(env);
  display.start(
      ORVANDRY_BINARY,
      {"--port", pty, "--mqtt-broker", QString("127.0.0.1:%1").arg(broker.port()), "--dryer-name",
       "e2e-dryer", "--run-seconds", "25", "--screenshot-every", "3600", "-platform", "offscreen",
       "--data-dir", tmp.filePath("data"), "--usb-dir", tmp.filePath("usb")});
  ASSERT_TRUE(display.waitForStarted());

  const bool arrived =
      Eventually([&] { return !farm.On("orvandry/e2e-dryer/shutdown").empty(); }, 15000ms);
  if (!arrived) {
    display.kill();
    display.waitForFinished();
  }
  ASSERT_TRUE(arrived) << display.readAllStandardError().toStdString() << broker.Log();
  const QJsonObject alert = Json(farm.On("orvandry/e2e-dryer/shutdown")[0].payload);
  EXPECT_EQ(alert["code"].toString(), "0205");
  EXPECT_EQ(alert["node"].toString(), "FAN/HEATER #1");
  EXPECT_EQ(alert["text"].toString(), "0205 - BURNER #1 GRAIN OVERHEAT");
  EXPECT_TRUE(Eventually([&] {
    const auto status = farm.On("orvandry/e2e-dryer/status");
    return !status.empty() && Json(status.back().payload)["link"].toString() == "up";
  }));
  EXPECT_TRUE(Json(farm.On("orvandry/e2e-dryer/link").at(0).payload)["online"].toBool());

  display.kill();  // no goodbye: the broker speaks the last will
  display.waitForFinished();
  EXPECT_TRUE(Eventually([&] {
    const auto link = farm.On("orvandry/e2e-dryer/link");
    return link.size() >= 2 && !Json(link.back().payload)["online"].toBool(true);
  }));
  sim.kill();
  sim.waitForFinished();
}

}  // namespace
}  // namespace orvandry::alerts
