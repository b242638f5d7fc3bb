#include "views/views_subsystem.h"

#include "views/batch/batch_drying_window.h"
#include "views/picture/dryer_picture_window.h"
#include "views/status/status_windows.h"

namespace orvandry::views {

platform::ChildWindow* ViewsSubsystem::CreateWindow(const shell::WindowDef& def, QWidget* parent) {
  ViewContext& ctx = host_->Context();
  switch (def.win) {
    case shell::Win::kBatchDrying:
      batch_ = new BatchDryingWindow(parent, def, ctx);
      return batch_;
    case shell::Win::kDryerPic:
      return new DryerPictureWindow(parent, def, ctx);
    case shell::Win::kUnloadStatus: {
      auto* unload = new UnloadStatusWindow(parent, def, ctx);
      // Its metering-roll button asks for the metering-roll speed dialog over itself.
      unload->SetDialogOpener([this](int template_id, QWidget* over) {
        host_->OpenDialog({.template_id = template_id, .parent = over});
      });
      return unload;
    }
    default:
      return CreateStatusView(def, parent, ctx);  // null for windows it does not know
  }
}

void ViewsSubsystem::Wired() {
  OnViewRule();
}

void ViewsSubsystem::OnViewRule() {
  if (batch_ != nullptr) batch_->UpdateButtons();
}

void ViewsSubsystem::OnIntake(const link::IntakeResult& result) {
  if (result.update_batch_buttons) OnViewRule();
}

void ViewsSubsystem::OnSecondTick() {
  // A held timer button asks a reload question; never on top of another dialog or question.
  if (batch_ != nullptr && !host_->ModalOpen()) batch_->HandleHeldButtons();
}

}  // namespace orvandry::views
