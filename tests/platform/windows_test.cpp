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
  int paints = 0;

 protected:
  void Paint(Canvas& canvas) override {
    ++paints;
    canvas.FillRect(Rect{0, 0, 3, 3}, Bgr(0x0000FF));
  }
};

TEST(ChildWindow, SitsAtItsRectangleNamedByItsClass) {
  QWidget main;
  main.resize(640, 480);
  ChildWindow window(&main, "CUSTOM_VIEW_WINDOW", " PLENUM(S)", Rect{240, 245, 400, 175},
                     kCaptionBar | kSunkenEdge, Bgr(0x000000));
  EXPECT_EQ(window.objectName(), "CUSTOM_VIEW_WINDOW");
  EXPECT_EQ(main.findChild<ChildWindow*>("CUSTOM_VIEW_WINDOW"), &window);
  EXPECT_EQ(window.geometry(), QRect(240, 245, 400, 175));
  EXPECT_EQ(window.Caption(), " PLENUM(S)");
  EXPECT_TRUE(window.testAttribute(Qt::WA_OpaquePaintEvent)) << "no erase before painting";
}

TEST(ChildWindow, FrameLeavesTheClientArea) {
  ChildWindow captioned(nullptr, "A_WINDOW", "", Rect{0, 0, 400, 205}, kCaptionBar | kSunkenEdge,
                        Bgr(0));
  EXPECT_EQ(captioned.ClientRect(),
            (Rect{kSunkenEdgeWidth, kCaptionBarHeight + kSunkenEdgeWidth,
                  400 - 2 * kSunkenEdgeWidth, 205 - kCaptionBarHeight - 2 * kSunkenEdgeWidth}));
  ChildWindow edged(nullptr, "B_WINDOW", "", Rect{0, 0, 240, 40}, kSunkenEdge, Bgr(0));
  EXPECT_EQ(edged.ClientRect(), (Rect{2, 2, 236, 36}));
  ChildWindow bare(nullptr, "C_WINDOW", "", Rect{0, 420, 640, 55}, kNoFrame, Bgr(0));
  EXPECT_EQ(bare.ClientRect(), (Rect{0, 0, 640, 55}));
  ChildWindow dialog_framed(nullptr, "D_WINDOW", "", Rect{0, 0, 640, 475},
                            kDialogFrame | kCaptionBar | kSunkenEdge, Bgr(0));
  EXPECT_EQ(dialog_framed.ClientRect(), (Rect{5, 25, 630, 445}));
  EXPECT_EQ(WindowSizeFor(Size{630, 445}, kDialogFrame | kCaptionBar | kSunkenEdge),
            (Size{640, 475}));
}

TEST(ChildWindow, PaintsCaptionBarBackgroundAndContentsInOneImage) {
  MarkerWindow window(nullptr, "VIEW_SELECTION_WINDOW", "  VIEW SELECTION WINDOW - 04",
                      Rect{100, 50, 450, 275}, kCaptionBar | kSunkenEdge, Bgr(0xFFFFFF));
  const QImage image = window.Render();
  ASSERT_EQ(image.size(), QSize(450, 275));
  EXPECT_EQ(window.paints, 1);
  const QColor navy(0, 0, 0x80);
  EXPECT_EQ(image.pixelColor(445, 2), navy) << "caption bar";
  EXPECT_EQ(image.pixelColor(445, kCaptionBarHeight - 1), navy);
  int caption_text = 0;
  for (int x = 0; x < 200; ++x) caption_text += image.pixelColor(x, 10) != navy;
  EXPECT_GT(caption_text, 0) << "caption text drawn on the bar";
  const Rect client = window.ClientRect();
  EXPECT_EQ(image.pixelColor(client.x, client.y), QColor(255, 0, 0)) << "Paint at client origin";
  EXPECT_EQ(image.pixelColor(client.x + 3, client.y), QColor(Qt::white)) << "background";
  EXPECT_NE(image.pixelColor(0, client.y + 10), QColor(Qt::white)) << "sunken edge";
  EXPECT_EQ(window.ToClient(QPoint(client.x + 7, client.y + 9)), (Point{7, 9}));
}

