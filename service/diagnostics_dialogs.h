#pragma once

#include <QCheckBox>
#include <QPushButton>
#include <functional>

#include "link/link_shared.h"
#include "link/status_intake.h"
#include "platform/dialog.h"
#include "service/diagnostics.h"

namespace orvandry::platform {
class Prompter;
}

namespace orvandry::service {

// The system diagnostics dialog's skin: two columns of buttons, the airswitch indicator under its
// button and a status line saying where the metering speed is set and whether the metering sensor
// shutdown is on. Buttons that open another dialog hand its template number to `open`.
class DiagnosticsDialog final : public platform::Dialog {
  Q_OBJECT

 public:
  static constexpr platform::Size kClientSize{560, 330};

  DiagnosticsDialog(QWidget* parent, Diagnostics& diagnostics, platform::Prompter& prompter,
                    std::function<void(int template_id)> open);

  QPushButton* Button(int id) const { return ControlAs<QPushButton>(id); }
  void OnControl(int id);
  // The dryer reported new bytes: apply the automatic re-enable and repaint.
  void Follow();
  static platform::Rect ControlRect(int id);

 protected:
  void Paint(platform::Canvas& canvas) override;

 private:
  void Refresh();

  Diagnostics& diagnostics_;
  platform::Prompter& prompter_;
  std::function<void(int)> open_;
};

// The light outputs dialog (202): sixteen outputs, each an ACTIVATED and a SHORTED box ticked from
// the bits the dryer reports.
class LightOutputsDialog final : public platform::Dialog {
  Q_OBJECT

 public:
  static constexpr platform::Size kClientSize{620, 390};

  LightOutputsDialog(QWidget* parent, const link::LinkShared& shared, platform::Prompter& prompter);
  QCheckBox* Box(int id) const { return ControlAs<QCheckBox>(id); }
  void Refresh();

 protected:
  void Paint(platform::Canvas& canvas) override;
  void showEvent(QShowEvent* event) override;

 private:
  const link::LinkShared& shared_;
  platform::Prompter& prompter_;
};

// The switch test dialog (203): every panel switch input as a box ticked from its bit.
class SwitchTestDialog final : public platform::Dialog {
  Q_OBJECT

 public:
  static constexpr platform::Size kClientSize{620, 385};

  SwitchTestDialog(QWidget* parent, const link::LinkShared& shared);
  QCheckBox* Box(int id) const { return ControlAs<QCheckBox>(id); }
  void Refresh();

 protected:
  void Paint(platform::Canvas& canvas) override;
  void showEvent(QShowEvent* event) override;

 private:
  const link::LinkShared& shared_;
};

// The subsystem's side of the three dialogs: opens them and passes the intake's news to the open
// ones.
class DiagnosticsHost {
 public:
  void OpenDiagnostics(QWidget* parent, link::LinkShared& shared, platform::Prompter& prompter,
                       std::function<void(int, QWidget*)> open_dialog);
  void OpenLightOutputs(QWidget* parent, const link::LinkShared& shared,
                        platform::Prompter& prompter);
  void OpenSwitchTest(QWidget* parent, const link::LinkShared& shared);
  void OnIntake(const link::IntakeResult& result);

 private:
  DiagnosticsDialog* diagnostics_ = nullptr;
  LightOutputsDialog* lights_ = nullptr;
  SwitchTestDialog* switches_ = nullptr;
};

}  // namespace orvandry::service
