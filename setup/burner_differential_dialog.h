#pragma once

#include <QPushButton>

#include "platform/dialog.h"
#include "setup/burner_differential.h"

namespace orvandry::platform {
class Prompter;
}
namespace orvandry::shell {
struct ViewContext;
}

namespace orvandry::setup {

// The burner differential dialog's skin: each plenum's line drawn above its button (plenums 1..3
// up the left column, 4..6 up the middle one), the five degrees buttons down the right, HELP,
// CANCEL and ACCEPT / EXIT along the bottom. Every button is at least 40 x 40 pixels.
class BurnerDifferentialDialog final : public platform::Dialog {
  Q_OBJECT

 public:
  static constexpr platform::Size kClientSize{560, 356};
  static constexpr int kMinTouch = 40;

  BurnerDifferentialDialog(QWidget* parent, BurnerDifferential& differential,
                           platform::Prompter& prompter);

  static platform::Rect ControlRect(int id);

  QPushButton* Button(int id) const { return ControlAs<QPushButton>(id); }
  BurnerDifferential::Outcome Outcome() const { return outcome_; }

  void OnControl(int id);

 protected:
  void Paint(platform::Canvas& canvas) override;

 private:
  BurnerDifferential& differential_;
  platform::Prompter& prompter_;
  BurnerDifferential::Outcome outcome_ = BurnerDifferential::Outcome::kKeepOpen;
};

// Template 170; returns when it closes.
BurnerDifferential::Outcome RunBurnerDifferentialDialog(QWidget* parent,
                                                        shell::ViewContext& context);

}  // namespace orvandry::setup
