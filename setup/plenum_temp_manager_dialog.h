#pragma once

#include <QPushButton>

#include "platform/dialog.h"
#include "setup/plenum_temp_manager.h"

namespace orvandry::platform {
class Prompter;
}
namespace orvandry::shell {
struct ViewContext;
}

namespace orvandry::setup {

// The plenum temperature manager's skin: SELECT ON / OFF with its two indicators, a group per
// index with INCREASE / DECREASE and its text, HELP / CANCEL / ACCEPT along the bottom. Every
// button is at least 40 x 40 pixels.
class PlenumTempManagerDialog final : public platform::Dialog {
  Q_OBJECT

 public:
  static constexpr platform::Size kClientSize{420, 276};
  static constexpr int kMinTouch = 40;
  static constexpr int kAboveCentre = 20;

  PlenumTempManagerDialog(QWidget* parent, PlenumTempManager& manager,
                          platform::Prompter& prompter);

  PlenumTempManager::Outcome Outcome() const { return outcome_; }
  QPushButton* Button(int id) const { return ControlAs<QPushButton>(id); }
  static platform::Rect ControlRect(int id);

  void OnControl(int id);

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  void Refresh();

  PlenumTempManager& manager_;
  platform::Prompter& prompter_;
  PlenumTempManager::Outcome outcome_ = PlenumTempManager::Outcome::kKeepOpen;
};

// Template 514; returns when it closes.
PlenumTempManager::Outcome RunPlenumTempManagerDialog(QWidget* parent, shell::ViewContext& context);

}  // namespace orvandry::setup
