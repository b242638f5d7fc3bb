#include "platform/qt_canvas.h"

#include <gtest/gtest.h>

#include <QImage>

#include "platform/qt_conversions.h"

namespace orvandry::platform {
namespace {

QImage Blank(int w, int h) {
  QImage image(w, h, QImage::Format_RGB32);
  image.fill(Qt::black);
  return image;
}

// Pixels inside `box` that are not black.
int InkIn(const QImage& image, QRect box) {
  int ink = 0;
  box = box.intersected(image.rect());
  for (int y = box.top(); y <= box.bottom(); ++y) {
    for (int x = box.left(); x <= box.right(); ++x) ink += image.pixelColor(x, y) != Qt::black;
  }
  return ink;
}

TEST(QtCanvas, DrawsShapesAndPicturesInThePanelColoursInsideItsArea) {
  QImage image = Blank(300, 100);
  {
    QtCanvas canvas(image);
    canvas.FillRect(Rect{10, 10, 20, 20}, Bgr(0x0000FF));
    canvas.Line({0, 50}, {99, 50}, Rgb(0, 255, 0), 1);
    canvas.RectOutline(Rect{60, 60, 30, 30}, Bgr(0xFFFFFF), 2);
    canvas.Picture(262, Rect{110, 0, 100, 25});
  }
  EXPECT_EQ(image.pixelColor(15, 15), QColor(255, 0, 0)) << "0x0000FF is red";
  EXPECT_EQ(image.pixelColor(30, 30), QColor(Qt::black)) << "the fill stops at the right edge";
  EXPECT_EQ(image.pixelColor(50, 50), QColor(0, 255, 0));
  EXPECT_EQ(image.pixelColor(61, 75), QColor(Qt::white)) << "two pixels wide";
  EXPECT_EQ(image.pixelColor(62, 75), QColor(Qt::black));
  EXPECT_EQ(image.pixelColor(89, 89), QColor(Qt::white)) << "drawn inside the rectangle";
  EXPECT_EQ(image.pixelColor(90, 90), QColor(Qt::black));
  EXPECT_GT(InkIn(image, QRect(110, 0, 100, 25)), 100 * 25 / 2);
  EXPECT_EQ(InkIn(image, QRect(110, 26, 100, 74)), 0) << "scaled into its rectangle";

  // An area moves the origin and confines drawing; a clip confines it further.
  QImage area_image = Blank(100, 100);
  {
    QtCanvas canvas(area_image, Rect{10, 20, 30, 30});
    EXPECT_EQ(canvas.GetSize(), (Size{30, 30}));
    canvas.FillRect(Rect{0, 0, 1000, 1000}, Bgr(0xFFFFFF));
    canvas.SetClip(Rect{0, 0, 5, 5});
    canvas.FillRect(Rect{0, 0, 30, 30}, Bgr(0x0000FF));
  }
  EXPECT_EQ(area_image.pixelColor(10, 20), QColor(255, 0, 0));
  EXPECT_EQ(area_image.pixelColor(15, 25), QColor(Qt::white)) << "outside the clip";
  EXPECT_EQ(InkIn(area_image, QRect(10, 20, 30, 30)), 30 * 30);
  EXPECT_EQ(InkIn(area_image, QRect(0, 0, 100, 100)), 30 * 30) << "nothing outside the area";
}

TEST(QtCanvas, MeasuresAndDrawsTextInItsRectangleAtItsAlignment) {
  QImage image = Blank(400, 150);
  {
    QtCanvas canvas(image);
    // Measured with the real font: digits have one width, bold is wider.
    canvas.SetFont(Font{20, 400});
    const Size four = canvas.MeasureText("8888");
    EXPECT_NEAR(four.w, 4 * canvas.MeasureText("8").w, 2);
    EXPECT_GE(four.h, 20);
    canvas.SetFont(Font{20, 900});
    EXPECT_GT(canvas.MeasureText("8888").w, four.w);
    EXPECT_EQ(canvas.MeasureText("8888"), QtTextSize("8888", Font{20, 900}));

    canvas.SetFont(Font{34, 900});
    canvas.SetTextColour(Bgr(0x00FF00));
    canvas.SetBackgroundMode(BackgroundMode::kTransparent);
    canvas.Text(Rect{0, 0, 400, 45}, "OK", kAlignRight | kAlignVCentre | kSingleLine);
    canvas.SetFont(Font{40, 400});
    canvas.Text(Rect{0, 50, 30, 20}, "WWWW", kAlignLeft | kSingleLine);
    canvas.SetBackgroundMode(BackgroundMode::kOpaque);
    canvas.SetBackgroundColour(Bgr(0xB9B9D7));
    canvas.SetFont(Font{15, 400});
    canvas.TextAt(Point{200, 100}, "i");
  }
  EXPECT_GT(InkIn(image, QRect(300, 0, 100, 45)), 50);
  EXPECT_EQ(InkIn(image, QRect(0, 0, 300, 50)), 0) << "right-aligned, inside its rectangle";
  EXPECT_GT(InkIn(image, QRect(0, 50, 30, 20)), 0);
  EXPECT_EQ(InkIn(image, QRect(30, 50, 170, 50)), 0) << "cut at its rectangle";
  EXPECT_EQ(InkIn(image, QRect(0, 70, 200, 30)), 0);
  // The opaque box starts at the point: its top-left pixel is the background colour.
  EXPECT_EQ(image.pixelColor(200, 100), QColor(0xD7, 0xB9, 0xB9));
  EXPECT_EQ(image.pixelColor(199, 99), QColor(Qt::black));
  // Texts are Latin-1: the degree sign is one character, not two bytes of UTF-8.
  EXPECT_EQ(ToQString("212\xB0"), QString("212") + QChar(0xB0));
}

}  // namespace
}  // namespace orvandry::platform
