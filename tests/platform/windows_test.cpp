#include <gtest/gtest.h>

#include <QPushButton>

#include "platform/child_window.h"
#include "platform/control_id.h"
#include "platform/dialog.h"
#include "platform/picture_button.h"
#include "resources/picture_library.h"

namespace orvandry::platform {
namespace {

// A window that draws one marker at the client origin, to see where the client area lands.
class MarkerWindow : public ChildWindow {
 public:
  using ChildWindow::ChildWindow;

 protected:
  void Paint(Canvas& canvas) override { canvas.FillRect(Rect{0, 0, 3, 3}, Bgr(0x0000FF)); }
};

TEST(ChildWindow, SitsAtItsRectangleAndPaintsFrameBackgroundAndContents) {
  QWidget main;
  main.resize(640, 480);
  MarkerWindow window(&main, "VIEW_SELECTION_WINDOW", "  VIEW SELECTION WINDOW - 04",
                      Rect{100, 50, 450, 275}, kCaptionBar | kSunkenEdge, Bgr(0xFFFFFF));
  EXPECT_EQ(main.findChild<ChildWindow*>("VIEW_SELECTION_WINDOW"), &window);
  EXPECT_EQ(window.geometry(), QRect(100, 50, 450, 275));
  EXPECT_TRUE(window.testAttribute(Qt::WA_OpaquePaintEvent)) << "no erase before painting";

  const QImage image = window.Render();
  ASSERT_EQ(image.size(), QSize(450, 275));
  const QColor navy(0, 0, 0x80);
  EXPECT_EQ(image.pixelColor(445, kCaptionBarHeight - 1), navy) << "caption bar";
  int caption_text = 0;
  for (int x = 0; x < 200; ++x) caption_text += image.pixelColor(x, 10) != navy;
  EXPECT_GT(caption_text, 0) << "caption text drawn on the bar";
  const Rect client = window.ClientRect();
  EXPECT_EQ(image.pixelColor(client.x, client.y), QColor(255, 0, 0)) << "Paint at client origin";
  EXPECT_EQ(image.pixelColor(client.x + 3, client.y), QColor(Qt::white)) << "background";
  EXPECT_NE(image.pixelColor(0, client.y + 10), QColor(Qt::white)) << "sunken edge";
  EXPECT_EQ(window.ToClient(QPoint(client.x + 7, client.y + 9)), (Point{7, 9}));

  // Each frame element takes its own width off the client area.
  ChildWindow edged(nullptr, "B_WINDOW", "", Rect{0, 0, 240, 40}, kSunkenEdge, Bgr(0));
  EXPECT_EQ(edged.ClientRect(), (Rect{2, 2, 236, 36}));
  const int full = kDialogFrame | kCaptionBar | kSunkenEdge;
  ChildWindow framed(nullptr, "D_WINDOW", "", Rect{0, 0, 640, 475}, full, Bgr(0));
  EXPECT_EQ(framed.ClientRect(), (Rect{5, 25, 630, 445}));
  EXPECT_EQ(WindowSizeFor(Size{630, 445}, full), (Size{640, 475}));
}

TEST(PictureButton, IsFoundByIdAndShowsThePressedFaceWhileDown) {
  QWidget bar;
  PictureButton button(&bar, "TIMERS", 34817, Rect{20, 427, 105, 40}, 111, 110);
  EXPECT_EQ(FindControl(bar, 34817), &button);
  EXPECT_EQ(button.geometry(), QRect(20, 427, 105, 40));

  const QImage up = button.grab().toImage();
  button.setDown(true);
  EXPECT_EQ(button.CurrentFace(), 110);
  const QImage down = button.grab().toImage();
  EXPECT_NE(up, down);

  button.SetFaces(320, 320);  // locked out: greyed whether pressed or not
  EXPECT_EQ(button.CurrentFace(), 320);
  const QImage greyed = button.grab().toImage();
  // The face is copied 1:1 (only its rounded corners let the parent show through).
  const QImage face = resources::SharedPictures().Image(320, QSize(105, 40));
  for (const QPoint p : {QPoint(10, 10), QPoint(52, 20), QPoint(100, 35), QPoint(30, 25)}) {
    EXPECT_EQ(greyed.pixelColor(p), face.pixelColor(p)) << p.x() << "," << p.y();
  }
}

TEST(Dialog, PlacesControlsByIdAndOpensCentredOverItsParentInsideThePanel) {
  QWidget main;
  main.setGeometry(0, 0, 640, 480);
  main.show();
  Dialog centred(&main, 179, "Defaults", Size{300, 200});
  EXPECT_EQ(centred.objectName(), "DIALOG_179");
  ASSERT_EQ(centred.size(),
            QSize(300 + 2 * kDialogFrameWidth, 200 + 2 * kDialogFrameWidth + kCaptionBarHeight));
  auto* accept = centred.Place(new QPushButton("ACCEPT"), 1171, Rect{10, 20, 100, 40});
  EXPECT_EQ(centred.ControlAs<QPushButton>(1171), accept);
  EXPECT_EQ(centred.Control(1172), nullptr);
  const Rect client = centred.ClientRect();
  EXPECT_EQ(accept->geometry(), QRect(client.x + 10, client.y + 20, 100, 40));
  EXPECT_EQ(centred.Render().pixelColor(client.x + 1, client.y + 1), QColor(0xC0, 0xC0, 0xC0));

  // A top-level parent is measured with its frame, as the panel measures windows; showing the
  // dialog centres it.
  const QRect outer = main.frameGeometry();
  centred.move(0, 0);
  centred.show();
  EXPECT_EQ(centred.pos(), QPoint(outer.x() + (outer.width() - centred.width()) / 2,
                                  outer.y() + (outer.height() - centred.height()) / 2));
  centred.hide();

  // Wider than a parent at the panel's left edge: clamped at zero, never negative.
  QWidget left(&main);
  left.setGeometry(0, 40, 240, 205);
  Dialog wide(&left, 225, "Moisture", Size{500, 100});
  wide.CentreOverParent();
  EXPECT_EQ(wide.pos().x(), 0);
  EXPECT_EQ(wide.pos().y(), main.geometry().y() + 40 + (205 - wide.height()) / 2);

  // Wider than a parent at the panel's right edge: kept inside the panel, not hanging off it.
  QWidget right(&main);
  right.setGeometry(400, 40, 240, 205);
  Dialog wide_right(&right, 225, "Moisture", Size{500, 100});
  wide_right.CentreOverParent();
  EXPECT_EQ(wide_right.pos().x() + wide_right.width(), outer.right() + 1);
}

}  // namespace
}  // namespace orvandry::platform
