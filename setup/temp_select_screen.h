#pragma once

#include <functional>

#include "platform/child_window.h"
#include "setup/selection_screens.h"
#include "setup/temp_select.h"

namespace orvandry::platform {
class PictureButton;
}

namespace orvandry::shell {
class ShellHost;
}

namespace orvandry::setup {

// One of the two light-grey panels of the temperature selection screen: its setpoint buttons and
// the values beside them.
class TempPanelWindow final : public platform::ChildWindow {
  Q_OBJECT

 public:
  // `rect` is the panel's place in its parent widget.
  TempPanelWindow(QWidget* parent, TempPanel panel, platform::Rect rect, const TempSelect& select,
                  const link::LinkShared& shared);

 protected:
  void Paint(platform::Canvas& canvas) override;

 private:
  TempPanel panel_;
  const TempSelect& select_;
  const link::LinkShared& shared_;
};

// The temperature selection screen (TEMP_SELECT_WINDOW): the plenum and grain panels with a
// picture button per setpoint, and Exit. A button opens the temperature entry dialog through the
// host; the values shown are the controller's and change when its report does.
class TempSelectScreen final : public SelectionScreen {
  Q_OBJECT

 public:
  TempSelectScreen(QWidget* parent, const shell::WindowDef& def, const ExitButtonDef& exit,
                   std::function<void()> on_exit, shell::ShellHost& host);

  platform::PictureButton* Button(int id) const;
  TempPanelWindow* Panel(TempPanel panel) const {
    return panel == TempPanel::kPlenum ? plenum_ : grain_;
  }
  const TempSelect& Logic() const { return select_; }

  // Works out which buttons show for the dryer's current state.
  void SyncButtons();

 protected:
  void paintEvent(QPaintEvent* event) override;
  void showEvent(QShowEvent* event) override;

 private:
  void Open(int id);

  shell::ShellHost& host_;
  TempSelect select_;
  TempPanelWindow* plenum_;
  TempPanelWindow* grain_;
};

}  // namespace orvandry::setup
