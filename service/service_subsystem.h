#pragma once

#include "service/calibration_dialog.h"
#include "service/diagnostics_dialogs.h"
#include "service/panel_dialog.h"
#include "shell/subsystem.h"

namespace orvandry::service {

// The service technician's dialogs as a subsystem of the shell: diagnostics and I/O tests,
// calibration, system information, the clock, the remote connection, user settings and the
// bushel, meter output, sampler and printer settings.
class ServiceSubsystem final : public shell::Subsystem {
 public:
  void Attach(shell::ShellHost& host) override;
  bool OpenDialog(const shell::DialogRequest& request) override {
    return dialogs_.OpenIfOwned(request);
  }
  void OnIntake(const link::IntakeResult& result) override;
  void OnSecondTick() override;

 private:
  shell::ShellHost* host_ = nullptr;
  shell::DialogTable dialogs_;
  DiagnosticsHost diagnostics_;
  CalibrationHost calibration_;
  PanelRepeat repeat_;  // UP / DOWN held in a service dialog
};

}  // namespace orvandry::service
