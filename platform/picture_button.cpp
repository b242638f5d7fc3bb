#include "platform/picture_button.h"

#include <QPainter>

#include "platform/control_id.h"
#include "platform/qt_conversions.h"
#include "resources/picture_library.h"

namespace orvandry::platform {

PictureButton::PictureButton(QWidget* parent, std::string_view window_text, int command_id,
                             Rect rect, int normal_face, int pressed_face)
    : QAbstractButton(parent),
      command_id_(command_id),
      normal_face_(normal_face),
      pressed_face_(pressed_face) {
  setObjectName(ToQString(window_text));
  setText(ToQString(window_text));
  SetControlId(*this, command_id);
  setGeometry(ToQRect(rect));
  setFixedSize(rect.w, rect.h);
  // The faces have rounded corners: what lies behind shows through them.
  setFocusPolicy(Qt::NoFocus);
}

void PictureButton::SetFaces(int normal_face, int pressed_face) {
  if (normal_face == normal_face_ && pressed_face == pressed_face_) return;
  normal_face_ = normal_face;
  pressed_face_ = pressed_face;
  update();
}

void PictureButton::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.drawImage(0, 0, resources::SharedPictures().Image(CurrentFace(), size()));
}

}  // namespace orvandry::platform
