#include "views/batch/batch_drying_window.h"

#include <QFont>

#include "platform/control_id.h"
#include "platform/window_frame.h"
#include "setup/timer_entry_dialog.h"

namespace orvandry::views {

namespace {

unsigned FrameFlags(shell::Frame frame) {
  return frame == shell::Frame::kTitleBar ? platform::kCaptionBar | platform::kSunkenEdge
                                          : platform::kSunkenEdge;
}

}  // namespace

BatchDryingWindow::BatchDryingWindow(QWidget* parent, const shell::WindowDef& def, ViewContext& ctx)
    : platform::ChildWindow(parent, def.class_name, def.caption,
                            platform::Rect{def.x, def.y, def.width, def.height},
                            FrameFlags(def.frame), platform::Bgr(def.background_bgr)),
      ctx_(ctx) {
  DrawOnlyChanges();
  AddButton(batch_id::kHiHeat, "HI HEAT", platform::Rect{7, 55, 110, 25}, false);
  AddButton(batch_id::kLoHeat, "LO HEAT", platform::Rect{7, 140, 110, 25}, false);
  AddButton(batch_id::kDry, "DRY", platform::Rect{5, 110, 110, 55}, false);
  AddButton(batch_id::kCool, "COOL", platform::Rect{138, 110, 110, 55}, true);
  AddButton(batch_id::kUnload, "UNLOAD", platform::Rect{273, 110, 110, 55}, true);
  open_dialog_ = [this](setup::TimerEntry& entry) {
    setup::RunTimerEntryDialog(this, entry, ctx_.shared, ctx_.prompter);
  };
}

QPushButton* BatchDryingWindow::AddButton(int id, const char* text, platform::Rect client_rect,
                                          bool shown) {
  auto* button = new QPushButton(QString::fromLatin1(text), this);
  button->setObjectName(QString::fromLatin1(text));
  button->setFocusPolicy(Qt::NoFocus);
  QFont font = button->font();
  font.setPixelSize(16);
  font.setBold(true);
  button->setFont(font);
  platform::SetControlId(*button, id);
  const platform::Rect client = ClientRect();
  button->setGeometry(client.x + client_rect.x, client.y + client_rect.y, client_rect.w,
                      client_rect.h);
  button->setVisible(shown);
  connect(button, &QPushButton::clicked, this, [this, id] { OnTimerButton(id); });
  return button;
}

QPushButton* BatchDryingWindow::Button(int id) const {
  return qobject_cast<QPushButton*>(platform::FindControl(*this, id));
}

void BatchDryingWindow::UpdateButtons() {
  const BatchButtonVisibility shown = BatchTimerButtons(ctx_.shared.dryer_state);
  // Only real changes: a paint calls this too, and a needless hide/show would ask for another.
  const auto apply = [this](int id, bool visible) {
    QPushButton* button = Button(id);
    if (button->isVisibleTo(this) != visible) button->setVisible(visible);
  };
  apply(batch_id::kHiHeat, shown.hi_heat);
  apply(batch_id::kLoHeat, shown.lo_heat);
  apply(batch_id::kDry, shown.dry);
  Button(batch_id::kDry)->setEnabled(true);
}

void BatchDryingWindow::HandleHeldButtons() {
  const auto held = [this](int id) {
    const QPushButton* button = Button(id);
    return button->isVisibleTo(this) && button->isDown();
  };
  BatchReloadHolds::Held now;
  now.dry = held(batch_id::kDry);
  now.hi_heat = held(batch_id::kHiHeat);
  now.lo_heat = held(batch_id::kLoHeat);
  now.cool = held(batch_id::kCool);
  now.unload = held(batch_id::kUnload);
  for (int id : holds_.Tick(now, ctx_.shared, ctx_.prompter)) {
    // The press that led to a question is used up: its release must not also open the timer
    // entry dialog, and a button the message box left looking pressed must not count as held.
    // A button that is no longer down when released sends no click.
    Button(id)->setDown(false);
  }
}

void BatchDryingWindow::OnTimerButton(int id) {
  std::optional<setup::TimerEntry> entry = OpenBatchTimerEntry(ctx_.shared, id);
  if (entry && open_dialog_) open_dialog_(*entry);
}

void BatchDryingWindow::Paint(platform::Canvas& canvas) {
  UpdateButtons();
  PaintBatchDrying(canvas, ctx_.shared.dryer_state);
}

}  // namespace orvandry::views
