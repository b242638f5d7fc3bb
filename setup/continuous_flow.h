#pragma once

#include <cstdint>
#include <string>

#include "link/link_shared.h"
#include "link/setting_edit.h"
#include "setup/temperature_entry.h"

namespace orvandry::platform {
class Prompter;
}

namespace orvandry::setup {

// Controls of the continuous flow setup (template 515, "CONTINUOUS FLOW SETUP - 08").
namespace continuous_flow_id {
inline constexpr int kTemplate = 515;
inline constexpr int kTemperature = 1308;
inline constexpr int kMoisture = 1309;
inline constexpr int kTemperatureIndicator = 1310;
inline constexpr int kMoistureIndicator = 1311;
inline constexpr int kSafetyToggle = 1326;
inline constexpr int kMaxGrainTemp = 1325;
inline constexpr int kMaxGrainTempBox = 1330;
inline constexpr int kTempOptionsGroup = 1320;
inline constexpr int kTempTwoSpeed = 1312;
inline constexpr int kTempFiveSpeed = 1313;
inline constexpr int kTempTwoSpeedIndicator = 1046;
inline constexpr int kTempFiveSpeedIndicator = 1047;
inline constexpr int kMoistureOptionsGroup = 1321;
inline constexpr int kVariable = 1314;
inline constexpr int kMoistureFiveSpeed = 1315;
inline constexpr int kVariableIndicator = 1048;
inline constexpr int kMoistureFiveSpeedIndicator = 1050;
inline constexpr int kFiveSpeedGroup = 1322;
inline constexpr int kAutoCentering = 1316;
inline constexpr int kAutoCenteringIndicator = 1051;
inline constexpr int kFiveSpeedSetup = 1317;
inline constexpr int kUpperSensorGroup = 1323;
inline constexpr int kUpperSensorSelect = 1333;
inline constexpr int kUpperSensorEnabled = 1334;
inline constexpr int kUpperSensorDisabled = 1049;
inline constexpr int kHelp = 1009;
inline constexpr int kAccept = 1008;
// The way out without a change.
inline constexpr int kCancel = 2;
}  // namespace continuous_flow_id

inline constexpr const char* kContinuousFlowHelpCaption = "Select Drying Criteria Help";
inline constexpr const char* kContinuousFlowHelpText =
    "There are two different continuous flow moisture control\nschemes that can be selected.  One "
    "is indirect TEMPERATURE\ncontrol which regulates moisture by regulating grain\ntemperature.  "
    "If this is chosen there are two sub-categories\navailable: 2 speed and 5 speed.  The 2 speed "
    "toggles between\na low speed when the grain temperature is less than the setpoint\nand a high "
    "speed when the grain temperature is above the \nsetpoint.  The 5 speed works the same except "
    "it can switch \nbetween 5 speed setpoints to regulate the grain temperature. \n\nSelecting "
    "moisture will use a rear discharge moisture sensor \nto regulate the grain moisture.  The 5 "
    "speed moisture \nselection works exactly like the 5 speed temperature selection\nexcept it "
    "changes the unload rate based upon whether the exiting\ngrain moisture is above the setpoint "
    "or below it.\n\nThe advanced selection varies the unload rate to regulate\nthe exiting "
    "moisture.  It watches the incoming moisture, the\ngrain column temperature and the exiting "
    "grain moisture \nto decide what the unload rate should be.\n";

// The maximum grain temperature's limits in its entry dialog, degrees F.
inline constexpr TemperatureLimits kMaxGrainTempLimits{100, 200, 150};

// The metering modes (low three bits of byte 187) this setup chooses between.
namespace metering_mode {
inline constexpr std::uint8_t kTemperatureTwoSpeed = 1;
inline constexpr std::uint8_t kMoistureVariable = 3;
inline constexpr std::uint8_t kMoistureFiveSpeed = 4;
inline constexpr std::uint8_t kTemperatureFiveSpeed = 5;
}  // namespace metering_mode

// The continuous flow setup's rules: the moisture control scheme (byte 187), auto centering and
// the upper moisture sensor (byte 224 bits 0x80 and 0x01) and the maximum grain temperature limit
// (byte 266 bits 0x30). Every choice edits the setup's copy; ACCEPT sends what changed and CANCEL
// nothing, so the dryer never runs on a scheme the operator was only passing through. A scheme
// this setup does not offer (three-speed, or staged batch) is shown as temperature two-speed but
// stays as it is until the operator picks one.
//
// Two buttons act at once by their nature: MAX GRAIN TEMP opens the temperature entry, whose
// ACCEPT sends the limit; 5 SPEED SETUP first sends the chosen scheme, since the brackets it
// opens are moisture or temperature steps by that scheme.
class ContinuousFlow {
 public:
  enum class Outcome {
    kKeepOpen,
    kAccepted,           // ACCEPT: close, and the drying mode dialog under it as well
    kCancelled,          // CANCEL: close, nothing sent
    kOpenMaxGrainTemp,   // MAX GRAIN TEMP: open the temperature entry on byte 277
    kOpenFiveSpeedSetup  // 5 SPEED SETUP: open the bracket dialog on Mode()
  };

  explicit ContinuousFlow(link::LinkShared& shared);

  // The metering mode of the copy (low three bits).
  std::uint8_t Mode() const;
  // What the indicators show: the scheme and its option; modes this setup does not offer show as
  // temperature two-speed.
  bool TemperatureScheme() const;
  bool FiveSpeed() const;
  bool Variable() const { return Mode() == metering_mode::kMoistureVariable; }
  // The 5-speed group's buttons are enabled.
  bool FiveSpeedGroupEnabled() const { return FiveSpeed(); }
  bool AutoCentering() const;
  bool UpperSensorEnabled() const;
  // The maximum grain temperature limit is enabled (byte 266 bit 0x20).
  bool SafetyEnabled() const;
  // Box 1330: the limit, "%d F" (in degrees C when the display shows SI units).
  std::string MaxGrainTempText() const;

  void ChooseMode(std::uint8_t mode);
  void ToggleAutoCentering();
  void ToggleUpperSensor();
  void ToggleSafety();
  // The limit may have been changed by the entry dialog: take its value again.
  void ReloadMaxGrainTemp();
  // Sends the records whose copies differ from what the setup started from.
  link::CommitResult Send(platform::Prompter& prompter);

  // One control by id, as the dialog forwards touches. Unknown ids and disabled controls are
  // ignored.
  Outcome Press(int control_id, platform::Prompter& prompter);

  const link::SettingEdit& Edit() const { return edit_; }

 private:
  link::LinkShared& shared_;
  link::SettingEdit edit_;
};

}  // namespace orvandry::setup
