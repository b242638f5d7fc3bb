#include "platform/recording_canvas.h"

#include <gtest/gtest.h>

namespace orvandry::platform {
namespace {

TEST(RecordingCanvas, TextCallsCarryTheStateTheyWereDrawnIn) {
  RecordingCanvas canvas;
  canvas.FillRect(Rect{0, 0, 400, 40}, Bgr(0x000000));
  canvas.SetFont(Font{34, 900});
  canvas.SetTextColour(Bgr(0x00FFFF));
  canvas.SetBackgroundMode(BackgroundMode::kTransparent);
  canvas.Text(Rect::FromEdges(5, 0, 390, 45), "LOADING...  7:00",
              kAlignCentre | kAlignVCentre | kSingleLine);
  canvas.SetTextColour(Bgr(0xFFFFFF));
  canvas.TextAt(Point{431, 50}, "  Default = 05 : 00  ");

  const TextCall* loading = canvas.FindText("LOADING...  7:00");
  ASSERT_NE(loading, nullptr) << canvas.Describe();
  EXPECT_EQ(loading->colour, Bgr(0x00FFFF));
  EXPECT_EQ(loading->font, (Font{34, 900}));
  EXPECT_EQ(loading->rect, Rect::FromEdges(5, 0, 390, 45));
  EXPECT_EQ(loading->HorizontalAlignment(), kAlignCentre);
  EXPECT_EQ(loading->VerticalAlignment(), kAlignVCentre);
  EXPECT_EQ(loading->background_mode, BackgroundMode::kTransparent);

  const TextCall* at = canvas.FindTextContaining("Default");
  ASSERT_NE(at, nullptr);
  EXPECT_FALSE(at->rect.has_value());
  EXPECT_EQ(at->at, (Point{431, 50}));
  EXPECT_EQ(at->colour, Bgr(0xFFFFFF)) << "a later colour change applies to later texts only";
  EXPECT_EQ(canvas.FindText("LOADING"), nullptr) << "FindText matches the whole string";
  EXPECT_EQ(canvas.Texts(),
            (std::vector<std::string>{"LOADING...  7:00", "  Default = 05 : 00  "}));
}

TEST(RecordingCanvas, CountsAndListsCallsByKind) {
  RecordingCanvas canvas;
  canvas.Line({0, 0}, {10, 0}, Bgr(0x969696));
  canvas.Line({0, 5}, {10, 5}, Bgr(0x969696), 3);
  canvas.RectOutline(Rect{1, 1, 5, 5}, Bgr(0xFFFFFF), 2);
  canvas.Picture(111, Point{20, 427});
  canvas.Picture(111, Rect{0, 0, 50, 20});
  canvas.Picture(320, Point{516, 427});
  canvas.SetClip(Rect{0, 0, 100, 100});
  canvas.Text(Rect{0, 0, 10, 10}, "x", kAlignLeft);
  canvas.ClearClip();

  EXPECT_EQ(canvas.Count<LineCall>(), 2u);
  EXPECT_EQ(canvas.All<LineCall>()[1]->pen_width, 3);
  EXPECT_EQ(canvas.Count<RectOutlineCall>(), 1u);
  EXPECT_EQ(canvas.Count<FillRectCall>(), 0u);
  EXPECT_EQ(canvas.CountPicture(111), 2u);
  EXPECT_EQ(canvas.All<PictureCall>()[1]->into, (Rect{0, 0, 50, 20}));
  EXPECT_FALSE(canvas.All<PictureCall>()[0]->into.has_value());
  EXPECT_EQ(canvas.FindText("x")->clip, (Rect{0, 0, 100, 100})) << "texts remember the clip";
  EXPECT_EQ(canvas.Count<ClipCall>(), 2u);
  EXPECT_FALSE(canvas.All<ClipCall>()[1]->clip.has_value());
  canvas.Clear();
  EXPECT_TRUE(canvas.Calls().empty());
}

TEST(RecordingCanvas, DescribesCallsReadably) {
  RecordingCanvas canvas;
  canvas.SetFont(Font{34, 900});
  canvas.SetTextColour(Bgr(0x00FFFF));
  canvas.SetBackgroundMode(BackgroundMode::kTransparent);
  canvas.Text(Rect::FromEdges(5, 0, 390, 45), "LOADING", kAlignCentre);
  canvas.FillRect(Rect{0, 0, 2, 2}, Rgb(255, 0, 0));
  EXPECT_EQ(canvas.Describe(),
            "text 'LOADING' in (5,0)-(390,45) flags 0x1 0x00FFFF 34/900 transparent\n"
            "fill (0,0)-(2,2) 0x0000FF\n");
}

TEST(RecordingCanvas, MeasuresWithTheApproximationOrAGivenMeasurer) {
  RecordingCanvas canvas;
  canvas.SetFont(Font{20, 400});
  EXPECT_EQ(canvas.MeasureText("abcd"), (Size{44, 20}));
  canvas.SetFont(Font{20, 700});
  EXPECT_EQ(canvas.MeasureText("abcd"), (Size{48, 20})) << "bold text is wider";
  EXPECT_EQ(canvas.MeasureText(""), (Size{0, 20}));

  RecordingCanvas fixed(Size{100, 100}, [](std::string_view text, Font font) {
    return Size{static_cast<int>(text.size()) * 10, font.height + 1};
  });
  fixed.SetFont(Font{12, 400});
  EXPECT_EQ(fixed.MeasureText("abc"), (Size{30, 13}));
  EXPECT_EQ(fixed.GetSize(), (Size{100, 100}));
}

}  // namespace
}  // namespace orvandry::platform
