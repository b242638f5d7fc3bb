#include "setup/drying_mode.h"

#include "link/status_map.h"
#include "platform/prompter.h"
#include "setup/timer_entry.h"

namespace orvandry::setup {

namespace {

namespace sm = link::status_map;
using link::Rec;

constexpr std::uint8_t kStagedBatchForbidden225 = 0x20;
constexpr std::uint8_t kDual257 = 0x02;
constexpr std::uint8_t kCleared257 = 0x08;
constexpr std::uint8_t kModeBits = 0x07;
constexpr std::uint8_t kTemperatureTwoSpeed = 1;
constexpr std::uint8_t kStagedBatchMode = 6;

}  // namespace

DryingMode::DryingMode(link::LinkShared& shared) : shared_(shared), edit_(shared) {
  edit_.Load({Rec::kBatchSelector, Rec::kConfigBits, Rec::kDryingMode, Rec::kMeteringMode});
  opened_selector_ = edit_.Get(sm::kBatchSelector);
  opened_mode_ = edit_.Get(sm::kMeteringMode);
}

bool DryingMode::StagedBatchAllowed() const {
  return (shared_.dryer_state.Get(sm::kHardwareOptions) & kStagedBatchForbidden225) == 0;
}

bool DryingMode::StagedBatchShown() const {
  return StagedBatchAllowed() && edit_.Get(sm::kBatchSelector) != 0;
}

void DryingMode::ChooseContinuousFlow() {
  edit_.Set(sm::kConfigBits,
            static_cast<std::uint8_t>(edit_.Get(sm::kConfigBits) & ~(kDual257 | kCleared257)));
  edit_.Set(sm::kBatchSelector, 0);
  const std::uint8_t scheme = opened_mode_ & kModeBits;
  const bool keeps_scheme = opened_selector_ == 0 && scheme != 0 && scheme != kStagedBatchMode;
  edit_.Set(sm::kMeteringMode, keeps_scheme ? opened_mode_ : kTemperatureTwoSpeed);
}

void DryingMode::ChooseStagedBatch() {
  if (!StagedBatchAllowed()) return;
  edit_.Set(sm::kConfigBits, static_cast<std::uint8_t>(edit_.Get(sm::kConfigBits) & ~kCleared257));
  edit_.Set(sm::kBatchSelector, 1);
  const bool keeps_scheme = opened_selector_ != 0 && (opened_mode_ & kModeBits) == kStagedBatchMode;
  edit_.Set(sm::kMeteringMode, keeps_scheme ? opened_mode_ : kStagedBatchMode);
}

link::CommitResult DryingMode::Send(platform::Prompter& prompter) {
  // The scheme and the configuration go before the selector that switches the dryer over.
  // All of it in one step, so the dryer gets the whole change in one frame.
  const link::CommitResult result = edit_.CommitChanged(
      {Rec::kDryingMode, Rec::kMeteringMode, Rec::kConfigBits, Rec::kBatchSelector});
  if (result == link::CommitResult::kNotConnected)
    prompter.Ask(kNotConnectedText, kNotConnectedCaption, platform::Buttons::kOk,
                 platform::kExclamation);
  return result;
}

DryingMode::Outcome DryingMode::Press(int control_id, platform::Prompter& prompter) {
  namespace id = drying_mode_id;
  switch (control_id) {
    case id::kContinuousFlow:
      ChooseContinuousFlow();
      return Outcome::kKeepOpen;
    case id::kStagedBatch:
      ChooseStagedBatch();
      return Outcome::kKeepOpen;
    case id::kAccept:
      Send(prompter);
      return Outcome::kClosed;
    case id::kCancel:
      return Outcome::kClosed;
    case id::kMcSetup:
      // Setting up continuous flow on a dryer that cannot run staged batch makes it continuous
      // flow as a whole, not only its scheme.
      if (!StagedBatchAllowed() && edit_.Get(sm::kBatchSelector) != 0) ChooseContinuousFlow();
      if (Send(prompter) == link::CommitResult::kNotConnected) return Outcome::kKeepOpen;
      return StagedBatchShown() ? Outcome::kOpenStagedBatchSetup
                                : Outcome::kOpenContinuousFlowSetup;
    case id::kHelp:
      prompter.Ask(kDryingModeHelpText, kDryingModeHelpCaption, platform::Buttons::kOkCancel,
                   platform::Icon::kInformation);
      return Outcome::kKeepOpen;
    default:
      return Outcome::kKeepOpen;
  }
}

}  // namespace orvandry::setup
