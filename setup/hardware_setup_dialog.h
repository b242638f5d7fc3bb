#pragma once

#include <QGroupBox>
#include <QPushButton>
#include <QRadioButton>
#include <functional>

#include "platform/dialog.h"
#include "setup/hardware_setup.h"

namespace orvandry::platform {
class Prompter;
}
namespace orvandry::shell {
class ShellHost;
}

namespace orvandry::setup {

// The hardware setup dialog's skin (template 164): a framed group per setting with its radio
// indicators and a SELECT button beside them, and ACCEPT/EXIT. The indicators only show the
// choice; every button is at least 40 x 40 pixels. The model layout hides the groups that family
// lacks and packs the rest.
class HardwareSetupDialog final : public platform::Dialog {
  Q_OBJECT

 public:
  static constexpr platform::Size kClientSize{600, 320};
  static constexpr int kMinTouch = 40;

  // `pressed` runs after every button press (the shell repaints the dryer views a little later).
  HardwareSetupDialog(QWidget* parent, HardwareSetup& setup, platform::Prompter& prompter,
                      std::function<void()> pressed = {});

  // Where a control sits in the client area in a layout; empty for a control the layout hides.
  static platform::Rect ControlRect(int id, HardwareLayout layout);

  QPushButton* Button(int id) const { return ControlAs<QPushButton>(id); }
  QRadioButton* Indicator(int id) const { return ControlAs<QRadioButton>(id); }
  QGroupBox* Box(int id) const { return ControlAs<QGroupBox>(id); }
  const HardwareSetup& Setup() const { return setup_; }
  HardwareSetup::Outcome Outcome() const { return outcome_; }

  // A press of a control.
  void OnControl(int id);

 private:
  void PlaceInLayout(QWidget* control, int id);
  void AddBox(int id);
  void AddIndicator(int id);
  void AddButton(int id, const char* text, int pixel_size);
  void Refresh();

  HardwareSetup& setup_;
  platform::Prompter& prompter_;
  std::function<void()> pressed_;
  HardwareSetup::Outcome outcome_ = HardwareSetup::Outcome::kKeepOpen;
};

// Template 164: opens the dialog over `parent` and returns when it closes.
void RunHardwareSetupDialog(QWidget* parent, shell::ShellHost& host);

}  // namespace orvandry::setup
