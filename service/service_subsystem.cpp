#include "service/service_subsystem.h"

#include "service/printer_setup_dialog.h"
#include "shell/view_context.h"

namespace orvandry::service {

void ServiceSubsystem::Attach(shell::ShellHost& host) {
  host_ = &host;
  // The dialogs of this subsystem by template number, one line each.
  dialogs_.Add(diagnostics_id::kTemplate, [this](const shell::DialogRequest& r) {
    diagnostics_.OpenDiagnostics(
        r.parent, host_->Context().shared, host_->Context().prompter,
        [this](int t, QWidget* p) { host_->OpenDialog({.template_id = t, .parent = p}); });
  });
  dialogs_.Add(diagnostics_id::kLightOutputsTemplate, [this](const shell::DialogRequest& r) {
    diagnostics_.OpenLightOutputs(r.parent, host_->Context().shared, host_->Context().prompter);
  });
  dialogs_.Add(diagnostics_id::kSwitchTestTemplate, [this](const shell::DialogRequest& r) {
    diagnostics_.OpenSwitchTest(r.parent, host_->Context().shared);
  });
  dialogs_.Add(calibration_id::kTemplate,
               [this](const shell::DialogRequest& r) { calibration_.Open(*host_, r.parent); });
  dialogs_.Add(printer_id::kTemplate, [this](const shell::DialogRequest& r) {
    RunPrinterSetupDialog(r.parent, host_->Context().shared, host_->Context().prompter);
  });
}

void ServiceSubsystem::OnIntake(const link::IntakeResult& result) {
  // Open dialogs that show the controller's values follow them.
  diagnostics_.OnIntake(result);
  calibration_.OnIntake(result);
}

}  // namespace orvandry::service
