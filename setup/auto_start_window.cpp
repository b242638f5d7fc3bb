#include "setup/auto_start_window.h"

#include "platform/picture_button.h"
#include "platform/window_frame.h"
#include "shell/subsystem.h"
#include "shell/view_context.h"

namespace orvandry::setup {

namespace id = auto_start_id;

AutoStartWindow::AutoStartWindow(QWidget* parent, const shell::WindowDef& def,
                                 shell::ShellHost& host)
    : platform::ChildWindow(
          parent, def.class_name, def.caption, {def.x, def.y, def.width, def.height},
          platform::kCaptionBar | platform::kSunkenEdge, platform::Bgr(def.background_bgr)),
      host_(host),
      wizard_(host.Context().shared) {
  const platform::Rect client = ClientRect();
  for (const AutoStartButtonDef& b : kAutoStartButtons) {
    auto* button = new platform::PictureButton(this, "SETUP", b.id,
                                               {client.x + b.x, client.y + b.y, b.width, b.height},
                                               b.normal_face, b.pressed_face);
    connect(button, &QAbstractButton::clicked, this, [this, id = b.id] { OnControl(id); });
  }
  SyncButtons();
}

platform::PictureButton* AutoStartWindow::Button(int control) const {
  for (auto* button : findChildren<platform::PictureButton*>())
    if (button->CommandId() == control) return button;
  return nullptr;
}

void AutoStartWindow::OnControl(int control) {
  const AutoStart::Outcome outcome = wizard_.Press(control, host_.Context().prompter);
  SyncButtons();
  update();
  if (outcome == AutoStart::Outcome::kClose) {
    host_.SetVisible(shell::Win::kAutoStart, false);
    host_.SetVisible(shell::Win::kSetupSelect, true);
  }
}

void AutoStartWindow::SyncButtons() {
  Button(id::kBack)->setVisible(wizard_.BackShown());
  Button(id::kIncrease)->setVisible(wizard_.AdjustersShown());
  Button(id::kDecrease)->setVisible(wizard_.AdjustersShown());
  Button(id::kNext)->SetFaces(wizard_.OnSummary() ? kAcceptFace : 535,
                              wizard_.OnSummary() ? kAcceptPressedFace : 534);
}

bool AutoStartWindow::IsOpen() const {
  return isVisible() && wizard_.AdjustersShown();
}

int AutoStartWindow::HeldButton() const {
  for (int control : {id::kIncrease, id::kDecrease}) {
    platform::PictureButton* button = Button(control);
    if (button != nullptr && button->isVisible() && button->isDown()) return control;
  }
  return 0;
}

AutoStartWindow* CreateAutoStartWindow(QWidget* parent, const shell::WindowDef& def,
                                       shell::ShellHost& host) {
  auto* window = new AutoStartWindow(parent, def, host);
  host.AddRepeatSource(window);
  return window;
}

void AutoStartWindow::Paint(platform::Canvas& canvas) {
  PaintAutoStart(canvas, wizard_);
}

}  // namespace orvandry::setup
