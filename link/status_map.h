#pragma once

#include <cstddef>
#include <cstdint>

// Offsets into the controller's 300-byte table (StatusFrame bytes 0-299, DryerState and the request
// image all use the same offsets). Multi-byte fields give their first offset; the encoding is in the
// comment: T16 = signed whole degrees F low byte first, BE16 = unsigned high byte first,
// time = minutes byte then seconds byte, U32 = unsigned low byte first.
namespace orvandry::link::status_map {

using Offset = std::size_t;

// Frame head and configuration.
inline constexpr Offset kFanCountCode = 3;       // 0..4 = 1, 2, 3, 4, 6 fan/heaters
inline constexpr Offset kModuleCountCode = 4;    // 0..2 = one, two, three modules
inline constexpr Offset kFuelCode = 5;           // 0 LP, 1 natural gas, 2 vapor, 3 diesel
inline constexpr Offset kLoadSystemCode = 6;     // 0 end fill, 1 center fill, 2 dual fill
inline constexpr Offset kDryerLengthCode = 7;    // 0..14 = 8 .. 40 ft
inline constexpr Offset kBatchSelector = 8;      // 0 continuous flow, 1 batch drying

// Timers (time encoding).
inline constexpr Offset kDryTimerRunning = 9;
inline constexpr Offset kDryTimerReload = 11;
inline constexpr Offset kBatchBits13 = 13;
inline constexpr Offset kCoolTimerRunning = 14;
inline constexpr Offset kCoolTimerReload = 16;
inline constexpr Offset kBatchByte18 = 18;
inline constexpr Offset kUnloadTimerRunning = 19;
inline constexpr Offset kUnloadTimerReload = 21;
inline constexpr Offset kBatchByte23 = 23;
inline constexpr Offset kFillTimeRemaining = 24;
inline constexpr Offset kFillTimerReload = 26;
inline constexpr Offset kLoadingBits = 28;        // bit 0 = loading
inline constexpr Offset kLoadStartupDelay = 31;
inline constexpr Offset kUnloadCleanoutShown = 39;
inline constexpr Offset kUnloadCleanoutDelay = 41;
inline constexpr Offset kUnloadTextBits = 43;     // bit 0 selects the unloading text
inline constexpr Offset kFanStartDelay = 46;
inline constexpr Offset kLoHeatDryTimerRunning = 252;
inline constexpr Offset kLoHeatDryTimerReload = 254;
inline constexpr Offset kCoolDownTimeLeft = 267;
inline constexpr Offset kCoolDownTimer = 269;

// Options, modes and status bits.
inline constexpr Offset kOptionByte = 49;                 // 0x10 metering-roll reverse
inline constexpr Offset kPlenumTempManager = 50;
inline constexpr Offset kCopiedByte51 = 51;
inline constexpr Offset kMcLearningMinutes = 52;
inline constexpr Offset kClockMinute = 53;                // 53-57: minute hour day month year%100
inline constexpr std::size_t kClockSize = 5;
inline constexpr Offset kLoadDirectionBits = 58;          // 0x80 load running, 0x08/0x04 direction
inline constexpr Offset kDryerActivity = 171;             // 0x80/0x20 clear = loading, 0x40 unloading
inline constexpr std::uint8_t kDryerActivityPreset = 0xA0;
inline constexpr Offset kUnloadBits = 172;                // 0x01 unloading
inline constexpr Offset kStatusBits179 = 179;             // 0x02 unload manual, 0x04 learning, 0x10 load timing
inline constexpr Offset kOptionBits183 = 183;             // 0x04 extended setup available
inline constexpr Offset kGrainTempSelector = 184;
inline constexpr Offset kWarningId = 185;
inline constexpr Offset kWarningNode = 186;
inline constexpr Offset kMeteringMode = 187;              // 0x07 mode, 0x20, 0x40, 0x80
inline constexpr Offset kDryerStateBits = 188;            // 0x40 running, 0x10 emergency cooling, 0x02 cool-down, 0x20 defaults
inline constexpr Offset kMeteringControl201 = 201;
inline constexpr Offset kDryingMode = 224;
inline constexpr Offset kHardwareOptions = 225;           // 0x20 one-plenum layout
inline constexpr Offset kCommandBits238 = 238;            // 0x08 clear the bushel counter
inline constexpr Offset kRemoteConnection = 246;
inline constexpr Offset kDisplayRequest251 = 251;         // 0x10 request to the display
inline constexpr Offset kConfigBits = 257;                // 0x01 unload hold, 0x02 dual, 0x40 averaging
inline constexpr Offset kDisplaySettings = 266;           // 0x80 SI units, 0x40 graph view, 0x03 commands
inline constexpr Offset kStatusTextSelector = 271;
inline constexpr Offset kAutoStartMode = 279;
inline constexpr Offset kDataLoggerSetting = 289;         // 0x01 long-term logging
inline constexpr Offset kSamplerConfig = 293;             // 0x80 cycled sampler

// Temperatures (T16, degrees F).
inline constexpr Offset kPlenumSetpoint6 = 59;            // fan/heater k at 71 - 2k
inline constexpr Offset kPlenumSetpoint1 = 69;
inline constexpr Offset kPlenumReading6 = 71;             // fan/heater k at 83 - 2k
inline constexpr Offset kPlenumReading1 = 81;
inline constexpr Offset kGrainTempSelector2 = 89;
inline constexpr Offset kGrainTempSelector1 = 91;
inline constexpr Offset kGrainTempSelector0 = 93;
inline constexpr Offset kGrainTempSetpoint = 149;
inline constexpr Offset kGrainHighTemp = 151;
inline constexpr Offset kGrainLowTemp = 153;
inline constexpr Offset kPlenum2LowTemp = 258;
inline constexpr Offset kPlenum1LowTemp = 260;

constexpr Offset PlenumSetpoint(int fan_heater) { return 71 - 2 * static_cast<Offset>(fan_heater); }
constexpr Offset PlenumReading(int fan_heater) { return 83 - 2 * static_cast<Offset>(fan_heater); }

// Burners and plenum sensors: one byte per fan/heater, fan/heater 6 first.
inline constexpr Offset kBurnerDifferential6 = 95;        // fan/heater k at 101 - k
inline constexpr Offset kBurnerMode6 = 101;               // fan/heater k at 107 - k
inline constexpr Offset kStatusBarBits113 = 113;          // 113-118
inline constexpr Offset kFanHeaterStatus6 = 125;          // fan/heater k at 131 - k; 0x01 fan running
inline constexpr Offset kPlenumSensorStatus = 131;        // 131-142
inline constexpr Offset kBurnerStatus6 = 143;             // fan/heater k at 149 - k

constexpr Offset BurnerDifferential(int fan_heater) { return 101 - static_cast<Offset>(fan_heater); }
constexpr Offset BurnerMode(int fan_heater) { return 107 - static_cast<Offset>(fan_heater); }
constexpr Offset FanHeaterStatus(int fan_heater) { return 131 - static_cast<Offset>(fan_heater); }
constexpr Offset BurnerStatus(int fan_heater) { return 149 - static_cast<Offset>(fan_heater); }

// Metering and unloading.
inline constexpr Offset kMeteringSpeedShown = 155;
inline constexpr Offset kMeteringSpeedHigh = 156;         // 156-158 high, main, low percent
inline constexpr Offset kMeteringSpeedMain = 157;
inline constexpr Offset kMeteringSpeedLow = 158;
inline constexpr Offset kSpeedSelection = 159;            // 0x3F selection, 0x80 dialog toggle
inline constexpr std::uint8_t kSpeedDialogToggle = 0x80;
inline constexpr Offset kWorkingSpeedHigh = 160;          // 160-162
inline constexpr Offset kWorkingSpeedLow = 162;
inline constexpr Offset kBushelCalibration = 163;
inline constexpr Offset kBushelCounter = 164;             // U32, 1/3600 bushel
inline constexpr Offset kUnloadRate = 173;                // BE16 bushels per hour
inline constexpr Offset kMeteringRpm = 197;               // BE16
inline constexpr Offset kUnloadRateMax = 206;             // BE16
inline constexpr Offset kUnloadRateMin = 208;             // BE16
inline constexpr Offset kBatchCounter = 221;              // BE16
inline constexpr Offset kMeteringCopySource = 230;
inline constexpr Offset kMeterOutputVoltage1 = 236;
inline constexpr Offset kMeterOutputVoltage2 = 237;

// Moisture control (BE16, tenths).
inline constexpr Offset kOutgoingMoisture = 189;
inline constexpr Offset kIncomingMoisture = 191;
inline constexpr Offset kOutgoingGrainTemp = 193;
inline constexpr Offset kIncomingGrainTemp = 195;
inline constexpr Offset kMoistureSetpoint = 199;
inline constexpr Offset kBracketSettings = 226;           // 226-229
inline constexpr Offset kMoistureControlValue = 277;
inline constexpr Offset kCentreAdjustCounter = 290;       // 16-bit low byte first

// Other screens.
inline constexpr Offset kAverageIncomingMoisture = 247;   // BE16, batch drying
inline constexpr Offset kAverageOutgoingMoisture = 249;
inline constexpr Offset kSamplerState = 292;
inline constexpr Offset kPrinterOptions = 216;            // 217 bit 0x40
inline constexpr Offset kPrinterCommand = 218;
inline constexpr Offset kStagedBatchValue = 274;
inline constexpr Offset kAutoStartValue1 = 281;
inline constexpr Offset kAutoStartValue2 = 283;

}  // namespace orvandry::link::status_map
