#pragma once

#include <array>
#include <cstdint>

#include "link/link_shared.h"
#include "link/setting_edit.h"

namespace orvandry::platform {
class Prompter;
}

namespace orvandry::setup {

// Controls of the burner mode dialog (template 177), by fan/heater 1..6 at index 0..5.
namespace burner_mode_id {
inline constexpr int kTemplate = 177;
inline constexpr std::array<int, 6> kSelect = {1090, 1091, 1092, 1093, 1094, 1095};
inline constexpr std::array<int, 6> kHiLo = {1045, 1048, 1051, 1054, 1057, 1060};
inline constexpr std::array<int, 6> kOnOff = {1046, 1049, 1052, 1055, 1058, 1061};
inline constexpr std::array<int, 6> kAuto = {1047, 1050, 1053, 1056, 1059, 1062};
// The group frames carry no id of the dryer's; these only name them for the dialog.
inline constexpr std::array<int, 6> kGroup = {1270, 1271, 1272, 1273, 1274, 1275};
inline constexpr int kAllHiLo = 1064;
inline constexpr int kAllOnOff = 1065;
inline constexpr int kAllAuto = 1066;
inline constexpr int kCancel = 1063;
inline constexpr int kAccept = 1044;
}  // namespace burner_mode_id

inline constexpr const char* kBurnerModeCaption = "Select Burner Mode - 10";
inline constexpr int kFanHeaters = 6;

// How a burner is run: the low two bits of its burner mode byte. The dryer may report 2, which
// names no choice.
enum class BurnerChoice : std::uint8_t { kHiLo = 0, kOnOff = 1, kNone = 2, kAuto = 3 };

// The burner mode dialog's rules: a choice per fan/heater, stepped by its SELECT or set for all
// six at once, sent on ACCEPT. Only the two mode bits are the dialog's; the rest of each byte goes
// back as it was loaded.
class BurnerMode {
 public:
  enum class Outcome { kKeepOpen, kAccepted, kCancelled };

  explicit BurnerMode(link::LinkShared& shared) : edit_(shared) {}

  // Takes the six bytes (or changes still on their way to the dryer). Sends nothing.
  void Open();

  // Fan/heater 1..6.
  BurnerChoice Choice(int fan_heater) const;
  std::uint8_t Byte(int fan_heater) const;

  // HI / LO -> ON / OFF -> AUTO -> HI / LO; a burner with no choice stays without one.
  void Select(int fan_heater);
  void All(BurnerChoice choice);
  // Sends the bytes whose choice the operator changed, and leaves. A burner that still has no
  // choice keeps its byte as the dryer has it.
  Outcome Accept(platform::Prompter& prompter);
  Outcome Cancel() const { return Outcome::kCancelled; }

  // One control by id, as the dialog forwards touches. Unknown ids are ignored.
  Outcome Press(int control_id, platform::Prompter& prompter);

 private:
  void SetChoice(int fan_heater, BurnerChoice choice);

  link::SettingEdit edit_;
};

}  // namespace orvandry::setup
