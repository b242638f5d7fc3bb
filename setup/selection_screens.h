#pragma once

#include <array>
#include <functional>

#include "platform/child_window.h"
#include "shell/window_table.h"

namespace orvandry::platform {
class PictureButton;
}

namespace orvandry::setup {

// The Exit button of a full-screen selection screen: its id and its place in the client area.
struct ExitButtonDef {
  shell::Win screen;
  int id;
  int x, y;
};
inline constexpr int kExitWidth = 159;
inline constexpr int kExitHeight = 41;
inline constexpr int kExitFace = 137;
inline constexpr int kExitFacePressed = 136;
inline constexpr std::array<ExitButtonDef, 4> kExitButtons = {{
    {shell::Win::kTimerSelect, 34836, 240, 390},
    {shell::Win::kTempSelect, 34837, 240, 395},
    {shell::Win::kSetupSelect, 34879, 230, 395},
    {shell::Win::kExtendedSetupSelect, 36980, 230, 395},
}};

// A full-screen selection screen (timers, temperatures, hardware setup, extended setup): black,
// with its caption bar and dialog frame, always above the main screen, and an Exit button that
// leaves it. The screens' own buttons and panels are added by their owners.
class SelectionScreen : public platform::ChildWindow {
  Q_OBJECT

 public:
  SelectionScreen(QWidget* parent, const shell::WindowDef& def, const ExitButtonDef& exit,
                  std::function<void()> on_exit);

  platform::PictureButton* ExitButton() const { return exit_; }

 private:
  platform::PictureButton* exit_;
};

}  // namespace orvandry::setup
