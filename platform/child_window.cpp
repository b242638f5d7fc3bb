#include "platform/child_window.h"

#include <QPainter>

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

void ChildWindow::paintEvent(QPaintEvent*) {
  const QImage image = Render();
  QPainter painter(this);
  painter.drawImage(0, 0, image);
}

}  // namespace orvandry::platform
