#include "service/calibration.h"

#include <algorithm>
#include <array>
#include <cstdlib>

#include "link/status_map.h"
#include "platform/prompter.h"

namespace orvandry::service {

namespace {

namespace id = calibration_id;
namespace sm = link::status_map;
using link::Rec;

constexpr std::array<OffsetDef, kOffsetCount> kOffsets = {{
    {"WET MOIST OFFSET", 234, Rec::kCalibration234, 1146, 1150, 1149},
    {"DRY MOIST OFFSET", 232, Rec::kCalibration232, 1148, 1046, 1045},
    {"WET TEMP OFFSET", 243, Rec::kCalibration243, 1156, 1155, 1154},
    {"DRY TEMP OFFSET", 241, Rec::kCalibration241, 1153, 1048, 1047},
}};

constexpr Offset kAll[kOffsetCount] = {Offset::kWetMoisture, Offset::kDryMoisture,
                                       Offset::kWetTemperature, Offset::kDryTemperature};

}  // namespace

const OffsetDef& DefOf(Offset offset) {
  return kOffsets[static_cast<std::size_t>(offset)];
}

std::string Tenths(int tenths) {
  const int magnitude = std::abs(tenths);
  // Built up in place: GCC 12 at -O3 reads `const char* + std::string&&` as an overlapping copy
  // (-Werror=restrict), which stopped the release build.
  std::string text = tenths < 0 ? "-" : "";
  text += std::to_string(magnitude / 10);
  text += '.';
  text += std::to_string(magnitude % 10);
  return text;
}

Calibration::Calibration(link::LinkShared& shared) : shared_(shared), edit_(shared) {}

void Calibration::Open() {
  edit_.Load(
      {Rec::kCalibration232, Rec::kCalibration234, Rec::kCalibration241, Rec::kCalibration243});
  for (Offset offset : kAll) {
    const std::size_t byte = DefOf(offset).byte;
    const int value = static_cast<std::int16_t>(edit_.GetBe16(byte));
    const int clamped = std::clamp(value, kOffsetMin, kOffsetMax);
    if (clamped != value) edit_.SetBe16(byte, static_cast<std::uint16_t>(clamped));
  }
  loaded_connected_ = edit_.Connected();
  stepped_ = false;
}

void Calibration::Follow() {
  if (!loaded_connected_ && !stepped_ && edit_.Connected()) Open();
}

int Calibration::Value(Offset offset) const {
  return static_cast<std::int16_t>(edit_.GetBe16(DefOf(offset).byte));
}

int Calibration::Moisture(bool wet) const {
  return static_cast<std::int16_t>(
      shared_.dryer_state.GetBe16(wet ? sm::kIncomingMoisture : sm::kOutgoingMoisture));
}

int Calibration::TemperatureF(bool wet) const {
  return static_cast<std::int16_t>(
      shared_.dryer_state.GetBe16(wet ? sm::kIncomingGrainTemp : sm::kOutgoingGrainTemp));
}

void Calibration::Step(Offset offset, int delta) {
  const int value = std::clamp(Value(offset) + delta, kOffsetMin, kOffsetMax);
  edit_.SetBe16(DefOf(offset).byte, static_cast<std::uint16_t>(value));
  stepped_ = true;
}

Calibration::Outcome Calibration::Press(int control, platform::Prompter& prompter) {
  for (Offset offset : kAll) {
    if (control == DefOf(offset).down_id) Step(offset, -1);
    if (control == DefOf(offset).up_id) Step(offset, +1);
  }
  if (control == id::kHelp) {
    prompter.Ask(kCalibrationHelpText, kCalibrationHelpCaption, platform::Buttons::kOk,
                 platform::Icon::kInformation);
  }
  if (control != id::kAccept) return Outcome::kKeepOpen;
  // The offsets go in one frame, so the dryer never applies half of a recalibration.
  if (edit_.CommitChanged({Rec::kCalibration232, Rec::kCalibration234, Rec::kCalibration241,
                           Rec::kCalibration243}) == link::CommitResult::kNotConnected) {
    platform::TellNotConnected(prompter);
    Open();  // show what the dryer holds, to start again from
    return Outcome::kKeepOpen;
  }
  return Outcome::kClose;
}

const char* const kCalibrationHelpCaption = "Moisture Sensor Calibration";
const char* const kCalibrationHelpText =
    "To properly calibrate either moisture\n"
    "sensor, take several samples of the grain over a\n"
    "period of time, average these values and calibrate\n"
    "the sensors accordingly.  For example, if the dryer\n"
    "exiting moisture is reported to be 15.5%% on the\n"
    "dryer screen, and the averaged samples gave a\n"
    "value of 15.0%%, the calibration screen would\n"
    "be used to enter -0.5%% into the dry moisture\n"
    "calibration offset.  All other calibrations are\n"
    "made similarly, including the temperatures.";

}  // namespace orvandry::service
