#include "graphs/touch_scroll_bar.h"

#include <QMouseEvent>
#include <QPainter>
#include <algorithm>

#include "platform/control_id.h"
#include "platform/qt_canvas.h"
#include "platform/qt_conversions.h"

namespace orvandry::graphs {

namespace {

using platform::Colour;
using platform::Rect;
using platform::Rgb;

constexpr Colour kTrack = Rgb(120, 128, 136);
constexpr Colour kKey = Rgb(214, 220, 226);
constexpr Colour kKeyEdge = Rgb(43, 58, 72);
constexpr Colour kInk = Rgb(29, 43, 56);

// A filled triangle pointing back (left or up) or forward, drawn as lines in a square.
void Arrow(platform::Canvas& canvas, Rect box, bool horizontal, bool forward) {
  const int half = box.w / 5;
  const int cx = box.x + box.w / 2;
  const int cy = box.y + box.h / 2;
  for (int i = 0; i <= half; ++i) {
    // i counts from the tip towards the base.
    const int along = forward ? half / 2 - i : -half / 2 + i;
    if (horizontal)
      canvas.Line({cx + along, cy - i}, {cx + along, cy + i}, kInk);
    else
      canvas.Line({cx - i, cy + along}, {cx + i, cy + along}, kInk);
  }
}

void Key(platform::Canvas& canvas, Rect box) {
  canvas.FillRect(box, kKey);
  canvas.RectOutline(box, kKeyEdge);
}

}  // namespace

TouchScrollBar::TouchScrollBar(QWidget* parent, Qt::Orientation orientation, int id, Rect rect)
    : QWidget(parent), orientation_(orientation) {
  platform::SetControlId(*this, id);
  setGeometry(platform::ToQRect(rect));
  setAttribute(Qt::WA_OpaquePaintEvent);
}

void TouchScrollBar::SetRange(int maximum, int page) {
  maximum = std::max(maximum, 0);
  page = std::max(page, 1);
  if (maximum == maximum_ && page == page_) return;
  maximum_ = maximum;
  page_ = page;
  position_ = std::clamp(position_, 0, maximum_);
  update();
}

void TouchScrollBar::SetPosition(int position) {
  position = std::clamp(position, 0, maximum_);
  if (position == position_) return;
  position_ = position;
  update();
}

int TouchScrollBar::ThumbLength() const {
  const int track = std::max(TrackLength(), 0);
  const int proportional = track * page_ / std::max(maximum_ + page_, 1);
  return std::min(std::max(proportional, kMinThumb), track);
}

int TouchScrollBar::ThumbStart() const {
  const int room = std::max(TrackLength() - ThumbLength(), 0);
  return TrackStart() + (maximum_ == 0 ? 0 : room * position_ / maximum_);
}

Rect TouchScrollBar::ThumbRect() const {
  return Horizontal() ? Rect{ThumbStart(), 0, ThumbLength(), height()}
                      : Rect{0, ThumbStart(), width(), ThumbLength()};
}

TouchScrollBar::Zone TouchScrollBar::ZoneAt(platform::Point point) const {
  const int along = Along(point);
  if (along < TrackStart()) return Zone::kBackArrow;
  if (along >= TrackStart() + TrackLength()) return Zone::kForwardArrow;
  if (along < ThumbStart()) return Zone::kTrackBack;
  if (along >= ThumbStart() + ThumbLength()) return Zone::kTrackForward;
  return Zone::kThumb;
}

void TouchScrollBar::Touch(platform::Point point) {
  Step step;
  switch (ZoneAt(point)) {
    case Zone::kBackArrow:
      step = Step::kLineBack;
      break;
    case Zone::kForwardArrow:
      step = Step::kLineForward;
      break;
    case Zone::kTrackBack:
      step = Step::kPageBack;
      break;
    case Zone::kTrackForward:
      step = Step::kPageForward;
      break;
    case Zone::kThumb:
    default:
      drag_grab_ = Along(point) - ThumbStart();
      return;
  }
  if (on_step_) on_step_(step);
}

void TouchScrollBar::Paint(platform::Canvas& canvas) const {
  const int t = Thickness();
  canvas.FillRect(Rect{0, 0, width(), height()}, kTrack);
  const Rect back{0, 0, t, t};
  const Rect forward = Horizontal() ? Rect{width() - t, 0, t, t} : Rect{0, height() - t, t, t};
  Key(canvas, back);
  Key(canvas, forward);
  Arrow(canvas, back, Horizontal(), false);
  Arrow(canvas, forward, Horizontal(), true);
  if (maximum_ > 0) {
    const Rect thumb = ThumbRect();
    Key(canvas, thumb);
    // Three grip lines across the middle of the thumb.
    for (int i = -1; i <= 1; ++i) {
      if (Horizontal()) {
        const int x = thumb.x + thumb.w / 2 + 4 * i;
        canvas.Line({x, thumb.y + 12}, {x, thumb.Bottom() - 13}, kInk);
      } else {
        const int y = thumb.y + thumb.h / 2 + 4 * i;
        canvas.Line({thumb.x + 12, y}, {thumb.Right() - 13, y}, kInk);
      }
    }
  }
}

void TouchScrollBar::paintEvent(QPaintEvent*) {
  QImage image(size(), QImage::Format_RGB32);
  {
    platform::QtCanvas canvas(image);
    Paint(canvas);
  }
  QPainter painter(this);
  painter.drawImage(0, 0, image);
}

void TouchScrollBar::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return;
  Touch(platform::Point{event->position().toPoint().x(), event->position().toPoint().y()});
}

void TouchScrollBar::mouseMoveEvent(QMouseEvent* event) {
  if (drag_grab_ < 0 || maximum_ == 0) return;
  const QPoint p = event->position().toPoint();
  const int room = std::max(TrackLength() - ThumbLength(), 1);
  const int start = Along(platform::Point{p.x(), p.y()}) - drag_grab_ - TrackStart();
  const int position = std::clamp((start * maximum_ + room / 2) / room, 0, maximum_);
  if (position != position_ && on_thumb_) on_thumb_(position);
}

void TouchScrollBar::mouseReleaseEvent(QMouseEvent*) {
  drag_grab_ = -1;
}

}  // namespace orvandry::graphs
