#pragma once

#include <QImage>
#include <QString>
#include <QWidget>
#include <string_view>

#include "platform/canvas.h"
#include "platform/window_frame.h"

namespace orvandry::platform {

// A window of the display at a fixed rectangle in its parent. Its objectName is its class name
// (e.g. "DRYER_PIC_WINDOW") so tests and the shell can find it by name.
//
// Painting never flickers: the frame, the background and the subclass's Paint() are drawn into an
// off-screen image which is copied to the screen in one step, and Qt never erases the window first.
class ChildWindow : public QWidget {
  Q_OBJECT

 public:
  ChildWindow(QWidget* parent, std::string_view class_name, std::string_view caption, Rect rect,
              unsigned frame, Colour background);

  QString Caption() const { return caption_; }
  unsigned Frame() const { return frame_; }
  Colour Background() const { return background_; }
  // The area left inside the frame, in window coordinates; Paint() draws with (0, 0) at its
  // top-left corner.
  Rect ClientRect() const;
  // A point of the window (e.g. a touch) in client coordinates.
  Point ToClient(QPoint window_point) const;

  // What the window shows, drawn off-screen: used for painting and for screenshots in tests.
  QImage Render();

 protected:
  // Draws the client area, already filled with the background colour. The default draws nothing
  // more, which is all a window without contents needs.
  virtual void Paint(Canvas& canvas);

  void paintEvent(QPaintEvent* event) override;

 private:
  QString caption_;
  unsigned frame_;
  Colour background_;
};

}  // namespace orvandry::platform
