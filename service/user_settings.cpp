#include "service/user_settings.h"

#include "link/status_map.h"
#include "platform/prompter.h"

namespace orvandry::service {

namespace id = user_settings_id;
namespace sm = link::status_map;

void UserSettings::Open() {
  edit_.Load(link::Rec::kDisplaySettings);
}

UserSettings::Outcome UserSettings::Send(std::uint8_t bit, platform::Prompter& prompter) {
  edit_.Set(sm::kDisplaySettings, static_cast<std::uint8_t>(edit_.Get(sm::kDisplaySettings) | bit));
  if (edit_.Commit(link::Rec::kDisplaySettings) == link::CommitResult::kNotConnected) {
    platform::TellNotConnected(prompter);
    return Outcome::kCancelled;
  }
  return Outcome::kSent;
}

UserSettings::Outcome UserSettings::Press(int control_id, platform::Prompter& prompter) {
  switch (control_id) {
    case id::kSave:
      return Send(kSaveBit, prompter);
    case id::kRestore:
      return Send(kRestoreBit, prompter);
    case id::kCancel:
      return Outcome::kCancelled;
    default:
      return Outcome::kKeepOpen;
  }
}

}  // namespace orvandry::service
