#include "views/status/fitted_text.h"

#include <gtest/gtest.h>

#include "platform/recording_canvas.h"

namespace orvandry::views {
namespace {

// Each character half the font height wide: easy widths to reason about.
platform::Size HalfHeightCharacters(std::string_view text, platform::Font font) {
  return platform::Size{static_cast<int>(text.size()) * font.height / 2, font.height};
}

TEST(FittedText, KeepsTheFontWhenTheTextFitsAndShrinksItWhenNot) {
  platform::RecordingCanvas canvas(platform::Size{400, 100}, HalfHeightCharacters);
  EXPECT_EQ(FitFont(canvas, "0123456789", platform::Font{20, 900}, 100), (platform::Font{20, 900}));
  EXPECT_EQ(FitFont(canvas, "0123456789", platform::Font{40, 900}, 100), (platform::Font{20, 900}));
  EXPECT_EQ(FitFont(canvas, "0123456789", platform::Font{40, 300}, 99), (platform::Font{19, 300}));
  // Never below the floor, however long the text.
  EXPECT_EQ(FitFont(canvas, std::string(200, 'x'), platform::Font{40, 900}, 100).height,
            kMinFittedHeight);
  EXPECT_EQ(FitFont(canvas, "x", platform::Font{40, 900}, 0).height, kMinFittedHeight);
}

TEST(FittedText, DrawsOneLineInTheBoxWithTheFittedFont) {
  platform::RecordingCanvas canvas(platform::Size{400, 100}, HalfHeightCharacters);
  DrawFitted(canvas, platform::Rect{0, 0, 150, 30}, "0123456789", platform::Font{40, 900},
             platform::kAlignRight, 50);
  const platform::TextCall* t = canvas.FindText("0123456789");
  ASSERT_NE(t, nullptr);
  EXPECT_EQ(t->font, (platform::Font{10, 900}));
  EXPECT_EQ(t->rect, (platform::Rect{0, 0, 150, 30}));
  EXPECT_EQ(t->flags, platform::kAlignRight | platform::kSingleLine);

  // By default the box less a margin on each side; light weights come out regular.
  canvas.Clear();
  DrawFitted(canvas, platform::Rect{0, 0, 104, 30}, "0123456789", platform::Font{40, 100}, 0);
  EXPECT_EQ(canvas.FindText("0123456789")->font, (platform::Font{20, 400}));
  canvas.Clear();
  DrawFitted(canvas, platform::Rect{0, 0, 103, 30}, "0123456789", platform::Font{40, 700}, 0);
  EXPECT_EQ(canvas.FindText("0123456789")->font, (platform::Font{19, 700}));
}

}  // namespace
}  // namespace orvandry::views
