#include "platform/child_window.h"

#include <QPaintEvent>
#include <QPainter>

#include "platform/drawn_changes.h"
#include "platform/qt_canvas.h"
#include "platform/qt_conversions.h"

namespace orvandry::platform {

ChildWindow::ChildWindow(QWidget* parent, std::string_view class_name, std::string_view caption,
                         Rect rect, unsigned frame, Colour background)
    : QWidget(parent), caption_(ToQString(caption)), frame_(frame), background_(background) {
  setObjectName(ToQString(class_name));
  setWindowTitle(caption_);
  setGeometry(ToQRect(rect));
  setFixedSize(rect.w, rect.h);
  // Every pixel is drawn by Render(); an erase first would only flash.
  setAttribute(Qt::WA_OpaquePaintEvent);
  setAttribute(Qt::WA_NoSystemBackground);
  setAutoFillBackground(false);
}

ChildWindow::~ChildWindow() = default;

Rect ChildWindow::ClientRect() const {
  return ClientRectFor(Size{width(), height()}, frame_);
}

Point ChildWindow::ToClient(QPoint window_point) const {
  const Rect client = ClientRect();
  return Point{window_point.x() - client.x, window_point.y() - client.y};
}

QImage ChildWindow::Render() {
  return RenderFramedWindow(Size{width(), height()}, frame_, caption_, background_,
                            [this](Canvas& canvas) { Paint(canvas); });
}

void ChildWindow::Paint(Canvas&) {}

bool ChildWindow::Refresh() {
  if (!only_changes_ || !drawn_ || image_.isNull()) {
    update();
    return true;
  }
  std::vector<std::uint8_t> inputs = DrawingInputs();
  if (!inputs.empty() && inputs == drawn_from_) return false;
  std::vector<DrawCall> now = Record();
  const Rect client = ClientRect();
  const QRegion changed = ChangedArea(*drawn_, now, client.GetSize());
  drawn_from_ = std::move(inputs);
  if (changed.isEmpty()) return false;
  drawn_ = std::move(now);
  // The kept picture follows the new drawing at once, and is copied to the screen at once: the
  // drawing just recorded is still the window's own, so the paint need not record it again.
  const QRegion in_window = changed.translated(client.x, client.y);
  DrawKept(in_window, false);
  painting_fresh_ = true;
  repaint(in_window);
  painting_fresh_ = false;
  return true;
}

std::vector<DrawCall> ChildWindow::Record() {
  RecordingCanvas recording(ClientRect().GetSize(), QtTextSize);
  Paint(recording);
  return recording.Calls();
}

void ChildWindow::DrawKept(const QRegion& region, bool whole) {
  if (whole || image_.isNull()) {
    kept_canvas_.reset();
    image_ = RenderFramedWindow(Size{width(), height()}, frame_, caption_, background_,
                                [this](Canvas& canvas) { Replay(*drawn_, canvas); });
    return;
  }
  const Rect client = ClientRect();
  // A drawing that starts by filling the whole window (the fill is opaque) needs no background
  // under it.
  const FillRectCall* first =
      drawn_->empty() ? nullptr : std::get_if<FillRectCall>(&drawn_->front());
  const bool covers =
      first != nullptr && ToQRect(first->rect).contains(QRect(0, 0, client.w, client.h));
  if (!kept_canvas_ || kept_canvas_area_ != client) {
    kept_canvas_.reset();
    kept_canvas_ = std::make_unique<QtCanvas>(image_, client);
    kept_canvas_area_ = client;
  }
  // Every call replayed sets the state it draws with, so what the last redraw left does not matter.
  QtCanvas& canvas = *kept_canvas_;
  // One rectangle at a time, so everything is drawn under a plain rectangular clip as in a whole
  // paint.
  for (const QRect& box : region.translated(-client.x, -client.y)) {
    canvas.LimitTo(box);
    if (!covers) canvas.FillRect(FromQRect(box), background_);
    Replay(*drawn_, canvas, QRegion(box));
  }
}

void ChildWindow::paintEvent(QPaintEvent* event) {
  if (!only_changes_) {
    const QImage image = Render();
    QPainter painter(this);
    painter.drawImage(0, 0, image);
    return;
  }
  // A paint asked for by anything but Refresh() (an update() of the window's own, an expose)
  // still shows what Paint() draws now.
  if (!painting_fresh_) CatchUp(event->region());
  // Only the asked-for rectangles are copied: a copy of the whole image under a clip makes Qt
  // split the work over its thread pool, however little of it the clip lets through.
  QPainter painter(this);
  for (const QRect& box : event->region()) {
    for (int y = box.top(); y <= box.bottom(); y += 64) {
      const QRect strip(box.left(), y, box.width(), std::min(64, box.bottom() + 1 - y));
      painter.drawImage(strip.topLeft(), image_, strip);
    }
  }
}

void ChildWindow::CatchUp(const QRegion& painting) {
  drawn_from_ = DrawingInputs();
  std::vector<DrawCall> now = Record();
  QRegion changed = QRegion(rect());
  if (drawn_ && !image_.isNull()) {
    const Rect client = ClientRect();
    changed = ChangedArea(*drawn_, now, client.GetSize()).translated(client.x, client.y);
  }
  if (changed.isEmpty()) return;
  const bool whole = !drawn_ || image_.isNull();
  drawn_ = std::move(now);
  DrawKept(changed, whole);
  // What changed outside the area being painted must reach the screen too.
  if (const QRegion rest = changed - painting; !rest.isEmpty()) update(rest);
}

void ChildWindow::hideEvent(QHideEvent* event) {
  // Whatever changes while the window is hidden is drawn afresh when it shows again.
  drawn_.reset();
  drawn_from_.clear();
  QWidget::hideEvent(event);
}

}  // namespace orvandry::platform
