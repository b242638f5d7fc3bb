#pragma once

#include <QDialog>
#include <QImage>
#include <string_view>

#include "platform/canvas.h"
#include "platform/window_frame.h"

namespace orvandry::platform {

// The skin of a modal dialog, known by its template number. The dialog draws its own dialog frame
// and caption bar (the panel has no window manager to do it), so it looks and measures the same on
// every platform. Subclasses place their controls with Place() under their ids, draw extra
// contents in Paint(), and keep their logic elsewhere.
//
// When shown it centres itself over its parent (never at a negative position).
class Dialog : public QDialog {
  Q_OBJECT

 public:
  static constexpr unsigned kFrame = kDialogFrame | kCaptionBar;

  // client_size is the area under the caption bar; the frame is added around it.
  Dialog(QWidget* parent, int template_number, std::string_view caption, Size client_size,
         Colour background = Bgr(0xC0C0C0));

  int TemplateNumber() const { return template_number_; }
  QString Caption() const { return caption_; }
  Colour Background() const { return background_; }
  Rect ClientRect() const;

  // The control placed under this id, or null.
  QWidget* Control(int id) const;
  template <class Widget>
  Widget* ControlAs(int id) const {
    return qobject_cast<Widget*>(Control(id));
  }

  // Makes `control` a child of this dialog at a rectangle of the client area, known by `id`.
  // Returns the control for chaining.
  template <class Widget>
  Widget* Place(Widget* control, int id, Rect client_rect) {
    PlaceWidget(control, id, client_rect);
    return control;
  }

  // Moves the dialog to the centre of its parent window (the screen's origin without one).
  void CentreOverParent();

  // What the dialog shows, drawn off-screen, controls excluded.
  QImage Render();

 protected:
  // Draws the client area, already filled with the background colour.
  virtual void Paint(Canvas& canvas);

  void paintEvent(QPaintEvent* event) override;
  void showEvent(QShowEvent* event) override;

 private:
  void PlaceWidget(QWidget* control, int id, Rect client_rect);

  int template_number_;
  QString caption_;
  Colour background_;
};

}  // namespace orvandry::platform
