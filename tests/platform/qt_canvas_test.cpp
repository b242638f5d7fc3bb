#include "platform/qt_canvas.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>

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

// Large letters met again are drawn from a kept picture of the text; the screen must get the very
// pixels Qt's own text drawing gives, over any background, in any colour, placement and clip, the
// first time, when the picture is made and when it is used.
TEST(QtCanvas, KeptLargeTextDrawsThePixelsOfDrawingItAnew) {
  QImage background(300, 200, QImage::Format_RGB32);
  for (int y = 0; y < background.height(); ++y)
    for (int x = 0; x < background.width(); ++x)
      background.setPixel(x, y, qRgb((x * 7) & 0xFF, (y * 5) & 0xFF, ((x + y) * 3) & 0xFF));
  struct Case {
    const char* text;
    Font font;
    Colour colour;
    Rect rect;
    unsigned flags;
    QRect limit;  // canvas coordinates
  };
  const Case cases[] = {
      {"169\xB0""F", Font{80, 700}, Bgr(0x00FFFF), Rect{3, 5, 250, 90}, kAlignCentre, {}},
      {"20", Font{90, 400}, Bgr(0xFFFFFF), Rect{0, 100, 130, 95}, kAlignRight | kAlignVCentre,
       {}},
      {"88.8", Font{100, 900}, Bgr(0x4080C0), Rect{10, 10, 200, 100}, kAlignLeft | kSingleLine,
       QRect(40, 30, 60, 50)},
      {"W", Font{120, 400}, Bgr(0x000080), Rect{150, 20, 60, 80}, kAlignLeft, {}},  // cut
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    const Rect area{7, 3, 280, 190};
    QImage expected = background;
    {
      QPainter painter(&expected);
      painter.translate(area.x, area.y);
      painter.setClipRect(QRect(0, 0, area.w, area.h));
      if (!c.limit.isEmpty()) painter.setClipRect(c.limit, Qt::IntersectClip);
      painter.setClipRect(ToQRect(c.rect), Qt::IntersectClip);
      painter.setFont(MakeQFont(c.font));
      painter.setPen(ToQColor(c.colour));
      const int align = (c.flags & kAlignCentre ? Qt::AlignHCenter
                         : c.flags & kAlignRight ? Qt::AlignRight
                                                 : Qt::AlignLeft) |
                        (c.flags & kAlignVCentre ? Qt::AlignVCenter : Qt::AlignTop) |
                        (c.flags & kSingleLine ? Qt::TextSingleLine : 0);
      painter.drawText(ToQRect(c.rect), align, ToQString(c.text));
    }
    for (int time = 0; time < 3; ++time) {  // drawn; met again, kept; drawn from the picture
      QImage drawn = background;
      {
        QtCanvas canvas(drawn, area);
        if (!c.limit.isEmpty()) canvas.LimitTo(c.limit);
        canvas.SetFont(c.font);
        canvas.SetTextColour(c.colour);
        canvas.SetBackgroundMode(BackgroundMode::kTransparent);
        canvas.Text(c.rect, c.text, c.flags);
      }
      EXPECT_NE(drawn, background) << "the text drew something";
      EXPECT_EQ(drawn, expected) << "time " << time;
    }
  }
}

}  // namespace
}  // namespace orvandry::platform
