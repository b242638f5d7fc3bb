#pragma once

#include "service/meter_output.h"
#include "service/panel_dialog.h"
#include "service/sampler_setup.h"
#include "service/unload_bushels.h"

namespace orvandry::platform {
class Prompter;
}
namespace orvandry::shell {
struct ViewContext;
}

namespace orvandry::service {

// Unload bushels: the calibration with INCREASE / DECREASE, the counted total with CLEAR, HELP and
// ACCEPT. The total follows the dryer while the dialog is open (the 1 s tick refreshes it).
class UnloadBushelsDialog final : public PanelDialog {
  Q_OBJECT

 public:
  static constexpr platform::Size kClientSize{480, 290};
  UnloadBushelsDialog(QWidget* parent, UnloadBushels& logic, platform::Prompter& prompter);
  void Refresh() override;

 protected:
  bool Press(int id, bool& accepted) override;

 private:
  UnloadBushels& logic_;
  platform::Prompter& prompter_;
};

// Meter rolls output voltage: minimum and maximum, each in percent and volts with UP / DOWN,
// DEFAULT, ACCEPT and CANCEL.
class MeterOutputDialog final : public PanelDialog {
  Q_OBJECT

 public:
  static constexpr platform::Size kClientSize{560, 240};
  MeterOutputDialog(QWidget* parent, MeterOutput& logic, platform::Prompter& prompter);
  void Refresh() override;

 protected:
  bool Press(int id, bool& accepted) override;

 private:
  MeterOutput& logic_;
  platform::Prompter& prompter_;
};

// Moisture sampler setup: the cleaning action, the action delay and the maximum time, each shown
// by its ticks and stepped by its SELECT; HELP and ACCEPT / OK.
class SamplerSetupDialog final : public PanelDialog {
  Q_OBJECT

 public:
  static constexpr platform::Size kClientSize{600, 398};
  SamplerSetupDialog(QWidget* parent, SamplerSetup& logic, platform::Prompter& prompter);
  void Refresh() override;

 protected:
  bool Press(int id, bool& accepted) override;

 private:
  SamplerSetup& logic_;
  platform::Prompter& prompter_;
};

void RunUnloadBushelsDialog(QWidget* parent, shell::ViewContext& context);
void RunMeterOutputDialog(QWidget* parent, shell::ViewContext& context);
void RunSamplerSetupDialog(QWidget* parent, shell::ViewContext& context);

}  // namespace orvandry::service
