#include <gtest/gtest.h>

#include "platform/colour.h"
#include "platform/dialog_geometry.h"
#include "platform/qt_conversions.h"

namespace orvandry::platform {
namespace {

TEST(Colour, BothNotationsMeetInOneColourAndReachQtUnswapped) {
  EXPECT_EQ(Bgr(0x0000FF), Rgb(255, 0, 0)) << "the panel's word keeps red in the low byte";
  EXPECT_EQ(Bgr(0xB9B973), Rgb(0x73, 0xB9, 0xB9));
  EXPECT_EQ(Bgr(0xFF00FFFF), Bgr(0x00FFFF)) << "the top byte carries no colour";
  EXPECT_EQ(Rgb(50, 0, 250).ToBgr(), 0xFA0032u);
  EXPECT_EQ(ToQColor(Bgr(0x0080FF)), QColor(0xFF, 0x80, 0x00));
}

TEST(DialogUnits, ConvertWithTheSystemBaseUnitsRoundingHalvesAway) {
  EXPECT_EQ(DluToPixelsX(100), 150);
  EXPECT_EQ(DluToPixelsY(80), 130);
  EXPECT_EQ(DluToPixelsX(5), 8);  // 7.5
  EXPECT_EQ(DluToPixelsY(1), 2);  // 1.625
  EXPECT_EQ(DluToPixelsY(4), 7);  // 6.5
  EXPECT_EQ(DluToPixelsX(-5), -8);
  EXPECT_EQ(DluRect(10, 8, 50, 14), (Rect{15, 13, 75, 23}));
}

TEST(DialogCentring, CentresOverTheParentAndNeverGoesNegative) {
  EXPECT_EQ(CentredOver(Rect{0, 0, 640, 480}, Size{400, 300}), (Point{120, 90}));
  EXPECT_EQ(CentredOver(Rect{100, 50, 450, 275}, Size{301, 100}), (Point{174, 137}));
  // Larger than the parent: the centred position would be negative and is clamped per axis.
  EXPECT_EQ(CentredOver(Rect{0, 0, 240, 205}, Size{600, 180}), (Point{0, 12}));
  EXPECT_EQ(CentredOver(Rect{20, 10, 100, 100}, Size{300, 400}), (Point{0, 0}));
  EXPECT_EQ(CentredOver(Rect{200, 200, 100, 100}, Size{300, 150}), (Point{100, 175}));
}

}  // namespace
}  // namespace orvandry::platform
