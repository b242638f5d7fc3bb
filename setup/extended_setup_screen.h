#pragma once

#include <functional>

#include "setup/extended_setup.h"
#include "setup/selection_screens.h"

namespace orvandry::shell {
class ShellHost;
}

namespace orvandry::setup {

// The extended setup board (EXTENDED_SETUP_SELECTION_WINDOW_NEW): a picture button per setting,
// and Exit back to the hardware setup board. Dialog buttons open their template over the board
// through the host; Temp Scale, Meter Roll Reverse and Batches act at once. Which buttons show
// follows the dryer on every show and repaint, and once a second (SyncButtons).
class ExtendedSetupScreen final : public SelectionScreen {
  Q_OBJECT

 public:
  ExtendedSetupScreen(QWidget* parent, const shell::WindowDef& def, const ExitButtonDef& exit,
                      std::function<void()> on_exit, shell::ShellHost& host,
                      ExtendedSetup::Now now = &std::chrono::steady_clock::now);

  platform::PictureButton* Button(int id) const;
  ExtendedSetup& Logic() { return setup_; }

  void SyncButtons();
  // Frames were taken in: the panel shows the dryer's units once a frame disagrees with a switch.
  void OnFrames();

 protected:
  void paintEvent(QPaintEvent* event) override;
  void showEvent(QShowEvent* event) override;

 private:
  void OnPress(int id);
  void RepaintAll();

  shell::ShellHost& host_;
  ExtendedSetup setup_;
};

}  // namespace orvandry::setup
