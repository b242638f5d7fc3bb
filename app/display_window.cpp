#include "app/display_window.h"

#include "views/batch/batch_drying_window.h"
#include "views/picture/dryer_picture_window.h"
#include "views/status/status_windows.h"
#include "warnings/ui/warnings_subsystem.h"

namespace orvandry::app {

shell::ViewFactory DisplayWindow::MakeFactory(CreatedViews& created,
                                              warnings::ui::WarningsSubsystem& warnings) {
  return [&created, &warnings](const shell::WindowDef& def, QWidget* parent,
                               views::ViewContext& ctx) -> platform::ChildWindow* {
    switch (def.win) {
      case shell::Win::kBatchDrying:
        created.batch = new views::BatchDryingWindow(parent, def, ctx);
        return created.batch;
      case shell::Win::kDryerPic:
        return new views::DryerPictureWindow(parent, def, ctx);
      case shell::Win::kWarning:
        return warnings.CreateWarningWindow(parent, def, ctx);
      default:
        return views::CreateStatusView(def, parent, ctx);  // null for windows it does not know
    }
  };
}

DisplayWindow::DisplayWindow(link::LinkShared& shared, shell::Settings& settings,
                             platform::Prompter& prompter, platform::SettingsStore& store,
                             platform::Clock& clock, warnings::ui::WarningsSubsystem& warnings)
    : shell::MainWindow(shared, settings, prompter, store, clock,
                        MakeFactory(*static_cast<CreatedViews*>(this), warnings)),
      warnings_(warnings) {
  SetWarningCodeHook([&warnings](std::uint8_t node, std::uint8_t warning) {
    warnings.PostWarningCodeChanged(node, warning);
  });
  UpdateBatchButtons();
}

void DisplayWindow::OpenDialog(int template_id) {
  if (template_id == shell::dialog::kShutdownHistory) {
    warnings_.OpenHistory(this, housekeeping().history_clear_hold);
    return;
  }
  shell::MainWindow::OpenDialog(template_id);
}

void DisplayWindow::UpdateBatchButtons() {
  if (batch != nullptr) batch->UpdateButtons();
}

void DisplayWindow::RepaintWarningBlinkArea() {
  shell::MainWindow::RepaintWarningBlinkArea();
  warnings_.RequestReconnectStep();
}

void DisplayWindow::CloseWarningHelp() { warnings_.CloseWarningHelp(); }

void DisplayWindow::AdvanceHelpAnimation(int frame) { warnings_.AdvanceHelpAnimation(frame); }

bool DisplayWindow::HistoryClearButtonHeld() { return warnings_.HistoryClearButtonHeld(); }

void DisplayWindow::HandleBatchTimerHolds() {
  if (batch != nullptr) batch->HandleHeldButtons();
}

}  // namespace orvandry::app
