#pragma once

#include "setup/metering_speed_dialog.h"
#include "setup/unload_param.h"
#include "shell/subsystem.h"

namespace orvandry::setup {

// Operator setup as a subsystem of the shell: the full-screen selection screens and the dialogs
// reached from them.
class SetupSubsystem final : public shell::Subsystem {
 public:
  void Attach(shell::ShellHost& host) override;
  platform::ChildWindow* CreateWindow(const shell::WindowDef& def, QWidget* parent) override;
  void OnIntake(const link::IntakeResult& result) override;
  void OnSecondTick() override;
  bool OpenDialog(const shell::DialogRequest& request) override {
    return dialogs_.OpenIfOwned(request);
  }

 private:
  void Exit(shell::Win screen);

  shell::ShellHost* host_ = nullptr;
  shell::DialogTable dialogs_;
  MeteringDialogHost metering_;
  UnloadRateWarning unload_rate_warning_;  // given at most once per run
};

}  // namespace orvandry::setup
