#pragma once

#include "link/link_shared.h"
#include "link/setting_edit.h"

namespace orvandry::platform {
class Prompter;
}

namespace orvandry::service {

// Controls of the user settings dialog (template 479).
namespace user_settings_id {
inline constexpr int kTemplate = 479;
inline constexpr int kSave = 2;
inline constexpr int kRestore = 3;
inline constexpr int kCancel = 1287;
inline constexpr int kSaveText = 1288;  // the two explanations; no ids of the dryer's
inline constexpr int kRestoreText = 1289;
}  // namespace user_settings_id

inline constexpr const char* kUserSettingsCaption = "USER SETTINGS - 20";
inline constexpr const char* kUserSettingsSaveText =
    "Press SAVE SETTINGS to store current dryer settings for retrieval later.";
inline constexpr const char* kUserSettingsRestoreText =
    "Press RESTORE SETTINGS to restore saved settings.";

// Saving or restoring the dryer's settings: the dryer does the work when it sees command bit 0x02
// (save) or 0x01 (restore) of the display settings byte (266). The record stays raised until the
// dryer has taken the command; the rest of the byte goes as the dryer has it.
class UserSettings {
 public:
  enum class Outcome { kKeepOpen, kSent, kCancelled };
  static constexpr std::uint8_t kSaveBit = 0x02;
  static constexpr std::uint8_t kRestoreBit = 0x01;

  explicit UserSettings(link::LinkShared& shared) : edit_(shared) {}

  void Open();
  Outcome Press(int control_id, platform::Prompter& prompter);

 private:
  Outcome Send(std::uint8_t bit, platform::Prompter& prompter);

  link::SettingEdit edit_;
};

}  // namespace orvandry::service
