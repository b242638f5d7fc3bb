#include "setup/setup_select_screen.h"

#include "platform/picture_button.h"
#include "setup/auto_start.h"
#include "shell/subsystem.h"
#include "shell/view_context.h"

namespace orvandry::setup {

SetupSelectScreen::SetupSelectScreen(QWidget* parent, const shell::WindowDef& def,
                                     const ExitButtonDef& exit, std::function<void()> on_exit,
                                     shell::ShellHost& host)
    : SelectionScreen(parent, def, exit, std::move(on_exit)),
      host_(host),
      select_(host.Context().shared) {
  const platform::Rect client = ClientRect();
  for (const SetupButtonDef& b : kSetupButtons) {
    auto* button = new platform::PictureButton(
        this, b.window_text, b.id,
        {client.x + b.x, client.y + b.y, kSetupButtonWidth, kSetupButtonHeight}, b.normal_face,
        b.pressed_face);
    connect(button, &QAbstractButton::clicked, this, [this, id = b.id] { OnPress(id); });
  }
  SyncButtons();
}

platform::PictureButton* SetupSelectScreen::Button(int id) const {
  for (auto* button : findChildren<platform::PictureButton*>())
    if (button->CommandId() == id) return button;
  return nullptr;
}

void SetupSelectScreen::SyncButtons() {
  for (const SetupButtonDef& def : kSetupButtons) {
    platform::PictureButton* button = Button(def.id);
    if (button == nullptr) continue;
    const bool show = select_.Visible(def.id);
    if (button->isVisibleTo(this) != show) button->setVisible(show);
  }
  if (platform::PictureButton* burner = Button(setup_select_id::kBurnerMode)) {
    const SetupButtonDef& def = *FindSetupButton(setup_select_id::kBurnerMode);
    const bool greyed = select_.OnePlenum();
    burner->SetFaces(greyed ? kBurnerModeGreyedFace : def.normal_face,
                     greyed ? kBurnerModeGreyedFace : def.pressed_face);
  }
}

void SetupSelectScreen::paintEvent(QPaintEvent* event) {
  SyncButtons();
  SelectionScreen::paintEvent(event);
}

void SetupSelectScreen::showEvent(QShowEvent* event) {
  SyncButtons();
  SelectionScreen::showEvent(event);
}

void SetupSelectScreen::OnPress(int id) {
  if (id == setup_select_id::kAutoStart) {
    // The wizard takes the board's place (unless the operator only disarms automatic start-up).
    if (!AutoStartOpens(host_.Context().shared, host_.Context().prompter)) return;
    host_.SetVisible(shell::Win::kSetupSelect, false);
    host_.SetVisible(shell::Win::kAutoStart, true);
    return;
  }
  const SetupPress press = select_.Press(id);
  switch (press.action) {
    case SetupPress::Action::kNothing:
      return;
    case SetupPress::Action::kOpenDialog:
      host_.OpenDialog({.template_id = press.template_id, .parent = this});
      return;
    case SetupPress::Action::kShowExtended:
      host_.SetVisible(shell::Win::kSetupSelect, false);
      host_.SetVisible(shell::Win::kExtendedSetupSelect, true);
      return;
  }
}

}  // namespace orvandry::setup
