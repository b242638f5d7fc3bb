#pragma once

#include <QPushButton>

#include "link/status_intake.h"
#include "platform/dialog.h"
#include "setup/metering_speed.h"
#include "shell/housekeeping.h"

namespace orvandry::platform {
class Prompter;
}

namespace orvandry::shell {
class ShellHost;
struct DialogRequest;
}  // namespace orvandry::shell

namespace orvandry::setup {

// The metering roll speed dialog's skin: the gauges drawn on the left, the scheme controls and the
// buttons in a column to their right, all forwarding to the MeteringSpeed it edits. Every button
// is at least 40 x 40 pixels, for a gloved finger; the two scheme indicators only show the scheme.
class MeteringSpeedDialog final : public platform::Dialog {
  Q_OBJECT

 public:
  static constexpr platform::Size kClientSize{500, 410};
  static constexpr int kMinTouch = 40;

  MeteringSpeedDialog(QWidget* parent, MeteringSpeed& metering, platform::Prompter& prompter);

  MeteringSpeed::Outcome Outcome() const { return outcome_; }
  QPushButton* Button(int id) const { return ControlAs<QPushButton>(id); }
  const MeteringSpeed& Metering() const { return metering_; }
  static platform::Rect ControlRect(int id);

  // A press of a control (also what hold-to-repeat sends).
  void OnControl(int id);
  // The intake has new metering values for the open dialog.
  void Follow();

 protected:
  void Paint(platform::Canvas& canvas) override;

 private:
  QPushButton* AddButton(int id, const char* text);
  void Refresh();

  MeteringSpeed& metering_;
  platform::Prompter& prompter_;
  MeteringSpeed::Outcome outcome_ = MeteringSpeed::Outcome::kKeepOpen;
};

// The subsystem's side of the dialog: opens it (one at a time), tells the intake it is open,
// passes the intake's repaints to it and repeats INCREASE / DECREASE while held.
class MeteringDialogHost final : public shell::RepeatSource {
 public:
  void Open(shell::ShellHost& host, const shell::DialogRequest& request);
  void OnIntake(const link::IntakeResult& result);

  bool IsOpen() const override { return dialog_ != nullptr; }
  int HeldButton() const override;
  void SendRepeat(int command) override;

  MeteringSpeedDialog* Dialog() const { return dialog_; }

 private:
  MeteringSpeedDialog* dialog_ = nullptr;
  link::LinkShared* shared_ = nullptr;
  bool repeat_registered_ = false;
};

}  // namespace orvandry::setup
