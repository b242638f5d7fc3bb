#pragma once

#include <QPushButton>

#include "platform/dialog.h"
#include "setup/unload_param.h"

namespace orvandry::platform {
class Prompter;
}
namespace orvandry::shell {
struct ViewContext;
}

namespace orvandry::setup {

// The unload parameters' skin: a group per rate with its BPH and percent boxes, INCREASE /
// DECREASE and the note line; HELP / CANCEL / ACCEPT along the bottom. Every button is at least
// 40 x 40 pixels.
class UnloadParamDialog final : public platform::Dialog {
  Q_OBJECT

 public:
  static constexpr platform::Size kClientSize{460, 310};
  static constexpr int kMinTouch = 40;
  static constexpr int kAboveCentre = 20;

  UnloadParamDialog(QWidget* parent, UnloadParameters& rates, platform::Prompter& prompter);

  UnloadParameters::Outcome Outcome() const { return outcome_; }
  QPushButton* Button(int id) const { return ControlAs<QPushButton>(id); }
  static platform::Rect ControlRect(int id);

  void OnControl(int id);

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  void Refresh();

  UnloadParameters& rates_;
  platform::Prompter& prompter_;
  UnloadParameters::Outcome outcome_ = UnloadParameters::Outcome::kKeepOpen;
};

// Template 513; returns when it closes. `warning` lives as long as the program.
UnloadParameters::Outcome RunUnloadParamDialog(QWidget* parent, shell::ViewContext& context,
                                               UnloadRateWarning& warning);

}  // namespace orvandry::setup
