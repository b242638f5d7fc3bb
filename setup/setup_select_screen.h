#pragma once

#include <functional>

#include "setup/selection_screens.h"
#include "setup/setup_select.h"

namespace orvandry::shell {
class ShellHost;
}

namespace orvandry::setup {

// The hardware setup board (SETUP_SELECTION_WINDOW): a picture button per setup dialog, and Exit.
// A button opens its dialog over the board through the host; Extended Setup swaps this board for
// the extended one. Which buttons show, and whether Burner Mode is greyed, follows the dryer's
// options on every show and repaint, and once a second (SyncButtons).
class SetupSelectScreen final : public SelectionScreen {
  Q_OBJECT

 public:
  SetupSelectScreen(QWidget* parent, const shell::WindowDef& def, const ExitButtonDef& exit,
                    std::function<void()> on_exit, shell::ShellHost& host);

  platform::PictureButton* Button(int id) const;
  const SetupSelect& Logic() const { return select_; }

  void SyncButtons();

 protected:
  void paintEvent(QPaintEvent* event) override;
  void showEvent(QShowEvent* event) override;

 private:
  void OnPress(int id);

  shell::ShellHost& host_;
  SetupSelect select_;
};

}  // namespace orvandry::setup
