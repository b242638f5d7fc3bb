#pragma once

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>

#include "platform/dialog.h"
#include "setup/continuous_flow.h"

namespace orvandry::shell {
struct ViewContext;
}

namespace orvandry::setup {

// The continuous flow setup (template 515, "CONTINUOUS FLOW SETUP - 08"): the schemes and their
// options in the left column, the safety limit, the five-speed group and the upper moisture sensor
// in the right one, HELP, CANCEL and ACCEPT under them. It sits centred on the panel, 20 pixels
// above its middle. Every button is at least 40 x 40 pixels.
class ContinuousFlowDialog final : public platform::Dialog {
  Q_OBJECT

 public:
  static constexpr platform::Size kClientSize{600, 424};
  static constexpr int kAboveCentre = 20;

  ContinuousFlowDialog(QWidget* parent, shell::ViewContext& context);

  const ContinuousFlow& Flow() const { return flow_; }
  QPushButton* Button(int id) const { return ControlAs<QPushButton>(id); }
  QCheckBox* Indicator(int id) const { return ControlAs<QCheckBox>(id); }
  static platform::Rect ControlRect(int id);

  void OnControl(int id);

 protected:
  void Paint(platform::Canvas& canvas) override;
  void showEvent(QShowEvent* event) override;

 private:
  void Refresh();

  shell::ViewContext& context_;
  ContinuousFlow flow_;
};

// Template 515 as the drying mode dialog opens it; returns when it closes. Its ACCEPT closes the
// drying mode dialog it was opened over as well.
void RunContinuousFlowDialog(QWidget* parent, shell::ViewContext& context);

}  // namespace orvandry::setup
