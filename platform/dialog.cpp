#include "platform/dialog.h"

#include <QPainter>
#include <algorithm>

#include "platform/control_id.h"
#include "platform/dialog_geometry.h"
#include "platform/qt_canvas.h"
#include "platform/qt_conversions.h"

namespace orvandry::platform {

namespace {

// The parent's rectangle in screen coordinates, the frame included for a top-level window.
Rect ParentScreenRect(const QWidget& parent) {
  if (parent.isWindow()) return FromQRect(parent.frameGeometry());
  return FromQRect(QRect(parent.mapToGlobal(QPoint(0, 0)), parent.size()));
}

}  // namespace

Dialog::Dialog(QWidget* parent, int template_number, std::string_view caption, Size client_size,
               Colour background)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint),
      template_number_(template_number),
      caption_(ToQString(caption)),
      background_(background) {
  setObjectName(QStringLiteral("DIALOG_%1").arg(template_number));
  setWindowTitle(caption_);
  setModal(true);
  const Size window = WindowSizeFor(client_size, kFrame);
  setFixedSize(window.w, window.h);
  setAttribute(Qt::WA_OpaquePaintEvent);
}

Rect Dialog::ClientRect() const {
  return ClientRectFor(Size{width(), height()}, kFrame);
}

QWidget* Dialog::Control(int id) const {
  return FindControl(*this, id);
}

void Dialog::PlaceWidget(QWidget* control, int id, Rect client_rect) {
  const Rect client = ClientRect();
  control->setParent(this);
  SetControlId(*control, id);
  control->setGeometry(client_rect.x + client.x, client_rect.y + client.y, client_rect.w,
                       client_rect.h);
  control->show();
}

void Dialog::CentreOverParent() {
  if (parentWidget() == nullptr) {
    move(0, 0);
    return;
  }
  const Point at = CentredOver(ParentScreenRect(*parentWidget()), Size{width(), height()});
  // Centred over a window near the panel's edge, a wide dialog would hang off the panel and hide
  // its buttons: keep it inside the top-level window, whose left/top edge wins when it is larger.
  const QWidget* top = parentWidget()->window();
  const QRect panel = top->frameGeometry();
  const int x = std::max(panel.left(), std::min(at.x, panel.right() + 1 - width()));
  const int y = std::max(panel.top(), std::min(at.y, panel.bottom() + 1 - height()));
  move(std::max(x, 0), std::max(y, 0));
}

QImage Dialog::Render() {
  return RenderFramedWindow(Size{width(), height()}, kFrame, caption_, background_,
                            [this](Canvas& canvas) { Paint(canvas); });
}

void Dialog::Paint(Canvas&) {}

void Dialog::paintEvent(QPaintEvent*) {
  const QImage image = Render();
  QPainter painter(this);
  painter.drawImage(0, 0, image);
}

void Dialog::showEvent(QShowEvent* event) {
  CentreOverParent();
  QDialog::showEvent(event);
}

}  // namespace orvandry::platform
