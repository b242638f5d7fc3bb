#pragma once

#include <QLabel>
#include <QPushButton>

#include "link/link_shared.h"
#include "platform/dialog.h"
#include "service/calibration.h"
#include "shell/housekeeping.h"

namespace orvandry::platform {
class Prompter;
}

namespace orvandry::link {
struct IntakeResult;
}

namespace orvandry::shell {
class ShellHost;
}

namespace orvandry::service {

// The moisture sensor calibration dialog's skin: the two sensors' readings drawn on the left, the
// four offsets on the right, each "<<<" value ">>>", with ACCEPT and HELP under them.
class CalibrationDialog final : public platform::Dialog {
  Q_OBJECT

 public:
  static constexpr platform::Size kClientSize{600, 330};

  CalibrationDialog(QWidget* parent, Calibration& calibration, const link::LinkShared& shared,
                    platform::Prompter& prompter);

  QPushButton* Button(int id) const { return ControlAs<QPushButton>(id); }
  QLabel* Edit(Offset offset) const { return ControlAs<QLabel>(DefOf(offset).edit_id); }
  // A press (also what hold-to-repeat sends).
  void OnControl(int id);
  // New readings from the dryer.
  void Follow();

 protected:
  void Paint(platform::Canvas& canvas) override;

 private:
  void Refresh();

  Calibration& calibration_;
  const link::LinkShared& shared_;
  platform::Prompter& prompter_;
};

// The subsystem's side: opens the dialog, repaints it from the intake and repeats the arrows while
// they are held.
class CalibrationHost final : public shell::RepeatSource {
 public:
  void Open(shell::ShellHost& host, QWidget* parent);
  void OnIntake(const link::IntakeResult& result);

  bool IsOpen() const override { return dialog_ != nullptr; }
  int HeldButton() const override;
  void SendRepeat(int command) override;

 private:
  CalibrationDialog* dialog_ = nullptr;
  bool repeat_registered_ = false;
};

}  // namespace orvandry::service
