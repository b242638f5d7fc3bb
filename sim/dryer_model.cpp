#include "sim/dryer_model.h"

#include <algorithm>
#include <cmath>

#include "link/pending_write.h"
#include "link/status_map.h"

namespace orvandry::sim {
namespace sm = link::status_map;

namespace {

constexpr double kAmbientF = 60.0;
constexpr int kTicksPerSecond = 4;

// Burner sequence and the heat it delivers.
constexpr double kPurgeSeconds = 15.0;
constexpr double kIgnitionSeconds = 5.0;
constexpr double kHighFireEquilibriumF = 300.0;  // where high fire would take the plenum
constexpr double kLowFireShortfallF = 15.0;      // low fire alone settles this far below setpoint
constexpr double kOvershootCutOutF = 15.0;       // burner shuts off this far above setpoint
constexpr double kHeatingTau = 30.0;
constexpr double kCoolingTau = 40.0;

// Grain flow.
constexpr double kLoadStartLevel = 0.6;
constexpr double kLoadRatePerSecond = 0.012;
constexpr double kUnloadDrainPerBph = 0.0035 / 650.0;  // level per second per bushel/hour
constexpr double kUnloadPauseSeconds = 20.0;
constexpr unsigned kNominalBph = 650;
constexpr unsigned kRpmHundredths = 125;

// Status bits this model drives.
constexpr std::uint8_t kActivityIdle = 0xA0;
constexpr std::uint8_t kActivityLoadingClear = 0x80;  // cleared while loading
constexpr std::uint8_t kActivityUnloading = 0x40;
constexpr std::uint8_t kUnloading172 = 0x01;
constexpr std::uint8_t kLoadRunning58 = 0x80;
constexpr std::uint8_t kDirectionLoad58 = 0x08;
constexpr std::uint8_t kDirectionUnload58 = 0x04;
constexpr std::uint8_t kLoading28 = 0x01;
constexpr std::uint8_t kUnloadTimeShown43 = 0x01;
constexpr std::uint8_t kRunning188 = 0x40;
constexpr std::uint8_t kLoadTimingEnabled179 = 0x10;
constexpr std::uint8_t kExtendedSetup183 = 0x04;
constexpr std::uint8_t kCoolingDown271 = 0x01;
constexpr std::uint8_t kClearBushels238 = 0x08;
constexpr std::size_t kPrinterOptions217 = 217;
constexpr std::uint8_t kPrinterDisabled217 = 0x40;
constexpr std::size_t kPrintCommand218 = 218;
constexpr std::uint8_t kPrintSummary218 = 0x20;
// The display I/O board: light outputs switched on (239-240) and shorted (177-178), switch
// inputs (180-182), and the sensors' calibration offsets (signed tenths, high byte first).
constexpr std::size_t kLightsOn239 = 239;
constexpr std::size_t kLightsShorted177 = 177;
constexpr std::size_t kSwitches180 = 180;
constexpr std::size_t kDryMoistureOffset = 232;
constexpr std::size_t kWetMoistureOffset = 234;
constexpr std::size_t kDryTempOffset = 241;
constexpr std::size_t kWetTempOffset = 243;
// Per fan/heater 1..6: the FAN and BURNER light outputs as (byte, bit).
struct LightBit {
  std::size_t byte;
  std::uint8_t bit;
};
constexpr LightBit kFanLight[6] = {{240, 0x08}, {240, 0x20}, {240, 0x80},
                                   {239, 0x40}, {239, 0x10}, {239, 0x04}};
constexpr LightBit kBurnerLight[6] = {{240, 0x10}, {240, 0x40}, {239, 0x80},
                                      {239, 0x20}, {239, 0x08}, {239, 0x02}};
constexpr std::uint8_t kLoadLight240 = 0x04;
constexpr std::uint8_t kUnloadLight240 = 0x02;
constexpr std::uint8_t kStartLight240 = 0x01;
// The AUTO position of each fitted fan/heater's FAN and BURNER switch in bytes 180-182 (fan 1's
// switch sits in byte 179, which carries the controller's status bits here).
constexpr LightBit kFanAuto[6] = {{0, 0},      {180, 0x04}, {180, 0x40},
                                  {181, 0x08}, {181, 0x80}, {182, 0x20}};
constexpr LightBit kBurnerAuto[6] = {{180, 0x01}, {180, 0x10}, {181, 0x02},
                                     {181, 0x20}, {182, 0x08}, {182, 0x80}};
constexpr std::uint8_t kFan1Shorted178 = 0x08;
constexpr std::uint8_t kRestoreSettings266 = 0x01;
constexpr std::uint8_t kSaveSettings266 = 0x02;
constexpr std::uint8_t kFanRunning = 0x01;
constexpr std::uint8_t kBurnerOn = 0x02;
constexpr std::uint8_t kHighFire = 0x04;
constexpr std::uint8_t kPurging = 0x01;
constexpr std::uint8_t kIgniting = 0x02;
constexpr std::uint8_t kDualDryTimers257 = 0x02;

constexpr int kFanHeatersByCode[] = {1, 2, 3, 4, 6};

}  // namespace

DryerModel::DryerModel(std::uint32_t seed) : rng_(seed) {
  for (Burner& b : burners_) b.temperature = kAmbientF;
  LoadInitialConfiguration();
  WriteOutputs(running());
}

void DryerModel::LoadInitialConfiguration() {
  Table& t = table_;
  t[sm::kFanCountCode] = 1;     // two fan/heaters
  t[sm::kModuleCountCode] = 0;  // one module
  t[sm::kFuelCode] = 0;         // LP
  t[sm::kLoadSystemCode] = 0;   // end fill
  t[sm::kDryerLengthCode] = 4;  // 16 ft
  t[sm::kBatchSelector] = 0;    // continuous flow

  SetTime(t, sm::kDryTimerReload, 40 * 60);
  SetTime(t, sm::kDryTimerRunning, 40 * 60);
  SetTime(t, sm::kCoolTimerReload, 20 * 60);
  SetTime(t, sm::kCoolTimerRunning, 20 * 60);
  SetTime(t, sm::kUnloadTimerReload, 90);
  SetTime(t, sm::kUnloadTimerRunning, 90);
  SetTime(t, sm::kFillTimerReload, 8 * 60);
  SetTime(t, sm::kFillTimeRemaining, 8 * 60);
  SetTime(t, sm::kLoadStartupDelay, 10);
  SetTime(t, sm::kUnloadCleanoutDelay, 60);
  SetTime(t, sm::kFanStartDelay, 5);
  SetTime(t, sm::kLoHeatDryTimerReload, 30 * 60);
  SetTime(t, sm::kLoHeatDryTimerRunning, 30 * 60);
  SetTime(t, sm::kCoolDownTimer, 5 * 60);

  SetT16(t, sm::PlenumSetpoint(1), 180);
  for (int k = 2; k <= kMaxFanHeaters; ++k) SetT16(t, sm::PlenumSetpoint(k), 170);
  for (int k = 1; k <= kMaxFanHeaters; ++k) {
    t[sm::BurnerDifferential(k)] = 5;
    t[sm::BurnerMode(k)] = 1;
  }
  SetT16(t, sm::kGrainTempSetpoint, 100);
  SetT16(t, sm::kGrainHighTemp, 110);
  SetT16(t, sm::kGrainLowTemp, 90);
  SetT16(t, sm::kPlenum2LowTemp, 160);
  SetT16(t, sm::kPlenum1LowTemp, 160);

  t[sm::kMeteringSpeedShown] = 1;
  t[sm::kMeteringSpeedHigh] = 80;
  t[sm::kMeteringSpeedMain] = 50;
  t[sm::kMeteringSpeedLow] = 20;
  t[sm::kSpeedSelection] = 1;
  t[sm::kWorkingSpeedHigh] = 80;
  t[sm::kWorkingSpeedHigh + 1] = 50;
  t[sm::kWorkingSpeedLow] = 20;
  t[sm::kBushelCalibration] = 100;
  SetBe16(t, sm::kUnloadRateMax, 1500);
  SetBe16(t, sm::kUnloadRateMin, 200);
  SetBe16(t, sm::kMoistureSetpoint, 155);
  t[sm::kMeteringMode] = 0x03;  // variable moisture control
  t[sm::kDryerActivity] = kActivityIdle;
  t[sm::kStatusBits179] = kLoadTimingEnabled179;
  t[sm::kOptionBits183] = kExtendedSetup183;
  t[sm::kGrainTempSelector] = 0;
  t[sm::kDryerStateBits] = kRunning188;
  t[sm::kDataLoggerSetting] = 0x01;
  t[sm::kRemoteConnection] = 0xA1;    // direct serial, 5 rings
  t[sm::kMeterOutputVoltage1] = 190;  // maximum output
  t[sm::kMeterOutputVoltage2] = 32;   // minimum output
  t[sm::kSamplerConfig] = 0x2A;       // switch to grain temperature control, 1/2 h, 2 h
}

bool DryerModel::IsSavedSetting(std::size_t offset) {
  // The settings the display writes, apart from commands and live values.
  for (const link::PendingWriteRecord& record : link::kPendingWriteRecords) {
    if (record.source != link::DataSource::kRequestImage) continue;
    if (record.lowering == link::Lowering::kOneShot ||
        record.lowering == link::Lowering::kRunningTimer)
      continue;
    if (record.rec == link::Rec::kCommandBits238 || record.rec == link::Rec::kDisplaySettings)
      continue;
    const std::size_t at = record.target_offset();
    if (offset >= at && offset < at + record.size) return true;
  }
  return false;
}

void DryerModel::TickUserSettings() {
  std::uint8_t& command = table_[sm::kDisplaySettings];
  if ((command & kSaveSettings266) != 0) {
    saved_settings_ = table_;
  } else if ((command & kRestoreSettings266) != 0 && saved_settings_) {
    for (std::size_t i = 0; i < table_.size(); ++i)
      if (IsSavedSetting(i)) table_[i] = (*saved_settings_)[i];
  }
  command &= static_cast<std::uint8_t>(~(kSaveSettings266 | kRestoreSettings266));
}

void DryerModel::Step(double seconds) {
  if (!(seconds > 0)) return;
  pending_ += seconds;
  while (pending_ >= kTickSeconds) {
    pending_ -= kTickSeconds;
    Tick();
  }
}

bool DryerModel::running() const {
  return (table_[sm::kDryerStateBits] & kRunning188) != 0;
}

int DryerModel::fan_heaters() const {
  const std::uint8_t code = table_[sm::kFanCountCode];
  return code < std::size(kFanHeatersByCode) ? kFanHeatersByCode[code] : 1;
}

bool DryerModel::staged_batch() const {
  return table_[sm::kBatchSelector] != 0;
}

void DryerModel::SetWarningCode(std::uint16_t code) {
  table_[sm::kWarningId] = static_cast<std::uint8_t>(code & 0xFF);
  table_[sm::kWarningNode] = static_cast<std::uint8_t>(code >> 8);
  if (code != 0) {
    table_[sm::kDryerStateBits] &= static_cast<std::uint8_t>(~kRunning188);
  } else {
    table_[sm::kDryerStateBits] |= kRunning188;
  }
  WriteOutputs(running());
}

std::uint16_t DryerModel::warning_code() const {
  return static_cast<std::uint16_t>(table_[sm::kWarningId] | (table_[sm::kWarningNode] << 8));
}

double DryerModel::Noise(double amplitude) {
  std::uniform_real_distribution<double> d(-amplitude, amplitude);
  return d(rng_);
}

void DryerModel::Tick() {
  ++ticks_;
  elapsed_ += kTickSeconds;
  const bool is_running = running();
  TickCoolDown(is_running);
  TickBurners(is_running);
  TickGrainFlow(is_running);
  TickDrift();
  TickUserSettings();
  if ((table_[sm::kCommandBits238] & kClearBushels238) != 0) {
    SetU32(table_, sm::kBushelCounter, 0);
    bushel_fraction_ = 0;
  }
  if ((table_[kPrintCommand218] & kPrintSummary218) != 0) {
    table_[kPrintCommand218] &= static_cast<std::uint8_t>(~kPrintSummary218);
    if ((table_[kPrinterOptions217] & kPrinterDisabled217) == 0) ++summaries_printed_;
  }
  WriteOutputs(is_running);
  was_running_ = is_running;
}

void DryerModel::TickCoolDown(bool is_running) {
  if (was_running_ && !is_running) {
    // A stop: the fans run on for the cool-down time to purge the heat from the grain column.
    cooling_down_ = true;
    table_[sm::kCoolDownTimeLeft] = table_[sm::kCoolDownTimer];
    table_[sm::kCoolDownTimeLeft + 1] = table_[sm::kCoolDownTimer + 1];
  }
  if (is_running) cooling_down_ = false;
  if (cooling_down_ && ticks_ % kTicksPerSecond == 0) {
    CountDownTimer(sm::kCoolDownTimeLeft);
    if (GetTime(table_, sm::kCoolDownTimeLeft) == 0) cooling_down_ = false;
  }
}

void DryerModel::StartBatch() {
  for (const auto& [running, reload] :
       {std::pair{sm::kDryTimerRunning, sm::kDryTimerReload},
        std::pair{sm::kLoHeatDryTimerRunning, sm::kLoHeatDryTimerReload},
        std::pair{sm::kCoolTimerRunning, sm::kCoolTimerReload},
        std::pair{sm::kUnloadTimerRunning, sm::kUnloadTimerReload}}) {
    table_[running] = table_[reload];
    table_[running + 1] = table_[reload + 1];
  }
  batch_stage_ = BatchStage::kDry;
}

void DryerModel::TickBatch() {
  const auto run_out = [this](std::size_t running) {
    CountDownTimer(running);
    return GetTime(table_, running) == 0;
  };
  const auto reload = [this](std::size_t running, std::size_t reload_value) {
    table_[running] = table_[reload_value];
    table_[running + 1] = table_[reload_value + 1];
  };
  switch (batch_stage_) {
    case BatchStage::kDry:
      if (run_out(sm::kDryTimerRunning))
        batch_stage_ = (table_[sm::kConfigBits] & kDualDryTimers257) != 0 ? BatchStage::kLowHeatDry
                                                                          : BatchStage::kCool;
      break;
    case BatchStage::kLowHeatDry:
      if (run_out(sm::kLoHeatDryTimerRunning)) batch_stage_ = BatchStage::kCool;
      break;
    case BatchStage::kCool:
      if (run_out(sm::kCoolTimerRunning)) batch_stage_ = BatchStage::kUnload;
      break;
    case BatchStage::kUnload:
      if (run_out(sm::kUnloadTimerRunning)) {
        // The batch is out: the next one starts with every timer at its reload value.
        reload(sm::kDryTimerRunning, sm::kDryTimerReload);
        reload(sm::kLoHeatDryTimerRunning, sm::kLoHeatDryTimerReload);
        reload(sm::kCoolTimerRunning, sm::kCoolTimerReload);
        reload(sm::kUnloadTimerRunning, sm::kUnloadTimerReload);
        batch_stage_ = BatchStage::kDry;
      }
      break;
  }
}

void DryerModel::TickBurners(bool is_running) {
  const int fans = fan_heaters();
  for (int k = 1; k <= kMaxFanHeaters; ++k) {
    Burner& b = burners_[k - 1];
    const double setpoint = GetT16(table_, sm::PlenumSetpoint(k));
    const double differential = std::max<int>(1, table_[sm::BurnerDifferential(k)]);
    if (!is_running || k > fans) {
      b.phase = BurnerPhase::kOff;
    } else {
      switch (b.phase) {
        case BurnerPhase::kOff:
          if (b.temperature < setpoint - differential) {
            b.phase = BurnerPhase::kPurging;
            b.phase_left = kPurgeSeconds;
          }
          break;
        case BurnerPhase::kPurging:
        case BurnerPhase::kIgniting:
          b.phase_left -= kTickSeconds;
          if (b.phase_left <= 0) {
            const bool purged = b.phase == BurnerPhase::kPurging;
            b.phase = purged ? BurnerPhase::kIgniting : BurnerPhase::kFiring;
            b.phase_left = purged ? kIgnitionSeconds : 0;
          }
          break;
        case BurnerPhase::kFiring:
          if (b.temperature > setpoint + kOvershootCutOutF) b.phase = BurnerPhase::kOff;
          break;
      }
    }

    // Firing burners switch between high and low fire around the setpoint; low fire alone would
    // settle a little below it, so the plenum rides the setpoint within the differential.
    double equilibrium = kAmbientF;
    double tau = kCoolingTau;
    if (b.phase == BurnerPhase::kFiring) {
      const bool high =
          b.temperature < setpoint - differential / 2 || (b.high_fire && b.temperature < setpoint);
      b.high_fire = high;
      equilibrium = high ? kHighFireEquilibriumF : setpoint - kLowFireShortfallF;
      tau = kHeatingTau;
    } else {
      b.high_fire = false;
    }
    const bool fan_on = (is_running || cooling_down_) && k <= fans;
    if (!fan_on && b.phase != BurnerPhase::kFiring) tau *= 4;  // still air cools slowly
    b.temperature += (equilibrium - b.temperature) * (kTickSeconds / tau) + Noise(0.05);
  }
}

void DryerModel::CountDownTimer(std::size_t offset) {
  const unsigned left = GetTime(table_, offset);
  if (left > 0) SetTime(table_, offset, left - 1);
}

void DryerModel::TickGrainFlow(bool is_running) {
  const bool whole_second = ticks_ % kTicksPerSecond == 0;
  if (!is_running) {
    loading_ = false;
    unloading_ = false;
    return;
  }

  if (!was_staged_batch_) was_staged_batch_ = staged_batch();
  if (staged_batch() != *was_staged_batch_) {
    was_staged_batch_ = staged_batch();
    if (staged_batch()) {
      StartBatch();
    } else {
      unloading_ = false;
      unload_phase_left_ = kUnloadPauseSeconds;
    }
  }
  if (staged_batch()) {
    // The batch timers decide when grain leaves; the unload timer is theirs.
    if (whole_second) TickBatch();
    unloading_ = batch_stage_ == BatchStage::kUnload;
  } else if (unloading_) {
    // Unloading runs for the unload timer, pauses, and starts again from the reload value.
    if (whole_second) CountDownTimer(sm::kUnloadTimerRunning);
    if (GetTime(table_, sm::kUnloadTimerRunning) == 0) {
      unloading_ = false;
      unload_phase_left_ = kUnloadPauseSeconds;
    }
  } else {
    unload_phase_left_ -= kTickSeconds;
    if (unload_phase_left_ <= 0) {
      unloading_ = true;
      table_[sm::kUnloadTimerRunning] = table_[sm::kUnloadTimerReload];
      table_[sm::kUnloadTimerRunning + 1] = table_[sm::kUnloadTimerReload + 1];
    }
  }

  unsigned rate = 0;
  if (unloading_) {
    const unsigned low = GetBe16(table_, sm::kUnloadRateMin);
    const unsigned high = GetBe16(table_, sm::kUnloadRateMax);
    rate = static_cast<unsigned>(std::lround(kNominalBph + 40.0 * std::sin(elapsed_ / 37.0)));
    if (high > 0) rate = std::min(rate, high);
    rate = std::max(rate, low);
    // The counter is in 1/3600 bushel, so a rate in bushels per hour adds exactly `rate` a second.
    bushel_fraction_ += rate * kTickSeconds;
    const auto whole = static_cast<std::uint32_t>(bushel_fraction_);
    bushel_fraction_ -= whole;
    SetU32(table_, sm::kBushelCounter, GetU32(table_, sm::kBushelCounter) + whole);
    grain_level_ -= rate * kUnloadDrainPerBph * kTickSeconds;
  }
  SetBe16(table_, sm::kUnloadRate, rate);

  // The load auger fills the column when the level drops and stops when it is full; the fill
  // timer counts down while it runs and is reloaded once the column is full again.
  if (!loading_ && grain_level_ < kLoadStartLevel) {
    loading_ = true;
    table_[sm::kFillTimeRemaining] = table_[sm::kFillTimerReload];
    table_[sm::kFillTimeRemaining + 1] = table_[sm::kFillTimerReload + 1];
  }
  if (loading_) {
    grain_level_ += kLoadRatePerSecond * kTickSeconds;
    if (whole_second) CountDownTimer(sm::kFillTimeRemaining);
    if (grain_level_ >= 1.0) {
      grain_level_ = 1.0;
      loading_ = false;
      table_[sm::kFillTimeRemaining] = table_[sm::kFillTimerReload];
      table_[sm::kFillTimeRemaining + 1] = table_[sm::kFillTimerReload + 1];
    }
  }
  grain_level_ = std::clamp(grain_level_, 0.0, 1.0);
}

void DryerModel::TickDrift() {
  const int fans = fan_heaters();
  double setpoint_sum = 0;
  double temperature_sum = 0;
  for (int k = 1; k <= fans; ++k) {
    setpoint_sum += GetT16(table_, sm::PlenumSetpoint(k));
    temperature_sum += burners_[k - 1].temperature;
  }
  const double mean_setpoint = setpoint_sum / fans;
  const double mean_temperature = temperature_sum / fans;

  incoming_moisture_ = std::clamp(incoming_moisture_ + Noise(0.01), 18.0, 26.0);
  incoming_grain_temperature_ =
      std::clamp(incoming_grain_temperature_ + Noise(0.01), kAmbientF - 5, kAmbientF + 5);

  // Hotter air dries harder; the outgoing moisture settles near the setpoint while the plenums
  // hold theirs, and towards the incoming moisture when they do not heat.
  const double setpoint = GetBe16(table_, sm::kMoistureSetpoint) / 10.0;
  const double shortfall = std::max(0.0, mean_setpoint - mean_temperature);
  const double target =
      std::min(incoming_moisture_, setpoint + (incoming_moisture_ - 22.0) * 0.2 + shortfall * 0.05);
  outgoing_moisture_ += (target - outgoing_moisture_) * (kTickSeconds / 120.0) + Noise(0.005);

  const double grain_target = running() ? 0.55 * mean_temperature : incoming_grain_temperature_;
  grain_temperature_ += (grain_target - grain_temperature_) * (kTickSeconds / 120.0) + Noise(0.01);
}

void DryerModel::WriteOutputs(bool is_running) {
  Table& t = table_;
  const int fans = fan_heaters();
  for (int k = 1; k <= kMaxFanHeaters; ++k) {
    const Burner& b = burners_[k - 1];
    SetT16(t, sm::PlenumReading(k), static_cast<int>(std::lround(b.temperature)));
    std::uint8_t output = 0;
    if ((is_running || cooling_down_) && k <= fans) output |= kFanRunning;
    if (b.phase == BurnerPhase::kFiring) output |= kBurnerOn | (b.high_fire ? kHighFire : 0);
    t[sm::FanHeaterStatus(k)] = output;
    // The dryer picture's tile byte for this fan/heater carries the same fan and burner bits.
    const std::size_t tile = sm::FanHeaterStatus(k) + 6;
    t[tile] = static_cast<std::uint8_t>((t[tile] & ~(kFanRunning | kBurnerOn)) |
                                        (output & (kFanRunning | kBurnerOn)));
    std::uint8_t status =
        t[sm::BurnerStatus(k)] & static_cast<std::uint8_t>(~(kPurging | kIgniting));
    if (b.phase == BurnerPhase::kPurging) status |= kPurging;
    if (b.phase == BurnerPhase::kIgniting) status |= kIgniting;
    t[sm::BurnerStatus(k)] = status;
  }

  std::uint8_t activity = kActivityIdle;
  if (loading_) activity &= static_cast<std::uint8_t>(~kActivityLoadingClear);
  if (unloading_) activity |= kActivityUnloading;
  t[sm::kDryerActivity] = activity;
  t[sm::kUnloadBits] = unloading_ ? kUnloading172 : 0;
  t[sm::kLoadDirectionBits] = static_cast<std::uint8_t>(
      (loading_ ? kLoadRunning58 | kDirectionLoad58 : 0) | (unloading_ ? kDirectionUnload58 : 0));
  t[sm::kLoadingBits] = loading_ ? kLoading28 : 0;
  t[sm::kUnloadTextBits] = unloading_ ? kUnloadTimeShown43 : 0;
  if (unloading_) {
    t[sm::kUnloadCleanoutShown] = t[sm::kUnloadTimerRunning];
    t[sm::kUnloadCleanoutShown + 1] = t[sm::kUnloadTimerRunning + 1];
  } else {
    SetTime(t, sm::kUnloadCleanoutShown, 0);
  }
  SetBe16(t, sm::kMeteringRpm, unloading_ ? kRpmHundredths : 0);
  t[sm::kStatusTextSelector] = cooling_down_ ? kCoolingDown271 : 0;

  const auto tenths = [](double v) {
    return static_cast<unsigned>(std::lround(std::max(0.0, v) * 10));
  };
  // The sensors report with the technician's calibration offsets applied.
  const auto offset = [&t](std::size_t at) {
    return static_cast<std::int16_t>(GetBe16(t, at)) / 10.0;
  };
  SetBe16(t, sm::kOutgoingMoisture, tenths(outgoing_moisture_ + offset(kDryMoistureOffset)));
  SetBe16(t, sm::kIncomingMoisture, tenths(incoming_moisture_ + offset(kWetMoistureOffset)));
  SetBe16(t, sm::kOutgoingGrainTemp, tenths(grain_temperature_ + offset(kDryTempOffset)));
  SetBe16(t, sm::kIncomingGrainTemp, tenths(incoming_grain_temperature_ + offset(kWetTempOffset)));
  WritePanel(is_running);
  const int grain = static_cast<int>(std::lround(grain_temperature_));
  SetT16(t, sm::kGrainTempSelector0, grain);
  SetT16(t, sm::kGrainTempSelector1, grain - 3);
  SetT16(t, sm::kGrainTempSelector2, grain + 3);
}

void DryerModel::WritePanel(bool is_running) {
  Table& t = table_;
  t[kLightsOn239] = 0;
  t[kLightsOn239 + 1] = 0;
  t[kSwitches180] = t[kSwitches180 + 1] = t[kSwitches180 + 2] = 0;
  const int fans = fan_heaters();
  for (int k = 1; k <= kMaxFanHeaters; ++k) {
    const std::uint8_t output = t[sm::FanHeaterStatus(k)];
    if ((output & kFanRunning) != 0) t[kFanLight[k - 1].byte] |= kFanLight[k - 1].bit;
    if ((output & kBurnerOn) != 0) t[kBurnerLight[k - 1].byte] |= kBurnerLight[k - 1].bit;
    if (k > fans) continue;
    if (kFanAuto[k - 1].bit != 0) t[kFanAuto[k - 1].byte] |= kFanAuto[k - 1].bit;
    t[kBurnerAuto[k - 1].byte] |= kBurnerAuto[k - 1].bit;
  }
  if (loading_) t[kLightsOn239 + 1] |= kLoadLight240;
  if (unloading_) t[kLightsOn239 + 1] |= kUnloadLight240;
  if (is_running) t[kLightsOn239 + 1] |= kStartLight240;
  if (panel_test_) {
    const std::uint64_t step = (ticks_ / kTicksPerSecond) % 24;
    t[kSwitches180 + step / 8] ^= static_cast<std::uint8_t>(1U << (step % 8));
    t[kLightsShorted177 + 1] |= kFan1Shorted178;
  } else {
    t[kLightsShorted177 + 1] &= static_cast<std::uint8_t>(~kFan1Shorted178);
  }
}

}  // namespace orvandry::sim
