#include "link/pending_write.h"

namespace orvandry::link {
namespace {

using enum DataSource;
using enum Lowering;

constexpr PendingWriteRecord R(Rec rec, std::uint8_t group, std::uint8_t id, std::uint8_t size,
                               Lowering lowering, const char* raised_by) {
  return {rec, group, id, size, static_cast<std::uint16_t>(group * 256U + id), kRequestImage,
          lowering, raised_by};
}
constexpr PendingWriteRecord FromState(Rec rec, std::uint8_t id, std::uint8_t size,
                                       std::uint16_t state_offset, Lowering lowering,
                                       const char* raised_by) {
  return {rec, 0, id, size, state_offset, kDryerState, lowering, raised_by};
}

constexpr const char* kHardware = "hardware setup";
constexpr const char* kBatchWindow = "batch drying window";
constexpr const char* kReloadPrompt = "timer reload prompt";
constexpr const char* kTimers = "timer editing";
constexpr const char* kTemps = "temperature setpoints";
constexpr const char* kBurnerDiff = "burner differential dialog";
constexpr const char* kBurnerMode = "burner mode dialog, diagnostics";
constexpr const char* kMetering = "metering-roll speed dialog";
constexpr const char* kModes = "drying mode, continuous flow, staged batch, metering-roll speed";
constexpr const char* kPrinter = "moisture control printer setup";
constexpr const char* kCalibration = "moisture sensor calibration";
constexpr const char* kAutoStart = "auto-start wizard";

}  // namespace

const std::array<PendingWriteRecord, kPendingWriteCount> kPendingWriteRecords = {{
    R(Rec::kFanCount, 0, 3, 1, kEqual, kHardware),
    R(Rec::kModuleCount, 0, 4, 1, kEqual, kHardware),
    R(Rec::kFuel, 0, 5, 1, kEqual, kHardware),
    R(Rec::kLoadSystem, 0, 6, 1, kEqual, kHardware),
    R(Rec::kDryerLength, 0, 7, 1, kEqual, kHardware),
    R(Rec::kBatchSelector, 0, 8, 1, kEqual, "drying mode selection"),
    R(Rec::kDryTimerReload, 0, 11, 2, kEqual, kBatchWindow),
    R(Rec::kDryTimerRunning, 0, 9, 2, kRunningTimer, kReloadPrompt),
    R(Rec::kLoHeatTimerReload, 0, 254, 2, kEqual, kBatchWindow),
    R(Rec::kLoHeatTimerRunning, 0, 252, 2, kRunningTimer, kReloadPrompt),
    R(Rec::kCoolTimerReload, 0, 16, 2, kEqual, kBatchWindow),
    R(Rec::kCoolTimerRunning, 0, 14, 2, kRunningTimer, kReloadPrompt),
    R(Rec::kUnloadTimerReload, 0, 21, 2, kEqual, kBatchWindow),
    R(Rec::kUnloadTimerRunning, 0, 19, 2, kRunningTimer, kReloadPrompt),
    R(Rec::kFillTimer, 0, 26, 2, kEqual, kTimers),
    R(Rec::kLoadStartupDelay, 0, 31, 2, kEqual, kTimers),
    R(Rec::kUnloadCleanoutDelay, 0, 41, 2, kEqual, kTimers),
    R(Rec::kFanStartDelay, 0, 46, 2, kEqual, kTimers),
    R(Rec::kOptionByte, 0, 49, 1, kEqual, "extended setup, diagnostics"),
    R(Rec::kPlenumTempManager, 0, 50, 1, kEqual, "plenum temperature manager"),
    R(Rec::kClock, 0, 53, 5, kOneShot, "1 s tick"),
    R(Rec::kPlenumSetpoint6, 0, 59, 2, kEqualBeforeCopy, kTemps),
    R(Rec::kPlenumSetpoint5, 0, 61, 2, kEqualBeforeCopy, kTemps),
    R(Rec::kPlenumSetpoint4, 0, 63, 2, kEqualBeforeCopy, kTemps),
    R(Rec::kPlenumSetpoint3, 0, 65, 2, kEqualBeforeCopy, kTemps),
    R(Rec::kPlenumSetpoint2, 0, 67, 2, kEqualBeforeCopy, kTemps),
    R(Rec::kPlenumSetpoint1, 0, 69, 2, kEqualBeforeCopy, kTemps),
    R(Rec::kBurnerDifferential6, 0, 95, 1, kEqual, kBurnerDiff),
    R(Rec::kBurnerDifferential5, 0, 96, 1, kEqual, kBurnerDiff),
    R(Rec::kBurnerDifferential4, 0, 97, 1, kEqual, kBurnerDiff),
    R(Rec::kBurnerDifferential3, 0, 98, 1, kEqual, kBurnerDiff),
    R(Rec::kBurnerDifferential2, 0, 99, 1, kEqual, kBurnerDiff),
    R(Rec::kBurnerDifferential1, 0, 100, 1, kEqual, kBurnerDiff),
    R(Rec::kBurnerMode6, 0, 101, 1, kEqual, kBurnerMode),
    R(Rec::kBurnerMode5, 0, 102, 1, kEqual, kBurnerMode),
    R(Rec::kBurnerMode4, 0, 103, 1, kEqual, kBurnerMode),
    R(Rec::kBurnerMode3, 0, 104, 1, kEqual, kBurnerMode),
    R(Rec::kBurnerMode2, 0, 105, 1, kEqual, kBurnerMode),
    R(Rec::kBurnerMode1, 0, 106, 1, kEqual, kBurnerMode),
    R(Rec::kGrainSetpoint, 0, 149, 2, kEqualBeforeCopy, kTemps),
    R(Rec::kGrainHigh, 0, 151, 2, kEqual, kTemps),
    R(Rec::kGrainLow, 0, 153, 2, kEqual, kTemps),
    R(Rec::kMeteringControl, 0, 159, 1, kByMeteringDialog, kMetering),
    R(Rec::kMeteringSpeedHigh, 0, 156, 1, kEqualWhenChanged, kMetering),
    R(Rec::kMeteringSpeedMain, 0, 157, 1, kEqualWhenChanged, kMetering),
    R(Rec::kMeteringSpeedLow, 0, 158, 1, kEqualWhenChanged, kMetering),
    FromState(Rec::kMeteringFromDisplay, 159, 4, 155, kMeteringDisplay, kMetering),
    FromState(Rec::kMeteringCopy161, 161, 1, 230, kFrameByte161, kMetering),
    R(Rec::kBushelCalibration, 0, 163, 1, kEqual, "unload bushels setup"),
    R(Rec::kMeteringMode, 0, 187, 1, kEqual, kModes),
    FromState(Rec::kMeteringCopyWorking, 160, 3, 156, kMeteringCopy, "metering dialog, status intake"),
    R(Rec::kMeteringFromKnob, 0, 159, 4, kMeteringKnob, kMetering),
    R(Rec::kMoistureSetpoint, 0, 199, 2, kEqual, "moisture setpoint dialog"),
    R(Rec::kPrinterSetting202, 0, 202, 1, kEqual, kPrinter),
    R(Rec::kPrinterSetting203, 0, 203, 1, kEqual, kPrinter),
    R(Rec::kUnloadRateMax, 0, 206, 2, kEqual, "unload parameters"),
    R(Rec::kUnloadRateMin, 0, 208, 2, kEqual, "unload parameters"),
    R(Rec::kPrinterOptions, 0, 216, 2, kPrinterBit, kPrinter),
    R(Rec::kPrinterCommand, 0, 218, 2, kOneShot, kPrinter),
    R(Rec::kBatchCounter, 0, 221, 2, kEqual, "extended setup"),
    R(Rec::kDryingMode, 0, 224, 1, kEqual, kModes),
    R(Rec::kBracket226, 0, 226, 1, kEqual, "bracketed 5-speed setup"),
    R(Rec::kBracket227, 0, 227, 1, kEqual, "bracketed 5-speed setup"),
    R(Rec::kBracket228, 0, 228, 1, kEqual, "bracketed 5-speed setup"),
    R(Rec::kBracket229, 0, 229, 1, kEqual, "bracketed 5-speed setup"),
    R(Rec::kCalibration232, 0, 232, 2, kEqual, kCalibration),
    R(Rec::kCalibration234, 0, 234, 2, kEqual, kCalibration),
    R(Rec::kMeterOutput236, 0, 236, 1, kEqual, "meter rolls output voltage setup"),
    R(Rec::kMeterOutput237, 0, 237, 1, kEqual, "meter rolls output voltage setup"),
    R(Rec::kCommandBits238, 0, 238, 1, kEqual, "unload bushels setup, output voltage, status intake"),
    R(Rec::kCalibration241, 0, 241, 2, kEqual, kCalibration),
    R(Rec::kCalibration243, 0, 243, 2, kEqual, kCalibration),
    R(Rec::kRemoteConnection, 0, 246, 1, kEqual, "remote connection setup"),
    R(Rec::kConfigBits, 1, 1, 1, kEqual, "hardware setup, drying mode, staged batch"),
    R(Rec::kPlenum2LowTemp, 1, 2, 2, kEqualBeforeCopy, kTemps),
    R(Rec::kPlenum1LowTemp, 1, 4, 2, kEqualBeforeCopy, kTemps),
    R(Rec::kDisplaySettings, 1, 10, 1, kDisplaySettings, "user settings, view selection, setup screens"),
    R(Rec::kCoolDownTimer, 1, 13, 2, kEqual, kTimers),
    R(Rec::kStagedBatchValue, 1, 18, 2, kEqual, "staged batch setup"),
    R(Rec::kMoistureControlValue, 1, 21, 2, kEqual, "continuous flow, staged batch setup"),
    R(Rec::kAutoStartMode, 1, 23, 1, kAutoStartMode, kAutoStart),
    R(Rec::kAutoStartValue1, 1, 25, 2, kEqual, kAutoStart),
    R(Rec::kAutoStartValue2, 1, 27, 2, kEqual, kAutoStart),
    R(Rec::kDataLogger, 1, 33, 1, kEqual, "day data logger setup"),
    R(Rec::kSamplerConfig, 1, 37, 1, kEqual, "hardware setup, moisture sampler setup"),
}};

const PendingWriteRecord& RecordOf(Rec rec) { return kPendingWriteRecords[Index(rec)]; }

Rec PlenumSetpointRec(int fan_heater) {
  return static_cast<Rec>(Index(Rec::kPlenumSetpoint1) - static_cast<std::size_t>(fan_heater - 1));
}
Rec BurnerDifferentialRec(int fan_heater) {
  return static_cast<Rec>(Index(Rec::kBurnerDifferential1) - static_cast<std::size_t>(fan_heater - 1));
}
Rec BurnerModeRec(int fan_heater) {
  return static_cast<Rec>(Index(Rec::kBurnerMode1) - static_cast<std::size_t>(fan_heater - 1));
}

bool PendingWrites::AnyRaised() const {
  for (const auto& flag : flags_)
    if (flag.load(std::memory_order_acquire) != 0) return true;
  return false;
}

}  // namespace orvandry::link
