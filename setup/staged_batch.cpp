#include "setup/staged_batch.h"

#include <cstdio>

#include "link/status_map.h"
#include "platform/prompter.h"
#include "platform/temperature_units.h"
#include "setup/timer_entry.h"

namespace orvandry::setup {

namespace {

namespace sm = link::status_map;
using link::Rec;

constexpr std::uint8_t kMeteringTemperatureBased = 0x80;
constexpr std::uint8_t kMeteringMoistureBits = 0x06;

}  // namespace

const char* const kNoCriterionText =
    "You must select a Staged Batch Drying Criteria.  You must select\nTIME and/or TEMPERATURE, "
    "or MOISTURE.  A maximum drying time\nshould also be programmed in using the MAX TIME "
    "button.  This\nis the maximum time allowed for the grain to reach temperature.\nA warning "
    "will be issued if the time is exceeded.  A maximum\nallowable grain temperature should also "
    "be programmed in  \nusing the MAX TEMP button.  This is the maximum temperature\nthe grain is "
    "allowed to reach before a warning is issued.\n";

const char* const kStagedBatchHelpText =
    "The following is a description of the function of each button.\n  TEMP:  Grain temperature "
    "must be met before moving on.\n  TIME:  Dry timer must expire before moving on.\n  "
    "MOISTURE:  Automatic moisture control will be used.\n  \nSafety Parameters  \n  MAX TIME: "
    "This is the maximum time allowed for grain to reach\n            temperature.\n  MAX TEMP: "
    "This is the maximum grain temperature allowed.\n  \nIf either the maximum time is exceeded "
    "or the maximum grain\ntemperature is exceeded the dryer will shutdown with an\nappropriate "
    "warning.\n";

StagedBatch::StagedBatch(link::LinkShared& shared) : shared_(shared), edit_(shared) {}

void StagedBatch::Open() {
  edit_.Load({Rec::kConfigBits, Rec::kDryingMode, Rec::kDisplaySettings, Rec::kStagedBatchValue,
              Rec::kMoistureControlValue, Rec::kMeteringMode, Rec::kFanCount, Rec::kBatchSelector});
  Normalise();
}

std::uint8_t StagedBatch::Config() const {
  return edit_.Get(sm::kConfigBits);
}
std::uint8_t StagedBatch::Display() const {
  return edit_.Get(sm::kDisplaySettings);
}

void StagedBatch::Update(std::size_t offset, std::uint8_t set, std::uint8_t clear) {
  edit_.Set(offset, static_cast<std::uint8_t>((edit_.Get(offset) & ~clear) | set));
}

bool StagedBatch::DualTicked() const {
  return (Config() & kConfigDual) != 0 && edit_.Get(sm::kFanCountCode) == 0;
}

std::uint8_t StagedBatch::HeatSplitTicked() const {
  const std::uint8_t mode = edit_.Get(sm::kDryingMode);
  for (std::uint8_t bit : {kHeatFull, kHeatTwoThirds, kHeatHalf})
    if ((mode & bit) != 0) return bit;
  return 0;
}

void StagedBatch::Normalise() {
  // A barred DUAL is cleared in staged batch, and the temperature options offer DUAL only on a
  // single fan/heater.
  const bool staged = edit_.Get(sm::kBatchSelector) == 1;
  if ((Config() & kConfigDualBarred) != 0 && staged) Update(sm::kConfigBits, 0, kConfigDual);
  if (TemperatureOptionsEnabled() && edit_.Get(sm::kFanCountCode) != 0)
    Update(sm::kConfigBits, 0, kConfigDual);
}

void StagedBatch::Time() {
  const bool on = !TimeTicked();
  Update(sm::kConfigBits, on ? kCriterionTime : 0, on ? 0 : kCriterionTime);
  if (!on) {
    Update(sm::kDisplaySettings, 0, kMaxGrainTempActive);
  } else if (SafetyEnabled()) {
    Update(sm::kDisplaySettings, kMaxGrainTempActive, 0);
  }
  AfterTimeOrTemperature(false);
}

void StagedBatch::Temperature() {
  if (MoistureTicked()) Update(sm::kDisplaySettings, 0, kMaxGrainTempActive);
  const bool on = !TemperatureTicked();
  Update(sm::kConfigBits, on ? kCriterionTemperature : 0, on ? 0 : kCriterionTemperature);
  if (!on) {
    Update(sm::kDisplaySettings, 0, kMaxTimeActive);
  } else if (SafetyEnabled()) {
    Update(sm::kDisplaySettings, kMaxTimeActive, 0);
  }
  AfterTimeOrTemperature(true);
}

void StagedBatch::AfterTimeOrTemperature(bool temperature) {
  Update(sm::kConfigBits, 0, kCriterionMoisture);
  Update(sm::kMeteringMode, temperature ? kMeteringTemperatureBased : 0,
         temperature ? 0 : kMeteringTemperatureBased);
  Update(sm::kMeteringMode, 0, kMeteringMoistureBits);
  Normalise();
}

void StagedBatch::Moisture() {
  Update(sm::kDisplaySettings, kMaxTimeActive, 0);
  Update(sm::kDisplaySettings, SafetyEnabled() ? kMaxGrainTempActive : 0,
         SafetyEnabled() ? 0 : kMaxGrainTempActive);
  Update(sm::kConfigBits, kCriterionMoisture, kConfigDual | kCriterionTime | kCriterionTemperature);
  Update(sm::kMeteringMode, kMeteringTemperatureBased | kMeteringMoistureBits, 0);
  Update(sm::kDryingMode, kHeatFull, kHeatTwoThirds | kHeatHalf);
  Normalise();
}

void StagedBatch::Single() {
  Update(sm::kConfigBits, 0, kConfigDual);
}

void StagedBatch::Dual(platform::Prompter& prompter) {
  if (edit_.Get(sm::kFanCountCode) != 0) {
    prompter.Ask(kDualRefusedText, kDualRefusedCaption, platform::Buttons::kOk,
                 platform::kExclamation);
    Update(sm::kConfigBits, 0, kConfigDual);
    return;
  }
  Update(sm::kConfigBits, kConfigDual, 0);
  Normalise();
}

link::CommitResult StagedBatch::HeatSplit(std::uint8_t split) {
  Update(sm::kDryingMode, split,
         static_cast<std::uint8_t>((kHeatFull | kHeatTwoThirds | kHeatHalf) & ~split));
  return edit_.Commit(Rec::kDryingMode);
}

void StagedBatch::ToggleSafety() {
  if (SafetyEnabled()) {
    Update(sm::kDisplaySettings, 0, kSafetyEnabled);
    return;
  }
  const bool grain = TimeTicked() || MoistureTicked();
  const bool time = TemperatureTicked();
  Update(
      sm::kDisplaySettings,
      static_cast<std::uint8_t>(kSafetyEnabled | (grain ? kMaxGrainTempActive : 0) |
                                (time ? kMaxTimeActive : 0)),
      static_cast<std::uint8_t>((grain ? 0 : kMaxGrainTempActive) | (time ? 0 : kMaxTimeActive)));
}

void StagedBatch::ReloadLimits() {
  edit_.Load({Rec::kStagedBatchValue, Rec::kMoistureControlValue});
}

StagedBatch::Outcome StagedBatch::Accept(platform::Prompter& prompter) {
  if ((Config() & (kCriterionTime | kCriterionTemperature | kCriterionMoisture)) == 0) {
    prompter.Ask(kNoCriterionText, kNoCriterionCaption, platform::Buttons::kOkCancel,
                 platform::Icon::kNone);
    return Outcome::kKeepOpen;
  }
  // All of it in one step, so the dryer gets the whole change in one frame.
  if (edit_.CommitChanged({Rec::kConfigBits, Rec::kDryingMode, Rec::kDisplaySettings,
                           Rec::kStagedBatchValue, Rec::kMoistureControlValue,
                           Rec::kMeteringMode}) == link::CommitResult::kNotConnected) {
    // Loaded before the dryer's first report: there is nothing of its to change yet.
    prompter.Ask(kNotConnectedText, kNotConnectedCaption, platform::Buttons::kOk,
                 platform::kExclamation);
    return Outcome::kCancelled;
  }
  return Outcome::kAccepted;
}

void StagedBatch::Help(platform::Prompter& prompter) const {
  prompter.Ask(kStagedBatchHelpText, kStagedBatchHelpCaption, platform::Buttons::kOkCancel,
               platform::Icon::kNone);
}

std::string StagedBatch::CriteriaText() const {
  if (TimeTicked() && TemperatureTicked())
    return "Time and Temp must both be met for drying to be complete";
  if (TemperatureTicked()) return "Temperature setpoint must be met for drying to be complete";
  if (TimeTicked()) return "Time must be met for drying to be complete";
  if (MoistureTicked()) return "Batch Moisture Control";
  return "Please Select Drying Criteria!";
}

std::string StagedBatch::MaxTimeText() const {
  char text[16];
  std::snprintf(text, sizeof text, "%03d:%02d", edit_.Get(sm::kStagedBatchValue),
                edit_.Get(sm::kStagedBatchValue + 1));
  return text;
}

std::string StagedBatch::MaxGrainTempText() const {
  // Stored in F; shown in the display's unit, as the entry dialog that edits it works in it.
  const int fahrenheit = edit_.GetT16(sm::kMoistureControlValue);
  const bool celsius = shared_.si_units.load(std::memory_order_relaxed) != 0;
  char text[16];
  std::snprintf(text, sizeof text, celsius ? "%d C" : "%d F",
                celsius ? platform::fahrenheit_to_celsius(fahrenheit) : fahrenheit);
  return text;
}

}  // namespace orvandry::setup
