#pragma once

#include <QPushButton>

#include "platform/dialog.h"
#include "setup/moisture_setpoint.h"

namespace orvandry::platform {
class Prompter;
}
namespace orvandry::shell {
struct ViewContext;
}

namespace orvandry::setup {

// The keypad (template 224, "MODIFY M/C SETPOINT"): the value box over a telephone-style pad,
// DELETE under it, ACCEPT and CANCEL beside it. Every key is at least 40 x 40 pixels.
class MoistureKeypadDialog final : public platform::Dialog {
  Q_OBJECT

 public:
  static constexpr platform::Size kClientSize{330, 302};

  MoistureKeypadDialog(QWidget* parent, MoistureKeypad& keypad);

  MoistureKeypad::Outcome Outcome() const { return outcome_; }
  QPushButton* Button(int id) const { return ControlAs<QPushButton>(id); }
  static platform::Rect ControlRect(int id);

 protected:
  void Paint(platform::Canvas& canvas) override;

 private:
  void OnControl(int id);

  MoistureKeypad& keypad_;
  MoistureKeypad::Outcome outcome_ = MoistureKeypad::Outcome::kKeepOpen;
};

// Opens the keypad modally over `parent` and returns how it ended (closed any other way counts as
// CANCEL).
MoistureKeypad::Outcome RunMoistureKeypad(QWidget* parent, MoistureKeypad& keypad);

// The setpoint dialog (template 225, " MOISTURE SETPOINT - 26"): the controller's setpoint,
// MODIFY SETPOINT and EXIT. It sits 200 pixels right of the panel's centre, kept on the panel.
class MoistureSetpointDialog final : public platform::Dialog {
  Q_OBJECT

 public:
  static constexpr platform::Size kClientSize{320, 150};
  static constexpr int kRightOfCentre = 200;

  MoistureSetpointDialog(QWidget* parent, link::LinkShared& shared, platform::Prompter& prompter);

  QPushButton* Button(int id) const { return ControlAs<QPushButton>(id); }
  static platform::Rect ControlRect(int id);

 protected:
  void Paint(platform::Canvas& canvas) override;
  void showEvent(QShowEvent* event) override;

 private:
  void Modify();

  MoistureSetpoint setpoint_;
  platform::Prompter& prompter_;
};

// Template 225 as the main screen's M/C button opens it; returns when it closes.
void RunMoistureSetpointDialog(QWidget* parent, shell::ViewContext& context);

// Repaints the open dialogs of this template under `root` (they show the controller's values).
void RepaintOpenDialogs(QWidget& root, int template_id);

}  // namespace orvandry::setup
