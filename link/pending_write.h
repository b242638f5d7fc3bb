#pragma once

#include <array>
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <initializer_list>

#include "link/byte_image.h"

namespace orvandry::link {

// Every operator change is a PendingWrite: the requested bytes go into the request image, then the
// record's flag is raised; the builder resends the record in every CommandFrame until the intake
// sees the controller echo the value (or, for one-shot records, until it has been placed once).
// The display settings record is not one-shot: a placement can fall into the reset hold-off and
// go out as the null frame, so it stays raised until the controller reports the bits it carries.
//
// The records, in the order the builder examines them. The order decides which records win when
// too many are pending for one frame, so it must not be sorted.
enum class Rec : std::uint8_t {
  kFanCount,            // 0/3
  kModuleCount,         // 0/4
  kFuel,                // 0/5
  kLoadSystem,          // 0/6
  kDryerLength,         // 0/7
  kBatchSelector,       // 0/8
  kDryTimerReload,      // 0/11
  kDryTimerRunning,     // 0/9
  kLoHeatTimerReload,   // 0/254
  kLoHeatTimerRunning,  // 0/252
  kCoolTimerReload,     // 0/16
  kCoolTimerRunning,    // 0/14
  kUnloadTimerReload,   // 0/21
  kUnloadTimerRunning,  // 0/19
  kFillTimer,           // 0/26
  kLoadStartupDelay,    // 0/31
  kUnloadCleanoutDelay, // 0/41
  kFanStartDelay,       // 0/46
  kOptionByte,          // 0/49
  kPlenumTempManager,   // 0/50
  kClock,               // 0/53, one-shot
  kPlenumSetpoint6,     // 0/59
  kPlenumSetpoint5,
  kPlenumSetpoint4,
  kPlenumSetpoint3,
  kPlenumSetpoint2,
  kPlenumSetpoint1,     // 0/69
  kBurnerDifferential6, // 0/95
  kBurnerDifferential5,
  kBurnerDifferential4,
  kBurnerDifferential3,
  kBurnerDifferential2,
  kBurnerDifferential1, // 0/100
  kBurnerMode6,         // 0/101
  kBurnerMode5,
  kBurnerMode4,
  kBurnerMode3,
  kBurnerMode2,
  kBurnerMode1,         // 0/106
  kGrainSetpoint,       // 0/149
  kGrainHigh,           // 0/151
  kGrainLow,            // 0/153
  kMeteringControl,     // 0/159, 1 byte, lowered when the controller reports its selection
  kMeteringSpeedHigh,   // 0/156
  kMeteringSpeedMain,   // 0/157
  kMeteringSpeedLow,    // 0/158
  kMeteringFromDisplay, // 0/159, 4 bytes taken from DryerState 155-158
  kMeteringCopy161,     // 0/161, DryerState 230
  kBushelCalibration,   // 0/163
  kMeteringMode,        // 0/187
  kMeteringCopyWorking, // 0/160, 3 bytes taken from DryerState 156-158
  kMeteringFromKnob,    // 0/159, 4 bytes
  kMoistureSetpoint,    // 0/199
  kPrinterSetting202,   // 0/202
  kPrinterSetting203,   // 0/203
  kUnloadRateMax,       // 0/206
  kUnloadRateMin,       // 0/208
  kPrinterOptions,      // 0/216
  kPrinterCommand,      // 0/218, one-shot
  kBatchCounter,        // 0/221
  kDryingMode,          // 0/224
  kBracket226,          // 0/226
  kBracket227,
  kBracket228,
  kBracket229,
  kCalibration232,      // 0/232
  kCalibration234,      // 0/234
  kMeterOutput236,      // 0/236
  kMeterOutput237,      // 0/237
  kCommandBits238,      // 0/238
  kCalibration241,      // 0/241
  kCalibration243,      // 0/243
  kRemoteConnection,    // 0/246
  kConfigBits,          // 1/1 -> 257
  kPlenum2LowTemp,      // 1/2 -> 258
  kPlenum1LowTemp,      // 1/4 -> 260
  kDisplaySettings,     // 1/10 -> 266, command bits 0x03 sent once
  kCoolDownTimer,       // 1/13 -> 269
  kStagedBatchValue,    // 1/18 -> 274
  kMoistureControlValue,// 1/21 -> 277
  kAutoStartMode,       // 1/23 -> 279
  kAutoStartValue1,     // 1/25 -> 281
  kAutoStartValue2,     // 1/27 -> 283
  kDataLogger,          // 1/33 -> 289
  kSamplerConfig,       // 1/37 -> 293
  kCount
};

inline constexpr std::size_t kPendingWriteCount = static_cast<std::size_t>(Rec::kCount);
static_assert(kPendingWriteCount == 85);

// Where a record's data bytes come from when it is placed.
enum class DataSource : std::uint8_t { kRequestImage, kDryerState };

// How a raised flag is lowered again.
enum class Lowering : std::uint8_t {
  kEqual,             // DryerState at the record's offsets equals the requested bytes
  kEqualBeforeCopy,   // as kEqual, but tested before the frame is copied (one frame later)
  kOneShot,           // lowered by the builder when placed
  kRunningTimer,      // frame bytes equal the requested running value; held out of DryerState
  kByMeteringDialog,  // the controller reports the selection it carries (low six bits of 159)
  kEqualWhenChanged,  // as kEqual, tested only in a frame where the byte changed
  kMeteringDisplay,   // frame 159-162 equal request 159-162 while the display sets the speed
  kFrameByte161,      // frame byte 161 equals request byte 161
  kMeteringCopy,      // frame 160-162 equal DryerState 156-158
  kMeteringKnob,      // frame 159-162 equal request 159-162 while the knob sets the speed
  kPrinterBit,        // bit 0x40 of byte 217 equals the requested bit
  kAutoStartMode,     // DryerState 279 equals the requested byte's bits 0x03
  kDisplaySettings,   // the requested command bits 0x03 have gone out, and DryerState 266
                      // equals the requested byte apart from bits 0x03
};

struct PendingWriteRecord {
  Rec rec;
  std::uint8_t group;         // 0: id is the offset; 1: offset 256 + id
  std::uint8_t id;
  std::uint8_t size;          // data bytes, 1..5
  std::uint16_t data_offset;  // first byte sent, in the source table
  DataSource source;
  Lowering lowering;
  const char* raised_by;

