#include "warnings/ui/warning_help.h"

#include <QAbstractButton>

namespace orvandry::warnings::ui {

WarningHelp::WarningHelp(std::filesystem::path data_dir, const link::LinkShared& shared,
                         platform::Prompter& prompter)
    : data_dir_(std::move(data_dir)), shared_(shared), prompter_(prompter) {}

void WarningHelp::Open(QWidget* parent, WarningCode code) {
  // The help is modal, so at most one is open; a second request while it is up is a stray touch.
  if (dialog_) return;
  HelpDialog dialog(parent, data_dir_, shared_, prompter_, code, door_frame_);
  dialog_ = &dialog;
  if (runner_)
    runner_(dialog);
  else
    dialog.exec();
  dialog_ = nullptr;
}

void WarningHelp::CloseUnlessFromHistory() {
  if (opened_from_history_ || !dialog_) return;
  if (auto* close = dialog_->ControlAs<QAbstractButton>(HelpDialog::kCloseId)) close->click();
}

void WarningHelp::AdvanceAnimation(int frame) {
  door_frame_ = ((frame % kDoorAnimationFrames) + kDoorAnimationFrames) % kDoorAnimationFrames;
  if (dialog_) dialog_->SetDoorFrame(door_frame_);
}

}  // namespace orvandry::warnings::ui
