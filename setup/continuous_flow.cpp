#include "setup/continuous_flow.h"

#include <cstdio>

#include "link/status_map.h"
#include "platform/prompter.h"
#include "platform/temperature_units.h"
#include "setup/timer_entry.h"

namespace orvandry::setup {

namespace {

namespace sm = link::status_map;
namespace id = continuous_flow_id;
namespace mode = metering_mode;
using link::Rec;

constexpr std::uint8_t kModeBits = 0x07;
constexpr std::uint8_t kAutoCentering224 = 0x80;
constexpr std::uint8_t kUpperSensor224 = 0x01;
constexpr std::uint8_t kSafetyTested266 = 0x20;
constexpr std::uint8_t kSafetyBits266 = 0x30;

// The records ACCEPT sends; the limit's own record goes through its entry dialog.

}  // namespace

ContinuousFlow::ContinuousFlow(link::LinkShared& shared) : shared_(shared), edit_(shared) {
  edit_.Load(
      {Rec::kMeteringMode, Rec::kDryingMode, Rec::kMoistureControlValue, Rec::kDisplaySettings});
}

std::uint8_t ContinuousFlow::Mode() const {
  return edit_.Get(sm::kMeteringMode) & kModeBits;
}

bool ContinuousFlow::TemperatureScheme() const {
  return Mode() != mode::kMoistureVariable && Mode() != mode::kMoistureFiveSpeed;
}

bool ContinuousFlow::FiveSpeed() const {
  return Mode() == mode::kMoistureFiveSpeed || Mode() == mode::kTemperatureFiveSpeed;
}

bool ContinuousFlow::AutoCentering() const {
  return (edit_.Get(sm::kDryingMode) & kAutoCentering224) != 0;
}

bool ContinuousFlow::UpperSensorEnabled() const {
  return (edit_.Get(sm::kDryingMode) & kUpperSensor224) != 0;
}

bool ContinuousFlow::SafetyEnabled() const {
  return (edit_.Get(sm::kDisplaySettings) & kSafetyTested266) != 0;
}

std::string ContinuousFlow::MaxGrainTempText() const {
  const int fahrenheit = edit_.GetT16(sm::kMoistureControlValue);
  const bool si = shared_.si_units.load(std::memory_order_relaxed) != 0;
  char text[16];
  std::snprintf(text, sizeof text, "%d %c",
                si ? platform::fahrenheit_to_celsius(fahrenheit) : fahrenheit, si ? 'C' : 'F');
  return text;
}

void ContinuousFlow::ChooseMode(std::uint8_t new_mode) {
  // The whole byte: the other bits belong to the scheme that is left.
  edit_.Set(sm::kMeteringMode, new_mode);
}

void ContinuousFlow::ToggleAutoCentering() {
  edit_.Set(sm::kDryingMode, edit_.Get(sm::kDryingMode) ^ kAutoCentering224);
}

void ContinuousFlow::ToggleUpperSensor() {
  edit_.Set(sm::kDryingMode, edit_.Get(sm::kDryingMode) ^ kUpperSensor224);
}

void ContinuousFlow::ToggleSafety() {
  const std::uint8_t settings = edit_.Get(sm::kDisplaySettings);
  edit_.Set(sm::kDisplaySettings, SafetyEnabled()
                                      ? static_cast<std::uint8_t>(settings & ~kSafetyBits266)
                                      : static_cast<std::uint8_t>(settings | kSafetyBits266));
}

void ContinuousFlow::ReloadMaxGrainTemp() {
  edit_.Load(Rec::kMoistureControlValue);
}

link::CommitResult ContinuousFlow::Send(platform::Prompter& prompter) {
  // All of it in one step, so the dryer gets the whole change in one frame.
  const link::CommitResult result =
      edit_.CommitChanged({Rec::kMeteringMode, Rec::kDryingMode, Rec::kDisplaySettings});
  if (result == link::CommitResult::kNotConnected)
    prompter.Ask(kNotConnectedText, kNotConnectedCaption, platform::Buttons::kOk,
                 platform::kExclamation);
  return result;
}

ContinuousFlow::Outcome ContinuousFlow::Press(int control_id, platform::Prompter& prompter) {
  switch (control_id) {
    case id::kTemperature:
      ChooseMode(mode::kTemperatureTwoSpeed);
      break;
    case id::kMoisture:
      ChooseMode(mode::kMoistureFiveSpeed);
      break;
    case id::kTempTwoSpeed:
      if (TemperatureScheme()) ChooseMode(mode::kTemperatureTwoSpeed);
      break;
    case id::kTempFiveSpeed:
      if (TemperatureScheme()) ChooseMode(mode::kTemperatureFiveSpeed);
      break;
    case id::kVariable:
      if (!TemperatureScheme()) ChooseMode(mode::kMoistureVariable);
      break;
    case id::kMoistureFiveSpeed:
      if (!TemperatureScheme()) ChooseMode(mode::kMoistureFiveSpeed);
      break;
    case id::kAutoCentering:
      if (FiveSpeedGroupEnabled()) ToggleAutoCentering();
      break;
    case id::kUpperSensorSelect:
      ToggleUpperSensor();
      break;
    case id::kSafetyToggle:
      ToggleSafety();
      break;
    case id::kMaxGrainTemp:
      if (SafetyEnabled()) return Outcome::kOpenMaxGrainTemp;
      break;
    case id::kFiveSpeedSetup: {
      if (!FiveSpeedGroupEnabled()) break;
      const link::CommitResult result = edit_.CommitIfChanged(Rec::kMeteringMode);
      if (result == link::CommitResult::kNotConnected) {
        prompter.Ask(kNotConnectedText, kNotConnectedCaption, platform::Buttons::kOk,
                     platform::kExclamation);
        break;
      }
      return Outcome::kOpenFiveSpeedSetup;
    }
    case id::kAccept:
      if (Send(prompter) == link::CommitResult::kNotConnected) return Outcome::kCancelled;
      return Outcome::kAccepted;
    case id::kCancel:
      return Outcome::kCancelled;
    case id::kHelp:
      prompter.Ask(kContinuousFlowHelpText, kContinuousFlowHelpCaption, platform::Buttons::kOk,
                   platform::Icon::kInformation);
      break;
    default:
      break;
  }
  return Outcome::kKeepOpen;
}

}  // namespace orvandry::setup
