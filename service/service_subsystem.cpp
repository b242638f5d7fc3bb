#include "service/service_subsystem.h"

#include "service/counter_output_dialogs.h"
#include "service/info_clock_dialogs.h"
#include "service/printer_setup_dialog.h"
#include "shell/view_context.h"

namespace orvandry::service {

void ServiceSubsystem::Attach(shell::ShellHost& host) {
  host_ = &host;
  host.AddRepeatSource(&repeat_);
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
  dialogs_.Add(system_info_id::kTemplate, [this](const shell::DialogRequest& r) {
    RunSystemInfoDialog(r.parent, host_->Context());
  });
  dialogs_.Add(release_notes_id::kTemplate,
               [](const shell::DialogRequest& r) { RunReleaseNotesDialog(r.parent); });
  dialogs_.Add(time_date_id::kTemplate, [this](const shell::DialogRequest& r) {
    RunTimeDateDialog(r.parent, host_->Context());
  });
  dialogs_.Add(remote_id::kTemplate, [this](const shell::DialogRequest& r) {
    RunRemoteConnectionDialog(r.parent, host_->Context());
  });
  dialogs_.Add(user_settings_id::kTemplate, [this](const shell::DialogRequest& r) {
    RunUserSettingsDialog(r.parent, host_->Context());
  });
  dialogs_.Add(bushels_id::kTemplate, [this](const shell::DialogRequest& r) {
    RunUnloadBushelsDialog(r.parent, host_->Context());
  });
  dialogs_.Add(meter_output_id::kTemplate, [this](const shell::DialogRequest& r) {
    RunMeterOutputDialog(r.parent, host_->Context());
  });
  dialogs_.Add(sampler_id::kTemplate, [this](const shell::DialogRequest& r) {
    RunSamplerSetupDialog(r.parent, host_->Context());
  });
}

void ServiceSubsystem::OnIntake(const link::IntakeResult& result) {
  // Open dialogs that show the controller's values follow them.
  diagnostics_.OnIntake(result);
  calibration_.OnIntake(result);
}

void ServiceSubsystem::OnSecondTick() {
  // The dialogs that show a running clock or a live count.
  for (int id : {system_info_id::kTemplate, time_date_id::kTemplate, bushels_id::kTemplate})
    RefreshOpenDialogs(*host_->MainWidget(), id);
}

}  // namespace orvandry::service
