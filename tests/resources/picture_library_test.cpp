#include "resources/picture_library.h"

#include <gtest/gtest.h>

namespace orvandry::resources {
namespace {

struct Face {
  int normal;
  int pressed;
  QSize size;
};

// The faces the main screen's button bar and the view selection window need.
const Face kFaces[] = {
    {111, 110, {105, 40}}, {109, 108, {105, 40}}, {107, 106, {105, 40}}, {113, 112, {105, 40}},
    {105, 104, {105, 40}}, {283, 282, {200, 50}}, {285, 284, {200, 50}}, {262, 261, {200, 50}},
    {279, 278, {200, 50}}, {439, 438, {200, 50}}, {526, 525, {200, 50}}, {137, 136, {158, 41}},
    // The graph's trace toggles: "on" is the normal face, "off" the darker one.
    {229, 230, {110, 40}}, {231, 232, {110, 40}}, {233, 234, {110, 40}}, {235, 236, {110, 40}},
    {237, 238, {110, 40}}, {239, 240, {110, 40}},
};

// Share of pixels that are fully opaque.
double Coverage(const QImage& image) {
  int covered = 0;
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) covered += qAlpha(image.pixel(x, y)) == 255;
  }
  return static_cast<double>(covered) / (image.width() * image.height());
}

// Summed grey of all pixels.
qint64 Grey(const QImage& image) {
  qint64 grey = 0;
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) grey += qGray(image.pixel(x, y));
  }
  return grey;
}

TEST(PictureLibrary, EveryFaceLoadsAtItsSizeAndPressedLooksDifferent) {
  PictureLibrary library;
  for (const Face& face : kFaces) {
    SCOPED_TRACE(face.normal);
    ASSERT_TRUE(library.Has(face.normal));
    ASSERT_TRUE(library.Has(face.pressed));
    const QImage normal = library.Image(face.normal);
    const QImage pressed = library.Image(face.pressed);
    EXPECT_EQ(normal.size(), face.size);
    EXPECT_EQ(pressed.size(), face.size);
    EXPECT_GT(Coverage(normal), 0.9) << "a solid key, not a blank or placeholder";
    EXPECT_NE(normal, pressed);
    EXPECT_LT(Grey(pressed), Grey(normal)) << "pressed reads darker";
  }
  EXPECT_EQ(library.Image(320).size(), QSize(105, 40));
  EXPECT_NE(library.Image(320), library.Image(105)) << "the greyed face differs from M/C";
}

TEST(PictureLibrary, AMissingNumberDrawsALoudPlaceholderAtAnySizeInsteadOfFailing) {
  PictureLibrary library;
  EXPECT_FALSE(library.Has(999));
  EXPECT_EQ(library.Image(999).size(), kPlaceholderSize);
  const QImage sized = library.Image(999, QSize(105, 40));
  ASSERT_EQ(sized.size(), QSize(105, 40));
  EXPECT_EQ(sized.pixelColor(10, 30), QColor(255, 0, 255));
  EXPECT_EQ(library.Image(999, QSize(0, -5)).size(), QSize(1, 1)) << "degenerate sizes survive";
}

// The frames of an animation differ only in part; drawing one over the other needs just that part
// redrawn, so outside it every pixel must be the same in both.
TEST(PictureLibrary, DifferingAreaHoldsEveryPixelTheTwoPicturesDoNotShare) {
  PictureLibrary library;
  const int fan_frames[] = {304, 305, 306};
  for (int a : fan_frames) {
    for (int b : fan_frames) {
      SCOPED_TRACE(std::to_string(a) + " over " + std::to_string(b));
      const QSize size = library.NaturalSize(a);
      const QRect area = library.DifferingArea(a, b, size);
      EXPECT_EQ(area, library.DifferingArea(b, a, size));
      if (a == b) {
        EXPECT_TRUE(area.isEmpty());
        continue;
      }
      EXPECT_FALSE(area.isEmpty());
      const QImage one = library.Image(a, size);
      const QImage other = library.Image(b, size);
      int outside_differ = 0, inside_differ = 0;
      for (int y = 0; y < size.height(); ++y)
        for (int x = 0; x < size.width(); ++x) {
          const bool differ = one.pixel(x, y) != other.pixel(x, y);
          (area.contains(x, y) ? inside_differ : outside_differ) += differ;
        }
      EXPECT_EQ(outside_differ, 0);
      EXPECT_GT(inside_differ, 0);
      // The blades turn; the housing around them stays.
      EXPECT_LT(area.width() * area.height(), size.width() * size.height());
    }
  }
}

// A picture hides what is under it only where all its pixels are opaque: asked per area, and
// each answer kept for its own area.
TEST(PictureLibrary, OpaqueInTellsAreasWithASeeThroughPixelFromSolidOnes) {
  PictureLibrary library;
  const int tile = 296;  // a fan tile: a housing with see-through corners
  const QSize size = library.NaturalSize(tile);
  const QImage image = library.Image(tile).convertToFormat(QImage::Format_ARGB32_Premultiplied);
  QPoint clear(-1, -1), solid(-1, -1);
  for (int y = 0; y < size.height(); ++y)
    for (int x = 0; x < size.width(); ++x)
      (qAlpha(image.pixel(x, y)) == 255 ? solid : clear) = QPoint(x, y);
  ASSERT_GE(clear.x(), 0);
  ASSERT_GE(solid.x(), 0);
  EXPECT_TRUE(library.OpaqueIn(tile, QRect(solid, QSize(1, 1))));
  EXPECT_FALSE(library.OpaqueIn(tile, QRect(clear, QSize(1, 1))));
  EXPECT_FALSE(library.OpaqueIn(tile, QRect(QPoint(0, 0), size)));
  EXPECT_TRUE(library.OpaqueIn(tile, QRect(solid, QSize(1, 1)))) << "asked again";
  EXPECT_FALSE(library.OpaqueIn(tile, QRect(QPoint(size.width() - 1, 0), QSize(2, 1))))
      << "reaches outside";
  EXPECT_TRUE(library.OpaqueIn(999, QRect(2, 2, 10, 10))) << "the placeholder is solid";
}

}  // namespace
}  // namespace orvandry::resources
