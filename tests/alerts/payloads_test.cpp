// The alert payloads and the status report, read back with a real JSON parser; the broker
// address and the dryer name as the command line takes them; the outbox and the back-off.

#include <gtest/gtest.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <string>

#include "alerts/alert_payloads.h"
#include "alerts/json_text.h"
#include "alerts/mqtt_config.h"
#include "alerts/outbox.h"
#include "alerts/status_report.h"
#include "link/status_map.h"

namespace orvandry::alerts {
namespace {

namespace sm = link::status_map;

QJsonObject Parse(const std::string& json) {
  QJsonParseError error;
  const QJsonDocument doc = QJsonDocument::fromJson(QByteArray::fromStdString(json), &error);
  EXPECT_EQ(error.error, QJsonParseError::NoError) << json;
  return doc.object();
}

TEST(JsonText, AnyBytesComeOutAsValidJsonWithTheSameText) {
  const struct {
    std::string in;
    QString out;
  } cases[] = {
      {"say \"no\", then \\", "say \"no\", then \\"},
      {"line\nbreak\ttab\x01", "line\nbreak\ttab\x01"},
      {"180 \xC2\xB0"
       "F",
       QString::fromUtf8("180 \xC2\xB0"
                         "F")},  // UTF-8 kept
      {"180 \xB0"
       "F",
       QString::fromUtf8("180 \xC2\xB0"
                         "F")},                             // Latin-1 degree sign
      {"\xE2\x82", QString::fromUtf8("\xC3\xA2\xC2\x82")},  // cut-off sequence
  };
  for (const auto& c : cases) {
    const QJsonObject object = Parse(JsonObject().Text("t", c.in).Close());
    EXPECT_EQ(object["t"].toString(), c.out) << c.in;
  }
  EXPECT_EQ(TenthsText(153), "15.3");
  EXPECT_EQ(TenthsText(-5), "-0.5");
  EXPECT_EQ(TenthsText(0), "0.0");
}

TEST(Payloads, ShutdownCarriesCodeNodeTextAndTime) {
  const std::string time = IsoLocalTime(1'700'000'000);
  EXPECT_EQ(time.size(), 25u) << time;  // 2023-11-14T22:13:20+00:00
  EXPECT_EQ(time[10], 'T');
  EXPECT_EQ(time[22], ':');
  const QJsonObject alert =
      Parse(ShutdownJson({7, 0x0E05, "Dryer \"A\" node", "DOOR, OPEN", time}));
  EXPECT_EQ(alert["seq"].toInt(), 7);
  EXPECT_EQ(alert["code"].toString(), "0E05");
  EXPECT_EQ(alert["node"].toString(), "Dryer \"A\" node");
  EXPECT_EQ(alert["text"].toString(), "DOOR, OPEN");
  EXPECT_EQ(alert["time"].toString().toStdString(), time);
  EXPECT_FALSE(Parse(LinkJson(false, ""))["online"].toBool(true));
  EXPECT_FALSE(Parse(LinkJson(false, "")).contains("time"));
}

TEST(StatusReport, ValuesAreNamedInThePanelsUnits) {
  link::LinkShared shared;
  auto& s = shared.dryer_state;
  s.Set(sm::kFanCountCode, 1);  // two fan/heaters
  s.SetT16(sm::PlenumSetpoint(1), 212);
  s.SetT16(sm::PlenumReading(1), 32);
  s.SetT16(sm::PlenumSetpoint(2), 180);
  s.SetT16(sm::PlenumReading(2), -40);
  s.SetBe16(sm::kOutgoingMoisture, 153);
  s.SetBe16(sm::kUnloadRate, 850);
  s.SetU32(sm::kBushelCounter, 3600 * 1234 + 1800);
  s.Set(sm::kWarningNode, 0x02);
  s.Set(sm::kWarningId, 0x05);
  s.Set(sm::kDryerStateBits, 0x40);

  QJsonObject status = Parse(StatusJson(shared, "T"));
  EXPECT_EQ(status["link"].toString(), "waiting") << "no frame yet: no warning claimed either";
  EXPECT_TRUE(status["warning"].isNull());

  shared.first_frame_accepted = true;
  const struct {
    bool si;
    const char* unit;
    int setpoint1, reading1, setpoint2, reading2;
  } cases[] = {{false, "°F", 212, 32, 180, -40}, {true, "°C", 100, 0, 82, -40}};
  for (const auto& c : cases) {
    shared.si_units = c.si ? 1 : 0;
    status = Parse(StatusJson(shared, "2026-12-07T21:30:05+00:00"));
    EXPECT_EQ(status["units"].toObject()["temperature"].toString(), QString::fromUtf8(c.unit));
    const QJsonArray plenums = status["plenums"].toArray();
    ASSERT_EQ(plenums.size(), 2);
    EXPECT_EQ(plenums[0].toObject()["setpoint"].toInt(), c.setpoint1);
    EXPECT_EQ(plenums[0].toObject()["reading"].toInt(), c.reading1);
    EXPECT_EQ(plenums[1].toObject()["setpoint"].toInt(), c.setpoint2);
    EXPECT_EQ(plenums[1].toObject()["reading"].toInt(), c.reading2);
  }
  EXPECT_EQ(status["link"].toString(), "up");
  EXPECT_TRUE(status["running"].toBool());
  EXPECT_DOUBLE_EQ(status["moisture_outgoing"].toDouble(), 15.3);
  EXPECT_EQ(status["bushels_per_hour"].toInt(), 850);
  EXPECT_EQ(status["total_bushels"].toInt(), 1234);
  EXPECT_EQ(status["warning"].toObject()["code"].toString(), "0205");
  EXPECT_FALSE(status["warning"].toObject()["text"].toString().isEmpty());

  shared.link_alive = 0;
  EXPECT_EQ(Parse(StatusJson(shared, "T"))["link"].toString(), "lost");
}

TEST(MqttConfig, BrokerAddressAndDryerName) {
  const struct {
    const char* text;
    const char* host;  // null: refused
    int port;
  } cases[] = {
      {"localhost:1883", "localhost", 1883},
      {"[::1]:8883", "::1", 8883},
      {"10.0.0.2:65535", "10.0.0.2", 65535},
      {"host", nullptr, 0},
      {"host:0", nullptr, 0},
      {"host:65536", nullptr, 0},
      {":1883", nullptr, 0},
      {"host:18x3", nullptr, 0},
      {"::1:1883", nullptr, 0},
      {"a b:1883", nullptr, 0},
  };
  for (const auto& c : cases) {
    const auto address = ParseBrokerAddress(c.text);
    ASSERT_EQ(address.has_value(), c.host != nullptr) << c.text;
    if (!address) continue;
    EXPECT_EQ(address->host, c.host);
    EXPECT_EQ(address->port, c.port);
  }
  for (const char* bad : {"", "a/b", "a+", "#", "two words"}) EXPECT_FALSE(ValidDryerName(bad));
  EXPECT_TRUE(ValidDryerName("north-bin_2"));
  EXPECT_TRUE(ValidDryerName(DefaultDryerName()));
}

TEST(Outbox, KeepsOrderAndDropsTheOldestWaitingWhenFull) {
  Outbox box(3);
  for (const char* m : {"a", "b", "c", "d"}) box.Push(m, false);
  EXPECT_EQ(box.dropped(), 1u);
  EXPECT_EQ(box.front(), "b");
  box.Push("e", true);  // "b" is on its way: "c" goes instead
  std::string order;
  for (; !box.empty(); box.PopFront()) order += box.front();
  EXPECT_EQ(order, "bde");

  using std::chrono::milliseconds;
  Backoff backoff(milliseconds(500), milliseconds(3000));
  std::string delays;
  for (int i = 0; i < 5; ++i) delays += std::to_string(backoff.Next().count()) + " ";
  backoff.Reset();
  delays += std::to_string(backoff.Next().count());
  EXPECT_EQ(delays, "500 1000 2000 3000 3000 500");
}

}  // namespace
}  // namespace orvandry::alerts
