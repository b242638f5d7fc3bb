#include "setup/setup_subsystem.h"

#include "setup/selection_screens.h"
#include "shell/view_context.h"

namespace orvandry::setup {

platform::ChildWindow* SetupSubsystem::CreateWindow(const shell::WindowDef& def, QWidget* parent) {
  for (const ExitButtonDef& exit : kExitButtons)
    if (exit.screen == def.win)
      return new SelectionScreen(parent, def, exit, [this, win = def.win] { Exit(win); });
  return nullptr;
}

void SetupSubsystem::Exit(shell::Win screen) {
  host_->SetVisible(screen, false);
  if (screen == shell::Win::kExtendedSetupSelect) {
    // The extended board is reached from the hardware setup board and goes back there.
    host_->SetVisible(shell::Win::kSetupSelect, true);
    return;
  }
  if (screen == shell::Win::kSetupSelect) {
    // While the hardware setup board was up, a change of the drying mode left the views alone.
    host_->Context().shared.view_rule_enabled.store(true, std::memory_order_relaxed);
  }
  host_->RestoreMainScreen();
}

}  // namespace orvandry::setup
