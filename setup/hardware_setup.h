#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "link/link_shared.h"
#include "link/setting_edit.h"

namespace orvandry::platform {
class Prompter;
}

namespace orvandry::setup {

// Controls of the hardware setup dialog (template 164).
namespace hardware_id {
inline constexpr int kTemplate = 164;

inline constexpr int kModulesBox = 1268;
inline constexpr std::array<int, 3> kModules = {1056, 1055, 1054};  // One, Two, Three
inline constexpr int kModulesSelect = 1009;

inline constexpr int kLoadBox = 1267;
inline constexpr std::array<int, 3> kLoad = {1057, 1058, 1059};  // End, Center, Dual Fill
inline constexpr int kLoadSelect = 1010;

inline constexpr int kLengthBox = 1266;
// Position 0..14: the dryer length, or the model in the model layout.
inline constexpr std::array<int, 15> kPositions = {1045, 1046, 1047, 1064, 1065, 1066, 1067, 1068,
                                                   1069, 1073, 1074, 1075, 1076, 1077, 1078};
inline constexpr int kLengthSelect = 1012;

inline constexpr int kFansBox = 1269;
// By fan count code 0..4: One, Two, Three, Four, Six.
inline constexpr std::array<int, 5> kFans = {1050, 1049, 1048, 1053, 1051};
inline constexpr int kFansSelect = 1008;

inline constexpr int kFuelBox = 1270;
inline constexpr std::array<int, 4> kFuel = {1060, 1061, 1062, 1063};  // LP, NG, Vapor, Diesel
inline constexpr int kFuelSelect = 1011;

inline constexpr int kMeterRollBox = 1290;
inline constexpr int kFourInch = 1052;
inline constexpr int kSevenInch = 1294;

inline constexpr int kSamplerBox = 1291;
inline constexpr int kCycledMode = 1070;
inline constexpr int kSamplerSelect = 1014;

inline constexpr int kAccept = 1013;
}  // namespace hardware_id

inline constexpr const char* kHardwareCaption = "DRYER HARDWARE SETUP - 05 ";
inline constexpr const char* kSamplerQuestion =
    "Selecting YES requires cycled sampler to be installed!!!";
inline constexpr const char* kSamplerQuestionCaption = " ENABLE CYCLED MOISTURE SAMPLER?";

// The length layout (every group) or, on the model family's dryers, the model layout: the
// position group names models, and the groups that family does not have are hidden.
enum class HardwareLayout : std::uint8_t { kLength, kModel };

// Group and indicator texts.
inline constexpr std::array<const char*, 3> kModuleNames = {"One", "Two", "Three"};
inline constexpr std::array<const char*, 3> kLoadNames = {"End Fill", "Center Fill", "Dual Fill"};
inline constexpr std::array<const char*, 5> kFanNames = {"One", "Two", "Three", "Four", "Six"};
inline constexpr std::array<const char*, 4> kFuelNames = {"LP", "Natural Gas", "Vapor", "Diesel"};
inline constexpr std::array<const char*, 15> kLengthNames = {
    "8 ft",  "10 ft", "12 ft", "14 ft", "16 ft", "18 ft", "20 ft", "22 ft",
    "24 ft", "26 ft", "28 ft", "34 ft", "36 ft", "38 ft", "40 ft"};
// The model family's designations, a pair of models each; the last four positions are unused.
inline constexpr std::array<const char*, 15> kModelNames = {
    "M-110 / M-115", "M-120 / M-125", "M-130 / M-135", "M-140 / M-145", "M-210 / M-215",
    "M-220 / M-225", "M-230 / M-235", "M-240 / M-245", "M-310 / M-315", "M-320 / M-325",
    "M-330 / M-335", "NOT USED",      "NOT USED",      "NOT USED",      "NOT USED"};

// The hardware setup dialog's rules. It edits copies of the dryer's physical configuration (fan
// count, modules, fuel, load system, length or model, the cycled sampler) and sends what the
// operator changed when ACCEPT/EXIT is pressed. Each SELECT steps its group; the radio indicators
// only show the choice.
class HardwareSetup {
 public:
  enum class Outcome { kKeepOpen, kClosed };

  explicit HardwareSetup(link::LinkShared& shared);

  // Takes the dryer's configuration (or changes still on their way to it) and picks the layout
  // from the hardware option byte. Sends nothing.
  void Open();

  HardwareLayout Layout() const { return layout_; }
  // The option that allows only One or Three fan/heaters (hardware option bit 0x20).
  bool FansRestricted() const { return (hardware_options_ & 0x20) != 0; }

  std::uint8_t FanCode() const;
  std::uint8_t Modules() const;
  std::uint8_t Fuel() const;
  std::uint8_t LoadSystem() const;
  std::uint8_t Position() const;
  bool CycledSampler() const;
  // The meter roll size as the dryer reports it (display only).
  bool FourInchRoll() const;

  // Whether the fan indicator of this code is enabled for the module count being edited.
  bool FanAllowed(int fan_code) const;

  // The texts of the layout.
  const char* PositionCaption() const;
  const char* FansCaption() const;
  const char* PositionName(int position) const;

  // The SELECT buttons.
  void StepFans();
  void StepModules();
  void StepLoad();
  void StepFuel();
  // Also sends the sampler setting as it stands in the dialog.
  void StepPosition();
  void ToggleSampler(platform::Prompter& prompter);
  // Sends what changed and leaves. Before the dryer's first report nothing can be sent; the
  // operator is told so when there was something to send.
  Outcome Accept(platform::Prompter& prompter);

  // One control by id, as the dialog forwards touches. Unknown ids are ignored.
  Outcome Press(int control_id, platform::Prompter& prompter);

 private:
  std::uint8_t Byte(std::size_t offset) const { return edit_.Get(offset); }
  void SetByte(std::size_t offset, std::uint8_t value) { edit_.Set(offset, value); }

  link::LinkShared& shared_;
  link::SettingEdit edit_;
  std::uint8_t hardware_options_ = 0;
  HardwareLayout layout_ = HardwareLayout::kLength;
};

}  // namespace orvandry::setup
