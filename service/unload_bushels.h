#pragma once

#include <cstdint>
#include <string>

#include "link/link_shared.h"
#include "link/setting_edit.h"

namespace orvandry::platform {
class Prompter;
}

namespace orvandry::service {

// Controls of the unload bushels setup dialog (template 226).
namespace bushels_id {
inline constexpr int kTemplate = 226;
inline constexpr int kCalibration = 1146;
inline constexpr int kTotal = 1147;
inline constexpr int kIncrease = 1171;
inline constexpr int kDecrease = 1172;
inline constexpr int kAccept = 1173;
inline constexpr int kClear = 1174;
inline constexpr int kHelp = 1175;
// The labels of the two values; no ids of the dryer's.
inline constexpr int kCalibrationLabel = 1176;
inline constexpr int kTotalLabel = 1177;
}  // namespace bushels_id

inline constexpr const char* kBushelsCaption = " UNLOAD BUSHELS SETUP SCREEN - 17";
inline constexpr const char* kClearQuestion = "Do you wish to ZERO total bushels?";
inline constexpr const char* kClearCaption = " TOTAL BUSHEL COUNTER";
inline constexpr const char* kBushelHelpCaption = "BPH Calibration Help";
inline constexpr const char* kBushelHelpText =
    "The calibration corrects the bushels the dryer counts to the bushels really unloaded.\n\n"
    "Run a known amount of grain and compare it with the bushel counter. For example, with "
    "1000 bushels run:\n"
    "  - 900 bushels counted: DECREASE the calibration to 90%.\n"
    "  - 1100 bushels counted: INCREASE the calibration to 110%.\n\n"
    "ACCEPT sends the new calibration to the dryer.";

// The bushel counter's calibration (byte 163, 50-150 percent) and its clearing (bit 0x08 of the
// command byte 238, which the meter output test also uses: only that bit is this dialog's).
class UnloadBushels {
 public:
  enum class Outcome { kKeepOpen, kAccepted };
  static constexpr int kMinCalibration = 50;
  static constexpr int kMaxCalibration = 150;
  static constexpr std::uint8_t kClearBit = 0x08;
  static constexpr std::uint32_t kCountsPerBushel = 3600;

  explicit UnloadBushels(link::LinkShared& shared) : shared_(shared), edit_(shared) {}

  void Open();

  int Calibration() const;
  // What the dryer counts now, in whole bushels.
  std::uint32_t TotalBushels() const;
  std::string CalibrationText() const;  // "  100 %"
  std::string TotalText() const;        // " 1000"

  Outcome Press(int control_id, platform::Prompter& prompter);

 private:
  void Clear(platform::Prompter& prompter);
  Outcome Accept(platform::Prompter& prompter);

  link::LinkShared& shared_;
  link::SettingEdit edit_;
};

}  // namespace orvandry::service
