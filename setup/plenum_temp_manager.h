#pragma once

#include <cstdint>

#include "link/link_shared.h"
#include "link/setting_edit.h"

namespace orvandry::platform {
class Prompter;
}

namespace orvandry::setup {

// Controls of the plenum temperature manager (template 514).
namespace plenum_manager_id {
inline constexpr int kTemplate = 514;
inline constexpr int kOnOff = 1304;
inline constexpr int kOn = 1305;
inline constexpr int kOff = 1306;
inline constexpr int kTimeGroup = 1320;
inline constexpr int kTimeIncrease = 1307;
inline constexpr int kTimeDecrease = 1045;
inline constexpr int kTimeBox = 1146;
inline constexpr int kStepGroup = 1321;
inline constexpr int kStepIncrease = 1308;
inline constexpr int kStepDecrease = 1046;
inline constexpr int kStepBox = 1147;
inline constexpr int kHelp = 1011;
inline constexpr int kCancel = 1010;
inline constexpr int kAccept = 1008;
}  // namespace plenum_manager_id

inline constexpr const char* kPlenumManagerCaption = "PLENUM TEMPERATURE MANAGER - 12";
inline constexpr const char* kPlenumManagerHelpCaption = "Plenum Temperature Manager";
extern const char* const kPlenumManagerHelpText;

// The texts of the two indices, as the dialog shows them (padded as stored).
const char* TimeBetweenStepsText(int index);
const char* StepSizeText(int index);

// The plenum temperature manager's rules: on/off (bit 0x80), the time between steps (bits 3..5)
// and the step size (bits 0..2) of one byte, each index stepping with a wrap; sent on ACCEPT.
class PlenumTempManager {
 public:
  enum class Outcome { kKeepOpen, kAccepted, kCancelled };

  explicit PlenumTempManager(link::LinkShared& shared) : edit_(shared) {}

  void Open();
  void ToggleOn();
  void TimeIncrease() { StepTime(1); }
  void TimeDecrease() { StepTime(-1); }
  void StepIncrease() { StepSize(1); }
  void StepDecrease() { StepSize(-1); }
  Outcome Accept(platform::Prompter& prompter);
  Outcome Cancel() const { return Outcome::kCancelled; }
  void Help(platform::Prompter& prompter) const;

  std::uint8_t Byte() const;
  bool On() const { return (Byte() & 0x80) != 0; }
  int TimeIndex() const { return (Byte() >> 3) & 0x07; }
  int StepIndex() const { return Byte() & 0x07; }

 private:
  void StepTime(int by);
  void StepSize(int by);

  link::SettingEdit edit_;
};

}  // namespace orvandry::setup
