#include "service/unload_bushels.h"

#include <cstdio>

#include "link/status_map.h"
#include "platform/prompter.h"

namespace orvandry::service {

namespace id = bushels_id;
namespace sm = link::status_map;

namespace {

void SayNotConnected(platform::Prompter& prompter) {
  platform::TellNotConnected(prompter);
}

}  // namespace

void UnloadBushels::Open() {
  edit_.Load({link::Rec::kBushelCalibration, link::Rec::kCommandBits238});
}

int UnloadBushels::Calibration() const {
  return edit_.Get(sm::kBushelCalibration);
}

std::uint32_t UnloadBushels::TotalBushels() const {
  return shared_.dryer_state.GetU32(sm::kBushelCounter) / kCountsPerBushel;
}

std::string UnloadBushels::CalibrationText() const {
  char text[16];
  std::snprintf(text, sizeof text, "  %d %%", Calibration());
  return text;
}

std::string UnloadBushels::TotalText() const {
  char text[16];
  std::snprintf(text, sizeof text, " %u", static_cast<unsigned>(TotalBushels()));
  return text;
}

void UnloadBushels::Clear(platform::Prompter& prompter) {
  if (prompter.Ask(kClearQuestion, kClearCaption, platform::Buttons::kYesNoCancel,
                   platform::Icon::kQuestion) != platform::Answer::kYes)
    return;
  edit_.Set(sm::kCommandBits238,
            static_cast<std::uint8_t>(edit_.Get(sm::kCommandBits238) | kClearBit));
  if (edit_.CommitOwned({{link::Rec::kCommandBits238, kClearBit}}) ==
      link::CommitResult::kNotConnected)
    SayNotConnected(prompter);
}

UnloadBushels::Outcome UnloadBushels::Accept(platform::Prompter& prompter) {
  if (edit_.CommitIfChanged(link::Rec::kBushelCalibration) == link::CommitResult::kNotConnected)
    SayNotConnected(prompter);
  return Outcome::kAccepted;
}

UnloadBushels::Outcome UnloadBushels::Press(int control_id, platform::Prompter& prompter) {
  switch (control_id) {
    case id::kIncrease:
      if (Calibration() < kMaxCalibration)
        edit_.Set(sm::kBushelCalibration, static_cast<std::uint8_t>(Calibration() + 1));
      break;
    case id::kDecrease:
      if (Calibration() > kMinCalibration)
        edit_.Set(sm::kBushelCalibration, static_cast<std::uint8_t>(Calibration() - 1));
      break;
    case id::kClear:
      Clear(prompter);
      break;
    case id::kHelp:
      prompter.Ask(kBushelHelpText, kBushelHelpCaption, platform::Buttons::kOk,
                   platform::Icon::kInformation);
      break;
    case id::kAccept:
      return Accept(prompter);
    default:
      break;
  }
  return Outcome::kKeepOpen;
}

}  // namespace orvandry::service
