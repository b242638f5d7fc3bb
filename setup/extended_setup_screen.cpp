#include "setup/extended_setup_screen.h"

#include "platform/picture_button.h"
#include "setup/setup_select.h"
#include "shell/subsystem.h"
#include "shell/view_context.h"

namespace orvandry::setup {

ExtendedSetupScreen::ExtendedSetupScreen(QWidget* parent, const shell::WindowDef& def,
                                         const ExitButtonDef& exit, std::function<void()> on_exit,
                                         shell::ShellHost& host, ExtendedSetup::Now now)
    : SelectionScreen(parent, def, exit, std::move(on_exit)),
      host_(host),
      setup_(host.Context().shared, host.Context().prompter, std::move(now)) {
  const platform::Rect client = ClientRect();
  for (const ExtendedButtonDef& b : kExtendedButtons) {
    auto* button = new platform::PictureButton(
        this, b.window_text, b.id,
        {client.x + b.x, client.y + b.y, kSetupButtonWidth, kSetupButtonHeight}, b.normal_face,
        b.pressed_face);
    connect(button, &QAbstractButton::clicked, this, [this, id = b.id] { OnPress(id); });
  }
  SyncButtons();
}

platform::PictureButton* ExtendedSetupScreen::Button(int id) const {
  for (auto* button : findChildren<platform::PictureButton*>())
    if (button->CommandId() == id) return button;
  return nullptr;
}

void ExtendedSetupScreen::SyncButtons() {
  for (const ExtendedButtonDef& def : kExtendedButtons) {
    platform::PictureButton* button = Button(def.id);
    if (button == nullptr) continue;
    const bool show = setup_.Visible(def.id);
    if (button->isVisibleTo(this) != show) button->setVisible(show);
  }
}

void ExtendedSetupScreen::OnFrames() {
  if (setup_.FollowDryerUnits()) RepaintAll();
}

void ExtendedSetupScreen::paintEvent(QPaintEvent* event) {
  SyncButtons();
  SelectionScreen::paintEvent(event);
}

void ExtendedSetupScreen::showEvent(QShowEvent* event) {
  SyncButtons();
  SelectionScreen::showEvent(event);
}

void ExtendedSetupScreen::RepaintAll() {
  // Every window that shows a temperature converts from its next paint.
  for (int w = 0; w < static_cast<int>(shell::Win::kCount); ++w)
    host_.Repaint(static_cast<shell::Win>(w));
}

void ExtendedSetupScreen::OnPress(int id) {
  const ExtendedPress press = setup_.Press(id);
  switch (press.action) {
    case ExtendedPress::Action::kOpenDialog:
      host_.OpenDialog({.template_id = press.template_id, .parent = this});
      return;
    case ExtendedPress::Action::kSent:
      if (id == extended_id::kTempScale) RepaintAll();
      return;
    case ExtendedPress::Action::kNothing:
    case ExtendedPress::Action::kNotConnected:
      return;
  }
}

}  // namespace orvandry::setup
