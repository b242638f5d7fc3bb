#pragma once

#include <QPushButton>

#include "platform/dialog.h"
#include "setup/staged_batch.h"

namespace orvandry::platform {
class Prompter;
}
namespace orvandry::shell {
struct DialogRequest;
struct ViewContext;
}  // namespace orvandry::shell

namespace orvandry::setup {

// The staged batch setup's skin: the criteria across the top, the safety parameters and the two
// option groups under them, HELP / CANCEL / ACCEPT along the bottom. Every button is at least
// 40 x 40 pixels; the indicators only show the state.
class StagedBatchDialog final : public platform::Dialog {
  Q_OBJECT

 public:
  static constexpr platform::Size kClientSize{620, 420};
  static constexpr int kMinTouch = 40;
  static constexpr int kAboveCentre = 20;

  StagedBatchDialog(QWidget* parent, StagedBatch& batch, platform::Prompter& prompter);

  StagedBatch::Outcome Outcome() const { return outcome_; }
  QPushButton* Button(int id) const { return ControlAs<QPushButton>(id); }
  static platform::Rect ControlRect(int id);

  void OnControl(int id);

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  QPushButton* AddButton(int id, const char* text);
  void Refresh();
  void EditMaxTime();
  void EditMaxGrainTemp();

  StagedBatch& batch_;
  platform::Prompter& prompter_;
  StagedBatch::Outcome outcome_ = StagedBatch::Outcome::kKeepOpen;
};

// Template 516 for a request (opened over the drying mode dialog or the setup selection screen);
// returns when it closes.
StagedBatch::Outcome RunStagedBatchDialog(QWidget* parent, shell::ViewContext& context);

}  // namespace orvandry::setup
