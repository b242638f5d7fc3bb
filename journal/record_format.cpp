#include "journal/record_format.h"

#include <algorithm>
#include <cstdio>

#include "platform/temperature_units.h"

namespace orvandry::journal {
namespace {

using link::Rec;

enum class Kind : std::uint8_t {
  kRaw,          // hex bytes
  kTemperature,  // signed whole degrees F, low byte first
  kDifference,   // one byte of degrees F, a temperature difference
  kTimer,        // minutes byte, seconds byte
  kMoisture,     // tenths of a percent, high byte first
  kNumber,       // one byte
  kNumber16,     // high byte first
};

struct Format {
  Rec rec;
  const char* name;
  Kind kind;
};

// The records the setup screens edit, with the names their screens give them.
constexpr Format kFormats[] = {
    {Rec::kFanCount, "NUMBER OF FANS", Kind::kNumber},
    {Rec::kModuleCount, "NUMBER OF MODULES", Kind::kNumber},
    {Rec::kFuel, "FUEL TYPE", Kind::kNumber},
    {Rec::kLoadSystem, "LOAD SYSTEM", Kind::kNumber},
    {Rec::kDryerLength, "DRYER LENGTH", Kind::kNumber},
    {Rec::kBatchSelector, "DRYING MODE SELECTION", Kind::kNumber},
    {Rec::kDryTimerReload, "DRY TIMER", Kind::kTimer},
    {Rec::kDryTimerRunning, "DRY TIMER (RUNNING)", Kind::kTimer},
    {Rec::kLoHeatTimerReload, "LO-HEAT TIMER", Kind::kTimer},
    {Rec::kLoHeatTimerRunning, "LO-HEAT TIMER (RUNNING)", Kind::kTimer},
    {Rec::kCoolTimerReload, "COOL TIMER", Kind::kTimer},
    {Rec::kCoolTimerRunning, "COOL TIMER (RUNNING)", Kind::kTimer},
    {Rec::kUnloadTimerReload, "UNLOAD TIMER", Kind::kTimer},
    {Rec::kUnloadTimerRunning, "UNLOAD TIMER (RUNNING)", Kind::kTimer},
    {Rec::kFillTimer, "FILL TIMER", Kind::kTimer},
    {Rec::kLoadStartupDelay, "LOAD START-UP DELAY", Kind::kTimer},
    {Rec::kUnloadCleanoutDelay, "UNLOAD CLEAN-OUT DELAY", Kind::kTimer},
    {Rec::kFanStartDelay, "FAN START DELAY", Kind::kTimer},
    {Rec::kPlenumSetpoint6, "PLENUM 6 SETPOINT", Kind::kTemperature},
    {Rec::kPlenumSetpoint5, "PLENUM 5 SETPOINT", Kind::kTemperature},
    {Rec::kPlenumSetpoint4, "PLENUM 4 SETPOINT", Kind::kTemperature},
    {Rec::kPlenumSetpoint3, "PLENUM 3 SETPOINT", Kind::kTemperature},
    {Rec::kPlenumSetpoint2, "PLENUM 2 SETPOINT", Kind::kTemperature},
    {Rec::kPlenumSetpoint1, "PLENUM 1 SETPOINT", Kind::kTemperature},
    {Rec::kBurnerDifferential6, "BURNER 6 DIFFERENTIAL", Kind::kDifference},
    {Rec::kBurnerDifferential5, "BURNER 5 DIFFERENTIAL", Kind::kDifference},
    {Rec::kBurnerDifferential4, "BURNER 4 DIFFERENTIAL", Kind::kDifference},
    {Rec::kBurnerDifferential3, "BURNER 3 DIFFERENTIAL", Kind::kDifference},
    {Rec::kBurnerDifferential2, "BURNER 2 DIFFERENTIAL", Kind::kDifference},
    {Rec::kBurnerDifferential1, "BURNER 1 DIFFERENTIAL", Kind::kDifference},
    {Rec::kBurnerMode6, "BURNER 6 MODE", Kind::kNumber},
    {Rec::kBurnerMode5, "BURNER 5 MODE", Kind::kNumber},
    {Rec::kBurnerMode4, "BURNER 4 MODE", Kind::kNumber},
    {Rec::kBurnerMode3, "BURNER 3 MODE", Kind::kNumber},
    {Rec::kBurnerMode2, "BURNER 2 MODE", Kind::kNumber},
    {Rec::kBurnerMode1, "BURNER 1 MODE", Kind::kNumber},
    {Rec::kGrainSetpoint, "GRAIN TEMP SETPOINT", Kind::kTemperature},
    {Rec::kGrainHigh, "GRAIN TEMP HIGH LIMIT", Kind::kTemperature},
    {Rec::kGrainLow, "GRAIN TEMP LOW LIMIT", Kind::kTemperature},
    {Rec::kMoistureSetpoint, "MOISTURE SETPOINT", Kind::kMoisture},
    {Rec::kUnloadRateMax, "UNLOAD RATE MAXIMUM", Kind::kNumber16},
    {Rec::kUnloadRateMin, "UNLOAD RATE MINIMUM", Kind::kNumber16},
    {Rec::kDryingMode, "DRYING MODE", Kind::kNumber},
    {Rec::kMeteringMode, "METERING MODE", Kind::kNumber},
    {Rec::kPlenum2LowTemp, "PLENUM 2 LOW TEMP", Kind::kTemperature},
    {Rec::kPlenum1LowTemp, "PLENUM 1 LOW TEMP", Kind::kTemperature},
    {Rec::kDisplaySettings, "DISPLAY SETTINGS", Kind::kRaw},
    {Rec::kOptionByte, "OPTIONS", Kind::kRaw},
    {Rec::kConfigBits, "DRYER CONFIGURATION", Kind::kRaw},
    {Rec::kMeteringControl, "METERING ROLL CONTROL", Kind::kRaw},
    {Rec::kMeteringSpeedHigh, "METERING ROLL SPEED HIGH", Kind::kNumber},
    {Rec::kMeteringSpeedMain, "METERING ROLL SPEED", Kind::kNumber},
    {Rec::kMeteringSpeedLow, "METERING ROLL SPEED LOW", Kind::kNumber},
    {Rec::kMeteringFromKnob, "METERING ROLL SPEEDS", Kind::kRaw},
    {Rec::kAutoStartMode, "AUTO-START MODE", Kind::kRaw},
    {Rec::kSamplerConfig, "MOISTURE SAMPLER SETUP", Kind::kRaw},
    {Rec::kCoolDownTimer, "COOL-DOWN TIMER", Kind::kTimer},
};

const Format* FormatOf(Rec rec) {
  for (const Format& f : kFormats)
    if (f.rec == rec) return &f;
  return nullptr;
}

std::string Printf(const char* format, auto... args) {
  char text[48];
  std::snprintf(text, sizeof text, format, args...);
  return text;
}

std::string Raw(std::span<const std::uint8_t> bytes) {
  std::string out;
  for (std::uint8_t b : bytes) out += (out.empty() ? "" : " ") + Printf("%02X", unsigned{b});
  return out.empty() ? "-" : out;
}

}  // namespace

bool Journalled(Rec rec) {
  const link::PendingWriteRecord& record = link::RecordOf(rec);
  return record.lowering != link::Lowering::kOneShot &&
         record.source == link::DataSource::kRequestImage;
}

std::string RecordName(Rec rec) {
  if (const Format* f = FormatOf(rec)) return f->name;
  return Printf("RECORD %zu", link::RecordOf(rec).number());
}

std::string FormatValue(Rec rec, std::span<const std::uint8_t> bytes, bool si_units) {
  const Format* f = FormatOf(rec);
  const Kind kind = f != nullptr ? f->kind : Kind::kRaw;
  const std::size_t need = kind == Kind::kDifference || kind == Kind::kNumber ? 1
                           : kind == Kind::kRaw                               ? 0
                                                                              : 2;
  if (bytes.size() < need) return Raw(bytes);
  switch (kind) {
    case Kind::kTemperature: {
      const int f_degrees = static_cast<std::int16_t>(bytes[0] | (bytes[1] << 8));
      return si_units ? Printf(
                            "%d \xB0"
                            "C",
                            platform::fahrenheit_to_celsius(f_degrees))
                      : Printf(
                            "%d \xB0"
                            "F",
                            f_degrees);
    }
    case Kind::kDifference:
      return si_units ? Printf(
                            "%d \xB0"
                            "C",
                            bytes[0] * 5 / 9)
                      : Printf(
                            "%d \xB0"
                            "F",
                            bytes[0]);
    case Kind::kTimer:
      return Printf("%u:%02u", unsigned{bytes[0]}, unsigned{bytes[1]});
    case Kind::kMoisture: {
      const unsigned tenths = (bytes[0] << 8) | bytes[1];
      return Printf("%u.%u %%", tenths / 10, tenths % 10);
    }
    case Kind::kNumber:
      return Printf("%u", unsigned{bytes[0]});
    case Kind::kNumber16:
      return Printf("%u", (unsigned{bytes[0]} << 8) | bytes[1]);
    case Kind::kRaw:
      break;
  }
  return Raw(bytes);
}

std::string FormatReported(link::Rec rec, const link::ByteImage& dryer_state, bool si_units) {
  const link::PendingWriteRecord& record = link::RecordOf(rec);
  std::uint8_t now[8] = {};
  const std::size_t size = std::min<std::size_t>(record.size, sizeof now);
  for (std::size_t i = 0; i < size; ++i) now[i] = dryer_state.Get(record.target_offset() + i);
  return FormatValue(rec, {now, size}, si_units);
}

}  // namespace orvandry::journal
