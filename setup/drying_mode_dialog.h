#pragma once

#include <QCheckBox>
#include <QPushButton>

#include "platform/dialog.h"
#include "platform/picture_button.h"
#include "setup/drying_mode.h"

namespace orvandry::platform {
class Prompter;
}
namespace orvandry::shell {
class ShellHost;
}

namespace orvandry::setup {

// A text button of the drying mode dialogs: bold, never picked by Enter, named by its text.
QPushButton* MakeModeButton(const char* text, int pixel_size = 13);
// An indicator: a tick box that shows a state and takes no touches.
QCheckBox* MakeIndicator(const char* text);

// The drying mode dialog (template 512, "Drying Mode Selection - 07"): CONTINUOUS FLOW and STAGED
// BATCH with their indicators, the M/C Setup picture button, HELP, CANCEL and ACCEPT. It sits
// centred on the panel, 20 pixels above its middle. Every button is at least 40 x 40 pixels.
class DryingModeDialog final : public platform::Dialog {
  Q_OBJECT

 public:
  static constexpr platform::Size kClientSize{360, 262};
  static constexpr int kAboveCentre = 20;
  // M/C Setup shows the main screen's M/C faces.
  static constexpr int kMcSetupFace = 105;
  static constexpr int kMcSetupPressedFace = 104;

  DryingModeDialog(QWidget* parent, shell::ShellHost& host);

  const DryingMode& Mode() const { return mode_; }
  QAbstractButton* Button(int id) const { return ControlAs<QAbstractButton>(id); }
  QCheckBox* Indicator(int id) const { return ControlAs<QCheckBox>(id); }
  static platform::Rect ControlRect(int id);

  void OnControl(int id);

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  void Refresh();

  shell::ShellHost& host_;
  DryingMode mode_;
};

// Template 512 as the setup board opens it; returns when it closes.
void RunDryingModeDialog(QWidget* parent, shell::ShellHost& host);

}  // namespace orvandry::setup
