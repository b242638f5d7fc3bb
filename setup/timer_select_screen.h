#pragma once

#include <array>
#include <functional>

#include "setup/selection_screens.h"
#include "setup/timer_select.h"

namespace orvandry::shell {
struct ViewContext;
}

namespace orvandry::setup {

// One captioned panel of the timer board; it draws its timers from the controller's values.
class TimerPanelWindow final : public platform::ChildWindow {
  Q_OBJECT

 public:
  TimerPanelWindow(QWidget* parent, const TimerPanelDef& def, const link::LinkShared& shared);

 protected:
  void Paint(platform::Canvas& canvas) override;

 private:
  TimerPanel panel_;
  const link::LinkShared& shared_;
};

// The timer board (TIMER_SELECT_WINDOW): four panels, a picture button per timer that opens the
// timer entry dialog on it, and Exit. The panels show what the controller reports; a change
// shows once the controller has taken it, when the intake asks the board to repaint.
class TimerSelectScreen final : public SelectionScreen {
  Q_OBJECT

 public:
  TimerSelectScreen(QWidget* parent, const shell::WindowDef& def, const ExitButtonDef& exit,
                    std::function<void()> on_exit, shell::ViewContext& context);

  TimerPanelWindow* Panel(TimerPanel panel) const {
    return panels_[static_cast<std::size_t>(panel)];
  }
  platform::PictureButton* TimerButton(int id) const;

 private:
  void OpenTimer(const TimerButtonDef& def);

  shell::ViewContext& context_;
  std::array<TimerPanelWindow*, kTimerPanels.size()> panels_{};
};

}  // namespace orvandry::setup
