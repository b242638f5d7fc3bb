#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "link/link_shared.h"
#include "link/pending_write.h"
#include "link/setting_edit.h"

namespace orvandry::platform {
class Prompter;
}

namespace orvandry::service {

// Controls of the system diagnostics dialog (template 168).
namespace diagnostics_id {
inline constexpr int kTemplate = 168;
inline constexpr int kLightOutputs = 1048;
inline constexpr int kSwitchWiring = 1049;
inline constexpr int kAirswitch = 1045;
inline constexpr int kAirswitchDisabled = 1047;  // indicator
inline constexpr int kMeterRolls = 1044;
inline constexpr int kSpeedViaScreen = 1046;
inline constexpr int kMeteringSensor = 1052;
inline constexpr int kCalibrate = 1138;
inline constexpr int kHelp = 1050;
inline constexpr int kExit = 1043;
// The dialogs the buttons open.
inline constexpr int kLightOutputsTemplate = 202;
inline constexpr int kSwitchTestTemplate = 203;
inline constexpr int kMeterOutputTemplate = 252;
inline constexpr int kCalibrationTemplate = 223;
}  // namespace diagnostics_id

// Controls of the light outputs dialog (template 202) and the switch test dialog (template 203).
namespace light_outputs_id {
inline constexpr int kHelp = 1044;
inline constexpr int kExit = 1124;
}  // namespace light_outputs_id
namespace switch_test_id {
inline constexpr int kExit = 1126;
}  // namespace switch_test_id

inline constexpr std::uint8_t kAirswitchOff = 0x04;       // bytes 101-106
inline constexpr std::uint8_t kSensorShutdownOff = 0x20;  // byte 49
inline constexpr std::size_t kRecycleByte = 148;          // bit 0x08: disabling needs a recycle
inline constexpr std::uint8_t kRecycleBit = 0x08;
inline constexpr std::size_t kReenableHoldByte = 118;  // bit 0x20: leave testing as it is
inline constexpr std::uint8_t kReenableHoldBit = 0x20;

// The burner mode bytes the airswitch commands cover for a fan count code (byte 3): the fitted
// fan/heaters' bytes, 106 down to 101. An unknown code covers none.
std::vector<std::size_t> CoveredAirswitchBytes(std::uint8_t fan_count_code);

// The edit record of the diagnostics dialog: the airswitch testing of the fitted burners, the
// metering speed source and the metering roll sensor shutdown. The buttons that open other
// dialogs report which one; the dialog's skin opens it.
class Diagnostics {
 public:
  enum class Outcome {
    kKeepOpen,
    kOpenLightOutputs,
    kOpenSwitchTest,
    kOpenMeterOutput,
    kOpenCalibration,
    kClose,
  };

  explicit Diagnostics(link::LinkShared& shared);

  // Loads byte 49 and bytes 101-106 as the dialog opens.
  void Open();
  // Brings the dialog up to the dryer's latest report: when the controller has locked the disable
  // option until a power recycle and testing is still off, turns testing back on. Returns true
  // when it sent that. Call when the dialog opens and whenever the intake brings new bytes.
  bool Follow();
  Outcome Press(int control, platform::Prompter& prompter);

  // Testing is off on a fitted fan/heater, as the dryer reports it.
  bool TestingDisabled() const;
  const char* AirswitchCaption() const;
  // Testing is off and stays off: the indicator is ticked and the button offers ENABLE.
  bool AirswitchIndicator() const;
  // The metering roll sensor failure shutdown is off (as it will be sent).
  bool SensorShutdownDisabled() const;
  bool ScreenSetsSpeed() const;

 private:
  void Airswitch(platform::Prompter& prompter);
  void MeteringSource(platform::Prompter& prompter);
  void MeteringSensor(platform::Prompter& prompter);
  // Sets or clears the airswitch bit in the covered bytes and sends the ones that changed.
  link::CommitResult SetAirswitchOff(bool off);
  std::vector<std::size_t> Covered() const;
  // Testing is off while the controller has locked the disable option until a power recycle.
  bool ReenableRuleHolds() const;
  void ReloadIfEarly();

  link::LinkShared& shared_;
  link::SettingEdit edit_;
  bool loaded_connected_ = false;
};

// One output of the light outputs dialog: its two tick boxes and the bits they show.
struct LightOutput {
  const char* name;
  int activated_id;
  std::size_t activated_byte;
  std::uint8_t activated_bit;
  int shorted_id;
  std::size_t shorted_byte;
  std::uint8_t shorted_bit;
};
extern const std::array<LightOutput, 16> kLightOutputs;

// One switch of the switch test dialog.
struct SwitchInput {
  int id;
  const char* name;
  std::size_t byte;
  std::uint8_t bit;
};
// The switch groups, each a connector or a switch block, in the order the dialog shows them.
struct SwitchGroup {
  const char* name;
  std::vector<SwitchInput> inputs;
};
const std::vector<SwitchGroup>& SwitchGroups();

// The tick of one box from what the dryer reports.
bool BitSet(const link::LinkShared& shared, std::size_t byte, std::uint8_t bit);

// The help texts.
extern const char* const kDiagnosticsHelpCaption;
extern const char* const kDiagnosticsHelpText;
extern const char* const kLightOutputsHelpCaption;
extern const char* const kLightOutputsHelpText;

}  // namespace orvandry::service
