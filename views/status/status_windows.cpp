#include "views/status/status_windows.h"

#include <QPainter>
#include <algorithm>

#include "platform/control_id.h"
#include "platform/qt_canvas.h"
#include "platform/qt_conversions.h"
#include "platform/window_frame.h"
#include "views/status/plenum_panel.h"
#include "views/status/status_bars.h"
#include "views/status/unload_status.h"

namespace orvandry::views {

namespace {

platform::Rect RectOf(const shell::WindowDef& def) {
  return platform::Rect{def.x, def.y, def.width, def.height};
}

}  // namespace

unsigned StatusViewFrame(const shell::WindowDef& def) {
  return def.frame == shell::Frame::kTitleBar ? platform::kCaptionBar | platform::kSunkenEdge
                                              : platform::kSunkenEdge;
}

StatusView::StatusView(QWidget* parent, const shell::WindowDef& def, ViewContext& ctx)
    : platform::ChildWindow(parent, def.class_name, def.caption, RectOf(def), StatusViewFrame(def),
                            platform::Bgr(def.background_bgr)),
      ctx_(ctx) {
  // The ticks and the intake ask often; most of the time nothing they show has changed.
  DrawOnlyChanges();
}

RightStatusBarWindow::RightStatusBarWindow(QWidget* parent, const shell::WindowDef& def,
                                           ViewContext& ctx)
    : StatusView(parent, def, ctx) {}

void RightStatusBarWindow::Paint(platform::Canvas& canvas) {
  PaintRightStatusBar(canvas, ctx_.shared.dryer_state, ctx_.BlinkOn(), ctx_.SiUnits());
}

std::vector<std::uint8_t> RightStatusBarWindow::DrawingInputs() const {
  // The bar draws its one line and nothing else; the poll tick refreshes it three times a second,
  // and the line mostly stays.
  const StatusLine line = RightStatusLine(ctx_.shared.dryer_state, ctx_.BlinkOn(), ctx_.SiUnits());
  std::vector<std::uint8_t> inputs(line.text.begin(), line.text.end());
  const auto add = [&inputs](auto value) {
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(&value);
    inputs.insert(inputs.end(), bytes, bytes + sizeof value);
  };
  add(line.colour.r);
  add(line.colour.g);
  add(line.colour.b);
  add(line.font.height);
  add(line.font.weight);
  add(line.flags);
  return inputs;
}

LeftStatusBarWindow::LeftStatusBarWindow(QWidget* parent, const shell::WindowDef& def,
                                         ViewContext& ctx)
    : StatusView(parent, def, ctx) {}

void LeftStatusBarWindow::Paint(platform::Canvas& canvas) {
  PaintLeftStatusBar(canvas, ctx_.shared.dryer_state, ctx_.BlinkOn(), ctx_.clock.Now());
}

PlenumPanelWindow::PlenumPanelWindow(QWidget* parent, const shell::WindowDef& def, ViewContext& ctx)
    : StatusView(parent, def, ctx) {}

void PlenumPanelWindow::Paint(platform::Canvas& canvas) {
  PaintPlenumPanel(canvas, ctx_.shared.dryer_state, ctx_.SiUnits());
}

OwnerDrawnButton::OwnerDrawnButton(QWidget* parent, const char* window_text, int command_id,
                                   platform::Rect rect, DrawFace draw)
    : QAbstractButton(parent), command_id_(command_id), draw_(std::move(draw)) {
  setObjectName(QString::fromLatin1(window_text));
  setText(objectName());
  platform::SetControlId(*this, command_id);
  setGeometry(platform::ToQRect(rect));
  setFocusPolicy(Qt::NoFocus);
  // The face covers every pixel of the button.
  setAttribute(Qt::WA_OpaquePaintEvent);
}

QImage OwnerDrawnButton::Render() const {
  QImage image(size(), QImage::Format_RGB32);
  image.fill(Qt::black);
  {
    platform::QtCanvas canvas(image);
    if (draw_) draw_(canvas);
  }
  return image;
}

void OwnerDrawnButton::paintEvent(QPaintEvent*) {
  const QImage face = Render();
  QPainter painter(this);
  painter.drawImage(0, 0, face);
}

UnloadStatusWindow::UnloadStatusWindow(QWidget* parent, const shell::WindowDef& def,
                                       ViewContext& ctx)
    : StatusView(parent, def, ctx) {
  // The buttons sit in the client area; where their rectangles run past it (both reach the
  // window's right edge) they are cut at the sunken edge rather than drawn over it.
  const platform::Rect client = ClientRect();
  auto place = [&client](platform::Rect r) {
    return platform::Rect{client.x + r.x, client.y + r.y, std::min(r.w, client.w - r.x),
                          std::min(r.h, client.h - r.y)};
  };
  const link::ByteImage& state = ctx_.shared.dryer_state;
  bushel_button_ =
      new OwnerDrawnButton(this, kBushelButtonText, kBushelButtonId, place(kBushelButtonRect),
                           [&state](platform::Canvas& c) { DrawBushelButton(c, state); });
  metering_button_ = new OwnerDrawnButton(
      this, kMeteringRollButtonText, kMeteringRollButtonId, place(kMeteringRollButtonRect),
      [&state](platform::Canvas& c) { DrawMeteringRollButton(c, state); });
  for (OwnerDrawnButton* button : {bushel_button_, metering_button_})
    connect(button, &QAbstractButton::clicked, this,
            [this, id = button->CommandId()] { OnCommand(id); });
}

void UnloadStatusWindow::Paint(platform::Canvas& canvas) {
  PaintUnloadStatus(canvas, ctx_.shared.dryer_state);
}

void UnloadStatusWindow::OnCommand(int id) {
  // The bushel figures are a button only to be drawn like one; pressing them does nothing.
  if (id == kMeteringRollButtonId && open_dialog_) open_dialog_(kMeteringSpeedDialog, this);
}

platform::ChildWindow* CreateStatusView(const shell::WindowDef& def, QWidget* parent,
                                        ViewContext& ctx) {
  switch (def.win) {
    case shell::Win::kRightStatusBar:
      return new RightStatusBarWindow(parent, def, ctx);
    case shell::Win::kLeftStatusBar:
      return new LeftStatusBarWindow(parent, def, ctx);
    case shell::Win::kPlenumPanel:
      return new PlenumPanelWindow(parent, def, ctx);
    case shell::Win::kUnloadStatus:
      return new UnloadStatusWindow(parent, def, ctx);
    default:
      return nullptr;
  }
}

}  // namespace orvandry::views
