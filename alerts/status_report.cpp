#include "alerts/status_report.h"

#include "alerts/json_text.h"
#include "link/link_cycle.h"
#include "platform/temperature_units.h"
#include "warnings/warning_code.h"
#include "warnings/warning_text_table.h"

namespace orvandry::alerts {

namespace {

namespace sm = link::status_map;

constexpr std::uint8_t kRunningBit = 0x40;  // byte 188
constexpr std::uint32_t kCounterUnitsPerBushel = 3600;

int Shown(int fahrenheit, bool si) {
  return si ? platform::fahrenheit_to_celsius(fahrenheit) : fahrenheit;
}

}  // namespace

int FanHeaterCount(std::uint8_t fan_count_code) {
  constexpr int kCounts[] = {1, 2, 3, 4, 6};
  return fan_count_code < 5 ? kCounts[fan_count_code] : 1;
}

std::string StatusJson(const link::LinkShared& shared, std::string_view time) {
  const link::ByteImage& s = shared.dryer_state;
  const bool si = shared.si_units.load(std::memory_order_relaxed) != 0;
  const bool first = shared.first_frame_accepted.load(std::memory_order_acquire);

  std::string plenums = "[";
  const int fan_heaters = FanHeaterCount(s.Get(sm::kFanCountCode));
  for (int k = 1; k <= fan_heaters; ++k) {
    if (k > 1) plenums += ',';
    plenums += JsonObject()
                   .Number("fan_heater", k)
                   .Number("setpoint", Shown(s.GetT16(sm::PlenumSetpoint(k)), si))
                   .Number("reading", Shown(s.GetT16(sm::PlenumReading(k)), si))
                   .Close();
  }
  plenums += ']';

  std::string warning = "null";
  if (const std::uint8_t id = s.Get(sm::kWarningId); first && id != 0) {
    const std::uint8_t node = s.Get(sm::kWarningNode);
    const warnings::WarningCode code = warnings::MakeWarningCode(node, id);
    warning = JsonObject()
                  .Text("code", warnings::FormatWarningCode(code))
                  .Text("node", warnings::NodeName(node))
                  .Text("text", warnings::WarningText(code))
                  .Close();
  }

  const std::string units = JsonObject()
                                .Text("temperature", si ? "°C" : "°F")
                                .Text("moisture", "%")
                                .Text("unload_rate", "bu/h")
                                .Text("roll_speed", "rpm")
                                .Close();
  return JsonObject()
      .Text("time", time)
      .Raw("units", units)
      .Text("link", !first                   ? "waiting"
                    : link::LinkLost(shared) ? "lost"
                                             : "up")
      .Bool("running", (s.Get(sm::kDryerStateBits) & kRunningBit) != 0)
      .Raw("warning", warning)
      .Raw("plenums", plenums)
      .Number("grain_temp_setpoint", Shown(s.GetT16(sm::kGrainTempSetpoint), si))
      .Tenths("moisture_outgoing", s.GetBe16(sm::kOutgoingMoisture))
      .Tenths("moisture_incoming", s.GetBe16(sm::kIncomingMoisture))
      .Tenths("moisture_setpoint", s.GetBe16(sm::kMoistureSetpoint))
      .Tenths("metering_roll_rpm", s.GetBe16(sm::kMeteringRpm))
      .Number("bushels_per_hour", s.GetBe16(sm::kUnloadRate))
      .Number("total_bushels", s.GetU32(sm::kBushelCounter) / kCounterUnitsPerBushel)
      .Close();
}

}  // namespace orvandry::alerts
