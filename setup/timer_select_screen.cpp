#include "setup/timer_select_screen.h"

#include "platform/picture_button.h"
#include "setup/timer_entry_dialog.h"
#include "shell/view_context.h"

namespace orvandry::setup {

TimerPanelWindow::TimerPanelWindow(QWidget* parent, const TimerPanelDef& def,
                                   const link::LinkShared& shared)
    : ChildWindow(parent, def.class_name, def.caption,
                  {def.x, def.y, kTimerPanelWidth, kTimerPanelHeight}, platform::kCaptionBar,
                  kTimerPanelBackground),
      panel_(def.panel),
      shared_(shared) {}

void TimerPanelWindow::Paint(platform::Canvas& canvas) {
  PaintTimerPanel(canvas, panel_, shared_);
}

TimerSelectScreen::TimerSelectScreen(QWidget* parent, const shell::WindowDef& def,
                                     const ExitButtonDef& exit, std::function<void()> on_exit,
                                     shell::ViewContext& context)
    : SelectionScreen(parent, def, exit, std::move(on_exit)), context_(context) {
  const platform::Rect client = ClientRect();
  for (const TimerPanelDef& p : kTimerPanels) {
    TimerPanelDef placed = p;
    placed.x += client.x;
    placed.y += client.y;
    panels_[static_cast<std::size_t>(p.panel)] = new TimerPanelWindow(this, placed, context.shared);
  }
  for (const TimerButtonDef& b : kTimerButtons) {
    TimerPanelWindow* panel = Panel(b.panel);
    const platform::Rect inside = panel->ClientRect();
    auto* button = new platform::PictureButton(
        panel, b.window_text, b.id,
        {inside.x + b.x, inside.y + b.y, kTimerButtonWidth, kTimerButtonHeight}, b.normal_face,
        b.pressed_face);
    connect(button, &QAbstractButton::clicked, this, [this, &b] { OpenTimer(b); });
  }
}

platform::PictureButton* TimerSelectScreen::TimerButton(int id) const {
  for (auto* button : findChildren<platform::PictureButton*>())
    if (button->CommandId() == id) return button;
  return nullptr;
}

void TimerSelectScreen::OpenTimer(const TimerButtonDef& def) {
  TimerEntry entry = OpenTimerEntry(context_.shared, def);
  RunTimerEntryDialog(this, entry, context_.shared, context_.prompter);
}

}  // namespace orvandry::setup