TEST(PictureButton, IsFoundByTextAndIdAndShowsThePressedFaceWhileDown) {
  QWidget bar;
  bar.resize(640, 480);
  PictureButton button(&bar, "TIMERS", 34817, Rect{20, 427, 105, 40}, 111, 110);
  EXPECT_EQ(bar.findChild<PictureButton*>("TIMERS"), &button);
  EXPECT_EQ(FindControl(bar, 34817), &button);
  EXPECT_EQ(ControlIdOf(button), 34817);
  EXPECT_EQ(button.geometry(), QRect(20, 427, 105, 40));

  const QImage up = button.grab().toImage();
  EXPECT_EQ(button.CurrentFace(), 111);
  button.setDown(true);
  EXPECT_EQ(button.CurrentFace(), 110);
  const QImage down = button.grab().toImage();
  EXPECT_NE(up, down);
  button.setDown(false);

  int clicks = 0;
  QObject::connect(&button, &QAbstractButton::clicked, [&clicks] { ++clicks; });
  button.click();
  EXPECT_EQ(clicks, 1);

  button.SetFaces(320, 320);  // locked out: greyed whether pressed or not
  button.setDown(true);
  EXPECT_EQ(button.CurrentFace(), 320);
  const QImage greyed = button.grab().toImage();
  EXPECT_NE(greyed, down);
  // The face is copied 1:1 (only its rounded corners let the parent show through).
  const QImage face = resources::SharedPictures().Image(320, QSize(105, 40));
  for (const QPoint p : {QPoint(10, 10), QPoint(52, 20), QPoint(100, 35), QPoint(30, 25)}) {
    EXPECT_EQ(greyed.pixelColor(p), face.pixelColor(p)) << p.x() << "," << p.y();
  }
}

TEST(Dialog, PlacesControlsByIdInTheClientArea) {
  Dialog dialog(nullptr, 101, "Modifying Temperature Setpoint - 22", Size{400, 200});
  EXPECT_EQ(dialog.objectName(), "DIALOG_101");
  EXPECT_EQ(dialog.TemplateNumber(), 101);
  EXPECT_EQ(dialog.size(),
            QSize(400 + 2 * kDialogFrameWidth, 200 + 2 * kDialogFrameWidth + kCaptionBarHeight));
  auto* accept = dialog.Place(new QPushButton("ACCEPT"), 1171, Rect{10, 20, 100, 40});
  EXPECT_EQ(dialog.Control(1171), accept);
  EXPECT_EQ(dialog.ControlAs<QPushButton>(1171), accept);
  EXPECT_EQ(dialog.Control(1172), nullptr);
  const Rect client = dialog.ClientRect();
  EXPECT_EQ(accept->geometry(), QRect(client.x + 10, client.y + 20, 100, 40));
  const QImage image = dialog.Render();
  EXPECT_EQ(image.pixelColor(client.x + 1, client.y + 1), QColor(0xC0, 0xC0, 0xC0));
}

TEST(Dialog, OpensCentredOverItsParentAndClampsAtZero) {
  QWidget main;
  main.setGeometry(0, 0, 640, 480);
  main.show();
  // A top-level parent is measured with its frame, as the panel measures windows.
  const QRect outer = main.frameGeometry();
  const QPoint expected(outer.x() + (outer.width() - 306) / 2,
                        outer.y() + (outer.height() - 226) / 2);
  Dialog centred(&main, 179, "Defaults", Size{300, 200});
  ASSERT_EQ(centred.size(), QSize(306, 226));
  centred.CentreOverParent();
  EXPECT_EQ(centred.pos(), expected);

  // A parent smaller than the dialog, near the top-left corner: the centred position would be
  // negative, and the dialog must stay on the panel.
  QWidget small(&main);
  small.setGeometry(0, 40, 240, 205);
  Dialog wide(&small, 225, "Moisture", Size{500, 100});
  wide.CentreOverParent();
  EXPECT_EQ(wide.pos().x(), 0);
  EXPECT_EQ(wide.pos().y(), main.geometry().y() + 40 + (205 - wide.height()) / 2);

  centred.move(0, 0);
  centred.show();  // showing centres it too
  EXPECT_EQ(centred.pos(), expected);
  centred.hide();
}

}  // namespace
}  // namespace orvandry::platform
