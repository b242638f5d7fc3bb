#pragma once

#include <cstdint>
#include <string>

#include "link/link_shared.h"
#include "link/setting_edit.h"

namespace orvandry::platform {
class Prompter;
}

namespace orvandry::setup {

// Controls of the staged batch setup (template 516).
namespace staged_batch_id {
inline constexpr int kTemplate = 516;
// The drying mode dialog it may be opened over; ACCEPT closes that one too.
inline constexpr int kDryingModeTemplate = 512;

inline constexpr int kCriteriaBox = 1322;
inline constexpr int kTime = 1311;
inline constexpr int kTemperature = 1312;
inline constexpr int kMoisture = 1045;
inline constexpr int kTimeTick = 1046;
inline constexpr int kTemperatureTick = 1047;
inline constexpr int kMoistureTick = 1048;
inline constexpr int kCriteriaText = 1148;

inline constexpr int kSafetyBox = 1325;
inline constexpr int kSafetyToggle = 1321;
inline constexpr int kMaxTime = 1319;
inline constexpr int kMaxTimeBox = 1146;
inline constexpr int kMaxGrainTemp = 1320;
inline constexpr int kMaxGrainTempBox = 1147;

inline constexpr int kTemperatureGroup = 1323;
inline constexpr int kSingle = 1313;
inline constexpr int kDual = 1314;
inline constexpr int kSingleTick = 1049;
inline constexpr int kDualTick = 1050;

inline constexpr int kMoistureGroup = 1324;
inline constexpr int kFull = 1315;
inline constexpr int kTwoThirds = 1316;
inline constexpr int kHalf = 1317;
inline constexpr int kFullTick = 1051;
inline constexpr int kTwoThirdsTick = 1052;
inline constexpr int kHalfTick = 1053;

inline constexpr int kHelp = 1009;
inline constexpr int kAccept = 1008;
// The way out without a write (the dialog would otherwise trap an operator whose dryer reports
// no criterion: ACCEPT refuses until one is chosen).
inline constexpr int kCancel = 1010;
}  // namespace staged_batch_id

inline constexpr const char* kStagedBatchCaption = "STAGED BATCH SETUP - 09";

// Bits of the configuration byte (257).
inline constexpr std::uint8_t kCriterionTime = 0x10;
inline constexpr std::uint8_t kCriterionTemperature = 0x20;
inline constexpr std::uint8_t kCriterionMoisture = 0x40;
inline constexpr std::uint8_t kConfigDual = 0x02;
inline constexpr std::uint8_t kConfigDualBarred = 0x08;
// Heat split bits of the drying mode byte (224).
inline constexpr std::uint8_t kHeatFull = 0x10;
inline constexpr std::uint8_t kHeatTwoThirds = 0x20;
inline constexpr std::uint8_t kHeatHalf = 0x40;
// Safety bits of the display settings byte (266).
inline constexpr std::uint8_t kSafetyEnabled = 0x20;
inline constexpr std::uint8_t kMaxGrainTempActive = 0x10;
inline constexpr std::uint8_t kMaxTimeActive = 0x08;

inline constexpr const char* kDualRefusedText =
    "Dual-Plenum Temperature Mode is only available on single fan/heater models.";
inline constexpr const char* kDualRefusedCaption = "INVALID SELECTION";
inline constexpr const char* kNoCriterionCaption = "Select Drying Criteria Help";
extern const char* const kNoCriterionText;
inline constexpr const char* kStagedBatchHelpCaption = "Available Drying Modes Described";
extern const char* const kStagedBatchHelpText;

// The staged batch setup's rules: when a batch counts as dry, the safety limits, single or dual
// plenum and the heat split. It edits copies of the controller's bytes; the heat split buttons
// send the drying mode byte at once, everything else goes out on ACCEPT: the criteria together
// with the metering mode and heat split that belong to them, so leaving by CANCEL never leaves
// the dryer with half of a criteria change. The two limits are edited in the shared entry
// dialogs, whose ACCEPT sends them.
class StagedBatch {
 public:
  enum class Outcome { kKeepOpen, kAccepted, kCancelled };

  explicit StagedBatch(link::LinkShared& shared);

  // Takes the copies (the controller's values, or changes still on their way to it).
  void Open();

  // Criteria.
  void Time();
  void Temperature();
  void Moisture();
  // Temperature based options.
  void Single();
  void Dual(platform::Prompter& prompter);
  // Moisture based options: 0x10 FULL, 0x20 2/3, 0x40 1/2; sent at once.
  link::CommitResult HeatSplit(std::uint8_t split);
  void ToggleSafety();
  // The limits were edited in their entry dialogs (which send them): start from what they sent.
  void ReloadLimits();

  Outcome Accept(platform::Prompter& prompter);
  Outcome Cancel() const { return Outcome::kCancelled; }
  void Help(platform::Prompter& prompter) const;

  // What the dialog shows.
  bool TimeTicked() const { return (Config() & kCriterionTime) != 0; }
  bool TemperatureTicked() const { return (Config() & kCriterionTemperature) != 0; }
  bool MoistureTicked() const { return (Config() & kCriterionMoisture) != 0; }
  bool DualTicked() const;
  std::uint8_t HeatSplitTicked() const;  // the set heat split bit (0x10, 0x20, 0x40) or 0
  bool SafetyEnabled() const { return (Display() & kSafetyEnabled) != 0; }
  const char* SafetyCaption() const { return SafetyEnabled() ? "DISABLE" : "ENABLE"; }
  bool MaxTimeEnabled() const { return SafetyEnabled() && TemperatureTicked(); }
  bool MaxGrainTempEnabled() const { return SafetyEnabled() && (TimeTicked() || MoistureTicked()); }
  bool TemperatureOptionsEnabled() const { return TimeTicked() || TemperatureTicked(); }
  bool MoistureOptionsEnabled() const { return MoistureTicked() && !TemperatureOptionsEnabled(); }
  std::string CriteriaText() const;
  std::string MaxTimeText() const;       // "%03d:%02d"
  std::string MaxGrainTempText() const;  // "%d F"

  // The working copy, for the entry dialogs and the tests.
  const link::SettingEdit& Edit() const { return edit_; }
  link::LinkShared& Shared() const { return shared_; }

 private:
  std::uint8_t Config() const;
  std::uint8_t Display() const;
  void Update(std::size_t offset, std::uint8_t set, std::uint8_t clear);
  void AfterTimeOrTemperature(bool temperature);
  void Normalise();

  link::LinkShared& shared_;
  link::SettingEdit edit_;
};

}  // namespace orvandry::setup
