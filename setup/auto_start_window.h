#pragma once

#include "platform/child_window.h"
#include "setup/auto_start.h"
#include "shell/housekeeping.h"
#include "shell/window_table.h"

namespace orvandry::platform {
class PictureButton;
}

namespace orvandry::shell {
class ShellHost;
}

namespace orvandry::setup {

// One picture button of the wizard: where it sits in the client area and its faces.
struct AutoStartButtonDef {
  int id;
  int x, y, width, height;
  int normal_face, pressed_face;
};
inline constexpr int kAcceptFace = 547;
inline constexpr int kAcceptPressedFace = 546;
// INCREASE and DECREASE are 40 px high (not 31) so a gloved finger can hold them.
inline constexpr AutoStartButtonDef kAutoStartButtons[] = {
    {auto_start_id::kIncrease, 100, 150, 120, 40, 551, 550},
    {auto_start_id::kDecrease, 100, 200, 120, 40, 549, 548},
    {auto_start_id::kHelp, 30, 295, 159, 41, 541, 540},
    {auto_start_id::kCancel, 30, 350, 159, 41, 539, 538},
    {auto_start_id::kBack, 235, 350, 159, 41, 537, 536},
    {auto_start_id::kNext, 400, 350, 159, 41, 535, 534},
};

// The auto-start wizard's window (AUTO_START_WINDOW): the page drawn by PaintAutoStart and the
// six buttons, whose presses go to the AutoStart it holds. CANCEL and ACCEPT put the hardware
// setup board back. INCREASE and DECREASE repeat while held (the 100 ms tick asks this window as a
// RepeatSource).
class AutoStartWindow final : public platform::ChildWindow, public shell::RepeatSource {
  Q_OBJECT

 public:
  AutoStartWindow(QWidget* parent, const shell::WindowDef& def, shell::ShellHost& host);

  platform::PictureButton* Button(int id) const;
  const AutoStart& Wizard() const { return wizard_; }

  // A press of a control (also what hold-to-repeat sends).
  void OnControl(int id);

  bool IsOpen() const override;
  int HeldButton() const override;
  void SendRepeat(int command) override { OnControl(command); }

 protected:
  void Paint(platform::Canvas& canvas) override;

 private:
  void SyncButtons();

  shell::ShellHost& host_;
  AutoStart wizard_;
};

// Creates the wizard's window and hands it to the 100 ms tick for hold-to-repeat.
AutoStartWindow* CreateAutoStartWindow(QWidget* parent, const shell::WindowDef& def,
                                       shell::ShellHost& host);

}  // namespace orvandry::setup
