#pragma once

#include <QAbstractButton>
#include <string_view>

#include "platform/geometry.h"

namespace orvandry::platform {

// A push button drawn from two pictures: the normal face, and the pressed face while it is held
// down. Each face is copied 1:1 into the button; the label is part of the picture. Its objectName
// is the button's window text (e.g. "TIMERS") and it carries its command id (control_id.h).
class PictureButton : public QAbstractButton {
  Q_OBJECT

 public:
  PictureButton(QWidget* parent, std::string_view window_text, int command_id, Rect rect,
                int normal_face, int pressed_face);

  int CommandId() const { return command_id_; }
  int NormalFace() const { return normal_face_; }
  int PressedFace() const { return pressed_face_; }
  // The face drawn now.
  int CurrentFace() const { return isDown() ? pressed_face_ : normal_face_; }
  // Swaps the pictures, e.g. to one greyed face for both states while the button is locked out.
  void SetFaces(int normal_face, int pressed_face);

  QSize sizeHint() const override { return size(); }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  int command_id_;
  int normal_face_;
  int pressed_face_;
};

}  // namespace orvandry::platform
