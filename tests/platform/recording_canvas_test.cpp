#include "platform/recording_canvas.h"

#include <gtest/gtest.h>

namespace orvandry::platform {
namespace {

TEST(RecordingCanvas, RecordsEachCallWithTheStateItWasDrawnIn) {
  RecordingCanvas canvas;
  canvas.SetFont(Font{34, 900});
  canvas.SetTextColour(Bgr(0x00FFFF));
  canvas.SetBackgroundMode(BackgroundMode::kTransparent);
  canvas.SetClip(Rect{0, 0, 400, 100});
  canvas.Text(Rect::FromEdges(5, 0, 390, 45), "LOADING...  7:00", kAlignCentre | kAlignVCentre);
  canvas.ClearClip();
  canvas.SetTextColour(Bgr(0xFFFFFF));
  canvas.TextAt(Point{431, 50}, "  Default = 05 : 00  ");
  canvas.Picture(111, Point{20, 427});
  canvas.Picture(111, Rect{0, 0, 50, 20});

  const TextCall* loading = canvas.FindText("LOADING...  7:00");
  ASSERT_NE(loading, nullptr) << canvas.Describe();
  EXPECT_EQ(loading->colour, Bgr(0x00FFFF));
  EXPECT_EQ(loading->font, (Font{34, 900}));
  EXPECT_EQ(loading->rect, Rect::FromEdges(5, 0, 390, 45));
  EXPECT_EQ(loading->HorizontalAlignment(), kAlignCentre);
  EXPECT_EQ(loading->VerticalAlignment(), kAlignVCentre);
  EXPECT_EQ(loading->background_mode, BackgroundMode::kTransparent);
  EXPECT_EQ(loading->clip, (Rect{0, 0, 400, 100}));

  const TextCall* at = canvas.FindTextContaining("Default");
  ASSERT_NE(at, nullptr);
  EXPECT_EQ(at->at, (Point{431, 50}));
  EXPECT_EQ(at->colour, Bgr(0xFFFFFF)) << "a later colour change applies to later texts only";
  EXPECT_FALSE(at->clip.has_value());
  EXPECT_EQ(canvas.FindText("LOADING"), nullptr) << "FindText matches the whole string";
  EXPECT_EQ(canvas.CountPicture(111), 2u);
  EXPECT_EQ(canvas.All<PictureCall>()[1]->into, (Rect{0, 0, 50, 20}));

  // Measuring without a real font: bold text is wider.
  canvas.SetFont(Font{20, 400});
  EXPECT_EQ(canvas.MeasureText("abcd"), (Size{44, 20}));
  canvas.SetFont(Font{20, 700});
  EXPECT_EQ(canvas.MeasureText("abcd"), (Size{48, 20}));
}

}  // namespace
}  // namespace orvandry::platform