  constexpr std::size_t target_offset() const { return group * 256U + id; }
  constexpr std::size_t number() const { return static_cast<std::size_t>(rec) + 1; }
};

// The whole record table, indexed by Rec.
extern const std::array<PendingWriteRecord, kPendingWriteCount> kPendingWriteRecords;

constexpr std::size_t Index(Rec rec) { return static_cast<std::size_t>(rec); }
const PendingWriteRecord& RecordOf(Rec rec);

// Records for the six plenums, the burner differentials and burner modes, by fan/heater 1..6.
Rec PlenumSetpointRec(int fan_heater);
Rec BurnerDifferentialRec(int fan_heater);
Rec BurnerModeRec(int fan_heater);

// The flags. Raise() publishes the requested bytes written before it (release); IsRaised()
// makes them visible to the reader (acquire).
class PendingWrites {
 public:
  PendingWrites() = default;
  PendingWrites(const PendingWrites&) = delete;
  PendingWrites& operator=(const PendingWrites&) = delete;

  void Raise(Rec rec) { flags_[Index(rec)].store(1, std::memory_order_release); }
  void Lower(Rec rec) { flags_[Index(rec)].store(0, std::memory_order_release); }
  bool IsRaised(Rec rec) const { return flags_[Index(rec)].load(std::memory_order_acquire) != 0; }
  // Lowers the flag and reports whether it was raised, in one step, so a screen raising it again
  // at the same moment is never lost (used for one-shot records).
  bool Take(Rec rec) { return flags_[Index(rec)].exchange(0, std::memory_order_acq_rel) != 0; }
  bool AnyRaised() const;

 private:
  std::array<std::atomic<std::uint8_t>, kPendingWriteCount> flags_{};
};

}  // namespace orvandry::link
