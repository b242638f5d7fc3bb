#pragma once

#include <cstdint>

#include "link/link_shared.h"
#include "link/setting_edit.h"

namespace orvandry::platform {
class Prompter;
}

namespace orvandry::setup {

// Controls of the drying mode dialog (template 512, "Drying Mode Selection - 07").
namespace drying_mode_id {
inline constexpr int kTemplate = 512;
inline constexpr int kContinuousFlow = 1298;
inline constexpr int kStagedBatch = 1299;
inline constexpr int kContinuousFlowIndicator = 1297;
inline constexpr int kStagedBatchIndicator = 1046;
inline constexpr int kMcSetup = 1300;
inline constexpr int kHelp = 1009;
inline constexpr int kAccept = 1008;
// The way out without a change.
inline constexpr int kCancel = 2;
// The setups M/C Setup opens as children of this dialog.
inline constexpr int kContinuousFlowSetupTemplate = 515;
inline constexpr int kStagedBatchSetupTemplate = 516;
}  // namespace drying_mode_id

inline constexpr const char* kDryingModeHelpCaption = "Drying Mode Selection";
inline constexpr const char* kDryingModeHelpText =
    "This screen is used to select\nbatch or continuous flow drying.  Once this\nselection has "
    "been "
    "made, the moisture control\nsetup button may be presed to setup the \nthe moisture control.  "
    "This screen's appearance\ndepends on the selection of batch or continuous\nflow.\n";

// The drying mode dialog's rules. The drying mode is three settings that only make sense
// together: the batch drying selector (byte 8), the moisture control mode (byte 187: 1 temperature
// two-speed for continuous flow, 6 for staged batch) and the configuration byte (257: the DUAL
// option and bit 0x08 cleared). CONTINUOUS FLOW and STAGED BATCH only change the dialog's copy;
// ACCEPT (or M/C Setup, before it opens the chosen mode's setup) sends whichever of them changed,
// so leaving the dialog any other way sends nothing and the controller never sees half a switch.
//
// Choosing the mode the dryer already runs keeps its moisture control scheme (a continuous flow
// dryer on five-speed moisture control stays on it); the configuration bits are cleared as for any
// choice.
//
// A dryer whose hardware forbids staged batch (byte 225 bit 0x20) is shown in continuous flow with
// STAGED BATCH disabled; that is what it shows, and nothing is sent for it unless the operator
// chooses CONTINUOUS FLOW or goes on to set continuous flow up with M/C Setup.
class DryingMode {
 public:
  enum class Outcome {
    kKeepOpen,
    kClosed,                   // ACCEPT or CANCEL: the dialog closes
    kOpenContinuousFlowSetup,  // M/C Setup: open template 515 over this dialog
    kOpenStagedBatchSetup,     // M/C Setup: open template 516 over this dialog
  };

  explicit DryingMode(link::LinkShared& shared);

  // The hardware allows staged batch: STAGED BATCH and its indicator are enabled.
  bool StagedBatchAllowed() const;
  // The mode ticked: the copy of the batch drying selector, continuous flow where staged batch is
  // not allowed.
  bool StagedBatchShown() const;

  void ChooseContinuousFlow();
  void ChooseStagedBatch();
  // Sends the records of the drying mode whose copies differ from what the dialog started from.
  // Says so when the dryer has not reported yet.
  link::CommitResult Send(platform::Prompter& prompter);

  // One control by id, as the dialog forwards touches. Unknown ids are ignored.
  Outcome Press(int control_id, platform::Prompter& prompter);

  const link::SettingEdit& Edit() const { return edit_; }

 private:
  link::LinkShared& shared_;
  link::SettingEdit edit_;
  std::uint8_t opened_selector_ = 0;
  std::uint8_t opened_mode_ = 0;
};

}  // namespace orvandry::setup
