#include "setup/setup_subsystem.h"

#include "setup/auto_start_window.h"
#include "setup/bracket_dialog.h"
#include "setup/burner_differential_dialog.h"
#include "setup/burner_mode_dialog.h"
#include "setup/continuous_flow_dialog.h"
#include "setup/defaults_notice_dialog.h"
#include "setup/drying_mode_dialog.h"
#include "setup/extended_setup_screen.h"
#include "setup/hardware_setup_dialog.h"
#include "setup/moisture_setpoint_dialog.h"
#include "setup/plenum_temp_manager_dialog.h"
#include "setup/selection_screens.h"
#include "setup/setup_select_screen.h"
#include "setup/staged_batch_dialog.h"
#include "setup/temp_select_screen.h"
#include "setup/temperature_entry_dialog.h"
#include "setup/timer_select_screen.h"
#include "setup/unload_param_dialog.h"
#include "shell/view_context.h"

namespace orvandry::setup {

void SetupSubsystem::Attach(shell::ShellHost& host) {
  host_ = &host;
  // The dialogs of this subsystem by template number, one line each.
  dialogs_.Add(temperature_entry_id::kTemplate, [this](const shell::DialogRequest& r) {
    OpenTemperatureEntry(r, host_->Context());
  });
  dialogs_.Add(moisture_id::kSetpointTemplate, [this](const shell::DialogRequest& r) {
    RunMoistureSetpointDialog(r.parent, host_->Context());
  });
  dialogs_.Add(shell::dialog::kMeteringSpeed,
               [this](const shell::DialogRequest& r) { metering_.Open(*host_, r); });
  dialogs_.Add(drying_mode_id::kTemplate,
               [this](const shell::DialogRequest& r) { RunDryingModeDialog(r.parent, *host_); });
  dialogs_.Add(continuous_flow_id::kTemplate, [this](const shell::DialogRequest& r) {
    RunContinuousFlowDialog(r.parent, host_->Context());
  });
  dialogs_.Add(bracket_id::kTemplate, [this](const shell::DialogRequest& r) {
    RunBracketDialog(r.parent, host_->Context());
  });
  dialogs_.Add(hardware_id::kTemplate,
               [this](const shell::DialogRequest& r) { RunHardwareSetupDialog(r.parent, *host_); });
  dialogs_.Add(staged_batch_id::kTemplate, [this](const shell::DialogRequest& r) {
    RunStagedBatchDialog(r.parent, host_->Context());
  });
  dialogs_.Add(unload_param_id::kTemplate, [this](const shell::DialogRequest& r) {
    RunUnloadParamDialog(r.parent, host_->Context(), unload_rate_warning_);
  });
  dialogs_.Add(plenum_manager_id::kTemplate, [this](const shell::DialogRequest& r) {
    RunPlenumTempManagerDialog(r.parent, host_->Context());
  });
  dialogs_.Add(burner_mode_id::kTemplate, [this](const shell::DialogRequest& r) {
    RunBurnerModeDialog(r.parent, host_->Context());
  });
  dialogs_.Add(burner_differential_id::kTemplate, [this](const shell::DialogRequest& r) {
    RunBurnerDifferentialDialog(r.parent, host_->Context());
  });
  dialogs_.Add(defaults_notice_id::kTemplate, [this](const shell::DialogRequest& r) {
    RunDefaultsNotice(r.parent, host_->Context());
  });
}

platform::ChildWindow* SetupSubsystem::CreateWindow(const shell::WindowDef& def, QWidget* parent) {
  const ExitButtonDef* exit = nullptr;
  for (const ExitButtonDef& e : kExitButtons)
    if (e.screen == def.win) exit = &e;
  if (exit == nullptr && def.win != shell::Win::kAutoStart) return nullptr;
  std::function<void()> on_exit = [this, win = def.win] { Exit(win); };
  switch (def.win) {
    // The selection screens with contents of their own, one line each; the others are the bare
    // board with its Exit until their buttons arrive.
    case shell::Win::kTempSelect:
      return new TempSelectScreen(parent, def, *exit, std::move(on_exit), *host_);
    case shell::Win::kTimerSelect:
      return new TimerSelectScreen(parent, def, *exit, std::move(on_exit), host_->Context());
    case shell::Win::kSetupSelect:
      return new SetupSelectScreen(parent, def, *exit, std::move(on_exit), *host_);
    case shell::Win::kExtendedSetupSelect:
      return new ExtendedSetupScreen(parent, def, *exit, std::move(on_exit), *host_);
    case shell::Win::kAutoStart:
      return CreateAutoStartWindow(parent, def, *host_);
    default:
      return new SelectionScreen(parent, def, *exit, std::move(on_exit));
  }
}

void SetupSubsystem::OnIntake(const link::IntakeResult& result) {
  // Open dialogs that show the controller's values follow them.
  metering_.OnIntake(result);
  if (result.repaints.Has(link::ViewId::kMoistureSetpointDialog))
    RepaintOpenDialogs(*host_->MainWidget(), moisture_id::kSetpointTemplate);
  // The panel shows the dryer's units once a frame disagrees with a switch.
  if (auto* board =
          qobject_cast<ExtendedSetupScreen*>(host_->Window(shell::Win::kExtendedSetupSelect)))
    board->OnFrames();
}

void SetupSubsystem::OnSecondTick() {
  // The setup boards' option-dependent buttons follow the dryer once a second.
  if (auto* board = qobject_cast<SetupSelectScreen*>(host_->Window(shell::Win::kSetupSelect)))
    board->SyncButtons();
  if (auto* board =
          qobject_cast<ExtendedSetupScreen*>(host_->Window(shell::Win::kExtendedSetupSelect)))
    board->SyncButtons();
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
