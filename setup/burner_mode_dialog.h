#pragma once

#include <QGroupBox>
#include <QPushButton>
#include <QRadioButton>

#include "platform/dialog.h"
#include "setup/burner_mode.h"

namespace orvandry::platform {
class Prompter;
}
namespace orvandry::shell {
struct ViewContext;
}

namespace orvandry::setup {

// The burner mode dialog's skin: a framed group per fan/heater (#3, #2, #1 down the left, #6, #5,
// #4 down the right) with its three indicators and its SELECT, and the ALL buttons, CANCEL and
// ACCEPT along the bottom. The indicators only show the choice; every button is at least 40 x 40
// pixels.
class BurnerModeDialog final : public platform::Dialog {
  Q_OBJECT

 public:
  static constexpr platform::Size kClientSize{600, 370};
  static constexpr int kMinTouch = 40;

  BurnerModeDialog(QWidget* parent, BurnerMode& mode, platform::Prompter& prompter);

  static platform::Rect ControlRect(int id);

  QPushButton* Button(int id) const { return ControlAs<QPushButton>(id); }
  QRadioButton* Indicator(int id) const { return ControlAs<QRadioButton>(id); }
  QGroupBox* Box(int id) const { return ControlAs<QGroupBox>(id); }
  BurnerMode::Outcome Outcome() const { return outcome_; }

  void OnControl(int id);

 private:
  void Refresh();

  BurnerMode& mode_;
  platform::Prompter& prompter_;
  BurnerMode::Outcome outcome_ = BurnerMode::Outcome::kKeepOpen;
};

// Template 177; returns when it closes.
BurnerMode::Outcome RunBurnerModeDialog(QWidget* parent, shell::ViewContext& context);

}  // namespace orvandry::setup
