#include "setup/temp_select_screen.h"

#include "platform/picture_button.h"
#include "shell/subsystem.h"
#include "shell/view_context.h"

namespace orvandry::setup {

namespace {

constexpr const char* kPlenumCaption =
    " Plenum Temperature Setpoint Adjustment (Range = 50 to 250 F -> 10 to 120 C)";
constexpr const char* kGrainCaption =
    " Grain Temperature Setpoint Adjustment (Range = 50 to 150 F -> 10 to 71 C)";

}  // namespace

TempPanelWindow::TempPanelWindow(QWidget* parent, TempPanel panel, platform::Rect rect,
                                 const TempSelect& select, const link::LinkShared& shared)
    : ChildWindow(parent,
                  panel == TempPanel::kPlenum ? "PLENUM_SETPOINT_CHILD_WINDOW"
                                              : "GRAIN_TEMP_SETPOINT_CHILD_WINDOW",
                  panel == TempPanel::kPlenum ? kPlenumCaption : kGrainCaption, rect,
                  platform::kCaptionBar, kTempPanelBackground),
      panel_(panel),
      select_(select),
      shared_(shared) {}

void TempPanelWindow::Paint(platform::Canvas& canvas) {
  PaintTempPanel(canvas, select_, panel_, shared_.si_units.load(std::memory_order_relaxed) != 0);
}

TempSelectScreen::TempSelectScreen(QWidget* parent, const shell::WindowDef& def,
                                   const ExitButtonDef& exit, std::function<void()> on_exit,
                                   shell::ShellHost& host)
    : SelectionScreen(parent, def, exit, std::move(on_exit)),
      host_(host),
      select_(host.Context().shared) {
  const platform::Rect client = ClientRect();
  const auto place = [&](platform::Rect r) {
    return platform::Rect{client.x + r.x, client.y + r.y, r.w, r.h};
  };
  plenum_ = new TempPanelWindow(this, TempPanel::kPlenum, place(kPlenumPanelRect), select_,
                                host.Context().shared);
  grain_ = new TempPanelWindow(this, TempPanel::kGrain, place(kGrainPanelRect), select_,
                               host.Context().shared);
  for (const TempButtonDef& def_button : kTempButtons) {
    TempPanelWindow* panel = Panel(def_button.panel);
    const platform::Rect inner = panel->ClientRect();
    auto* button =
        new platform::PictureButton(panel, def_button.window_text, def_button.id,
                                    {inner.x + def_button.rect.x, inner.y + def_button.rect.y,
                                     def_button.rect.w, def_button.rect.h},
                                    def_button.normal_face, def_button.pressed_face);
    connect(button, &QAbstractButton::clicked, this, [this, id = def_button.id] { Open(id); });
  }
  SyncButtons();
}

platform::PictureButton* TempSelectScreen::Button(int id) const {
  for (auto* button : findChildren<platform::PictureButton*>())
    if (button->CommandId() == id) return button;
  return nullptr;
}

void TempSelectScreen::SyncButtons() {
  select_.Refresh();
  for (const TempButtonDef& def : kTempButtons) {
    platform::PictureButton* button = Button(def.id);
    const bool show = select_.Visible(def.id);
    if (button != nullptr && button->isVisibleTo(button->parentWidget()) != show)
      button->setVisible(show);
  }
}

void TempSelectScreen::paintEvent(QPaintEvent* event) {
  // Every repaint follows the dryer's drying mode and fan count.
  SyncButtons();
  SelectionScreen::paintEvent(event);
}

void TempSelectScreen::showEvent(QShowEvent* event) {
  SyncButtons();
  SelectionScreen::showEvent(event);
}

void TempSelectScreen::Open(int id) {
  std::optional<shell::DialogRequest> request = select_.OpenRequest(id);
  if (!request) return;
  request->parent = this;
  host_.OpenDialog(*request);
}

}  // namespace orvandry::setup
