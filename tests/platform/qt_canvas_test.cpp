#include "platform/qt_canvas.h"

#include <gtest/gtest.h>

#include <QImage>

#include "platform/qt_conversions.h"

namespace orvandry::platform {
namespace {

QImage Blank(int w, int h, QColor colour = Qt::black) {
  QImage image(w, h, QImage::Format_RGB32);
  image.fill(colour);
  return image;
}

// Pixels inside `box` that differ from `background`.
int InkIn(const QImage& image, QRect box, QColor background) {
  int ink = 0;
  box = box.intersected(image.rect());
  for (int y = box.top(); y <= box.bottom(); ++y) {
    for (int x = box.left(); x <= box.right(); ++x) {
      if (image.pixelColor(x, y) != background) ++ink;
    }
  }
  return ink;
}

TEST(QtCanvas, FillsLinesAndOutlinesInThePanelColours) {
  QImage image = Blank(100, 100);
  {
    QtCanvas canvas(image);
    canvas.FillRect(Rect{10, 10, 20, 20}, Bgr(0x0000FF));
    canvas.Line({0, 50}, {99, 50}, Rgb(0, 255, 0), 1);
    canvas.RectOutline(Rect{60, 60, 30, 30}, Bgr(0xFFFFFF), 2);
  }
  EXPECT_EQ(image.pixelColor(15, 15), QColor(255, 0, 0)) << "0x0000FF is red";
  EXPECT_EQ(image.pixelColor(30, 30), QColor(Qt::black)) << "the fill stops at the right edge";
  EXPECT_EQ(image.pixelColor(50, 50), QColor(0, 255, 0));
  EXPECT_EQ(image.pixelColor(60, 60), QColor(Qt::white));
  EXPECT_EQ(image.pixelColor(61, 75), QColor(Qt::white)) << "two pixels wide";
  EXPECT_EQ(image.pixelColor(62, 75), QColor(Qt::black));
  EXPECT_EQ(image.pixelColor(89, 89), QColor(Qt::white)) << "drawn inside the rectangle";
  EXPECT_EQ(image.pixelColor(90, 90), QColor(Qt::black));
}

TEST(QtCanvas, TextIsDrawnInsideItsRectangleAtItsAlignment) {
  QImage image = Blank(400, 100);
  {
    QtCanvas canvas(image);
    canvas.SetFont(Font{34, 900});
    canvas.SetTextColour(Bgr(0x00FF00));
    canvas.SetBackgroundMode(BackgroundMode::kTransparent);
    canvas.Text(Rect{0, 0, 400, 45}, "OK", kAlignRight | kAlignVCentre | kSingleLine);
  }
  EXPECT_GT(InkIn(image, QRect(300, 0, 100, 45), Qt::black), 50);
  EXPECT_EQ(InkIn(image, QRect(0, 0, 300, 100), Qt::black), 0) << "right-aligned";
  EXPECT_EQ(InkIn(image, QRect(0, 45, 400, 55), Qt::black), 0);
}

TEST(QtCanvas, TextIsCutAtItsRectangleAndOpaqueTextFillsItsBox) {
  QImage image = Blank(200, 100);
  {
    QtCanvas canvas(image);
    canvas.SetFont(Font{40, 400});
    canvas.SetTextColour(Bgr(0xFFFFFF));
    canvas.SetBackgroundMode(BackgroundMode::kTransparent);
    canvas.Text(Rect{0, 0, 30, 20}, "WWWW", kAlignLeft | kSingleLine);
    canvas.SetBackgroundMode(BackgroundMode::kOpaque);
    canvas.SetBackgroundColour(Bgr(0xB9B9D7));
    canvas.SetFont(Font{15, 400});
    canvas.TextAt(Point{100, 60}, "i");
  }
  EXPECT_GT(InkIn(image, QRect(0, 0, 30, 20), Qt::black), 0);
  EXPECT_EQ(InkIn(image, QRect(30, 0, 70, 60), Qt::black), 0);
  EXPECT_EQ(InkIn(image, QRect(0, 20, 100, 40), Qt::black), 0);
  // The opaque box starts at the point: its top-left pixel is the background colour.
  EXPECT_EQ(image.pixelColor(100, 60), QColor(0xD7, 0xB9, 0xB9));
  EXPECT_EQ(image.pixelColor(99, 59), QColor(Qt::black));
}

TEST(QtCanvas, AnAreaMovesTheOriginAndConfinesDrawing) {
  QImage image = Blank(100, 100);
  {
    QtCanvas canvas(image, Rect{10, 20, 30, 30});
    EXPECT_EQ(canvas.GetSize(), (Size{30, 30}));
    canvas.FillRect(Rect{0, 0, 1000, 1000}, Bgr(0xFFFFFF));
    canvas.SetClip(Rect{0, 0, 5, 5});
    canvas.FillRect(Rect{0, 0, 30, 30}, Bgr(0x0000FF));
    canvas.ClearClip();
    canvas.FillRect(Rect{29, 29, 1, 1}, Bgr(0x00FF00));
  }
  EXPECT_EQ(image.pixelColor(10, 20), QColor(255, 0, 0));
  EXPECT_EQ(image.pixelColor(15, 25), QColor(Qt::white)) << "outside the clip";
  EXPECT_EQ(image.pixelColor(39, 49), QColor(0, 255, 0));
  EXPECT_EQ(image.pixelColor(40, 49), QColor(Qt::black)) << "outside the area";
  EXPECT_EQ(image.pixelColor(9, 20), QColor(Qt::black));
}

TEST(QtCanvas, DrawsPicturesByNumber) {
  QImage image = Blank(300, 100);
  {
    QtCanvas canvas(image);
    canvas.Picture(111, Point{0, 0});
    canvas.Picture(262, Rect{110, 0, 100, 25});
  }
  EXPECT_GT(InkIn(image, QRect(0, 0, 105, 40), Qt::black), 105 * 40 / 2);
  EXPECT_EQ(InkIn(image, QRect(0, 45, 105, 55), Qt::black), 0);
  EXPECT_GT(InkIn(image, QRect(110, 0, 100, 25), Qt::black), 100 * 25 / 2);
  EXPECT_EQ(InkIn(image, QRect(110, 26, 100, 74), Qt::black), 0) << "scaled into its rectangle";
}

TEST(QtCanvas, MeasuresTextWithTheRealFont) {
  QImage image = Blank(10, 10);
  QtCanvas canvas(image);
  canvas.SetFont(Font{20, 400});
  const Size one = canvas.MeasureText("8");
  const Size four = canvas.MeasureText("8888");
  EXPECT_GT(one.w, 0);
  EXPECT_NEAR(four.w, 4 * one.w, 2) << "digits have one width";
  EXPECT_GE(four.h, 20);
  canvas.SetFont(Font{20, 900});
  EXPECT_GT(canvas.MeasureText("8888").w, four.w);
  EXPECT_EQ(canvas.MeasureText("8888"), QtTextSize("8888", Font{20, 900}));
  // Latin-1: the degree sign is one character, not two bytes of UTF-8.
  EXPECT_EQ(ToQString("212\xB0").size(), 4);
  EXPECT_EQ(ToQString("\xB0").at(0), QChar(0xB0));
}

}  // namespace
}  // namespace orvandry::platform
