#pragma once

#include <QPushButton>

#include "graphs/graph_setup.h"
#include "platform/dialog.h"

namespace orvandry::graphs {

// "GRAPH SETUP - 25": four span buttons, each with its tick box beside it, and ACCEPT/EXIT. Every
// button is at least 40 px high.
class GraphSetupDialog final : public platform::Dialog {
  Q_OBJECT

 public:
  static constexpr platform::Size kClientSize{300, 300};

  GraphSetupDialog(QWidget* parent, GraphSetup& setup);

  QPushButton* Button(int id) const { return ControlAs<QPushButton>(id); }
  bool Accepted() const { return accepted_; }
  static platform::Rect ButtonRect(int id);
  static platform::Rect BoxRect(int box_id);

 protected:
  void Paint(platform::Canvas& canvas) override;

 private:
  GraphSetup& setup_;
  bool accepted_ = false;
};

// Opens the dialog over `parent`; returns the span code to store, or -1 when it was not accepted.
int RunGraphSetupDialog(QWidget* parent, int current_code);

}  // namespace orvandry::graphs
