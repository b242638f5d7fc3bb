#pragma once

#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <functional>
#include <string_view>
#include <vector>

#include "platform/dialog.h"
#include "shell/housekeeping.h"

namespace orvandry::service {

// The skin the service dialogs share: buttons, texts, value boxes, ticks and frames placed by id,
// every touch forwarded to the dialog's logic through Press(), then Refresh() to show the result.
// The ticks only show a state: a touch on one goes to Press() under the tick's own id, as a box
// of the panel does. Buttons are at least kMinTouch x kMinTouch pixels.
class PanelDialog : public platform::Dialog {
  Q_OBJECT

 public:
  static constexpr int kMinTouch = 40;

  PanelDialog(QWidget* parent, int template_number, std::string_view caption,
              platform::Size client_size, int lift = 0);

  QPushButton* Button(int id) const { return ControlAs<QPushButton>(id); }
  QLabel* Text(int id) const { return ControlAs<QLabel>(id); }
  QRadioButton* Tick(int id) const { return ControlAs<QRadioButton>(id); }

  // Shows the logic's state in the controls; the 1 s tick calls it for dialogs that show a clock
  // or a live value.
  virtual void Refresh() {}

  // A control was touched: what the logic says. True when the dialog is to close.
  void OnControl(int id);
  bool Closing() const { return closing_; }

  // The first repeatable button held down, or 0.
  int HeldButton() const;

 protected:
  // The logic's answer to a touch: true closes the dialog (accept() when `accepted`).
  virtual bool Press(int id, bool& accepted) = 0;

  QPushButton* AddButton(int id, std::string_view text, platform::Rect rect, int pixels = 16);
  QLabel* AddText(int id, std::string_view text, platform::Rect rect, int pixels = 15,
                  Qt::Alignment align = Qt::AlignLeft | Qt::AlignVCenter);
  QLabel* AddValue(int id, platform::Rect rect, int pixels = 18);
  QRadioButton* AddTick(int id, std::string_view text, platform::Rect rect, bool touchable = true,
                        int pixels = 15);
  QGroupBox* AddGroup(int id, std::string_view title, platform::Rect rect);
  void SetText(int id, const std::string& text);
  void SetTicked(int id, bool ticked);
  // Buttons that repeat while held (UP / DOWN).
  void SetRepeatable(std::initializer_list<int> ids) { repeatable_.assign(ids); }

  void showEvent(QShowEvent* event) override;

 private:
  int lift_;
  bool closing_ = false;
  std::vector<int> repeatable_;
};

// Hold-to-repeat for the service dialogs: the shell's 100 ms tick asks it about the open modal
// service dialog, whichever it is. Registered once with the host.
class PanelRepeat final : public shell::RepeatSource {
 public:
  bool IsOpen() const override;
  int HeldButton() const override;
  void SendRepeat(int command) override;
};

// Calls Refresh() on every shown service dialog of `template_id` under `root`.
void RefreshOpenDialogs(QWidget& root, int template_id);

}  // namespace orvandry::service
