#include "views/status/unload_status.h"

#include <gtest/gtest.h>

#include "link/link_shared.h"
#include "link/status_map.h"
#include "platform/qt_conversions.h"
#include "platform/recording_canvas.h"
#include "view_fixture.h"

namespace orvandry::views {
namespace {

namespace sm = link::status_map;
using platform::Bgr;
using platform::Font;
using platform::Rect;

constexpr platform::Colour kFigure = Bgr(0xB9B973);

class UnloadStatus : public ::testing::Test {
 protected:
  link::LinkShared shared;
  link::ByteImage& s = shared.dryer_state;
  platform::RecordingCanvas canvas{platform::Size{236, 151}, testing::EverythingFits};
};

TEST_F(UnloadStatus, UnloadRateInTenthsRightAligned) {
  s.SetBe16(sm::kMeteringRpm, 125);
  PaintUnloadStatus(canvas, s);
  const platform::TextCall* rate = canvas.FindText("12.5");
  ASSERT_NE(rate, nullptr) << canvas.Describe();
  EXPECT_EQ(rate->rect, Rect::FromEdges(0, 0, 120, 65));
  EXPECT_EQ(rate->font, (Font{70, 900}));
  EXPECT_EQ(rate->colour, kFigure);
  EXPECT_EQ(rate->HorizontalAlignment(), platform::kAlignRight);
  EXPECT_EQ(rate->background_mode, platform::BackgroundMode::kTransparent);

  const auto lines = canvas.All<platform::LineCall>();
  ASSERT_EQ(lines.size(), 3U);
  EXPECT_EQ(lines[0]->from, (platform::Point{235, 0}));
  EXPECT_EQ(lines[0]->to, (platform::Point{235, 190}));
  EXPECT_EQ(lines[1]->from, (platform::Point{130, 5}));
  EXPECT_EQ(lines[2]->to, (platform::Point{240, 70}));
  EXPECT_EQ(lines[2]->colour, Bgr(0x969696));

  for (auto [raw, shown] : {std::pair<std::uint16_t, const char*>{7, " 0.7"},
                            {0, " 0.0"},
                            {999, "99.9"},
                            {1000, "100.0"},
                            {65535, "6553.5"}}) {
    s.SetBe16(sm::kMeteringRpm, raw);
    canvas.Clear();
    PaintUnloadStatus(canvas, s);
    EXPECT_EQ(canvas.Texts(), std::vector<std::string>{shown}) << raw;
  }
  // High byte first: 0x01 0x2C is 300.
  s.Set(sm::kMeteringRpm, 0x01);
  s.Set(sm::kMeteringRpm + 1, 0x2C);
  canvas.Clear();
  PaintUnloadStatus(canvas, s);
  EXPECT_NE(canvas.FindText("30.0"), nullptr);
}

TEST_F(UnloadStatus, BushelButtonShowsRateAndWholeBushels) {
  s.SetBe16(sm::kUnloadRate, 1250);
  s.SetU32(sm::kBushelCounter, 3599);
  DrawBushelButton(canvas, s);
  const auto fills = canvas.All<platform::FillRectCall>();
  ASSERT_EQ(fills.size(), 1U);
  EXPECT_EQ(fills[0]->rect, (Rect{0, 0, 236, 76}));
  EXPECT_EQ(fills[0]->colour, Bgr(0x000000));
  EXPECT_EQ(canvas.Texts(),
            (std::vector<std::string>{"Bushel/Hour:", "1250", "Total Bushels:", "0"}));
  const platform::TextCall* rate = canvas.FindText("1250");
  EXPECT_EQ(rate->rect, Rect::FromEdges(120, 0, 170, 25));
  EXPECT_EQ(rate->font, (Font{20, 400}));
  EXPECT_EQ(rate->colour, kFigure);
  EXPECT_EQ(rate->HorizontalAlignment(), platform::kAlignLeft);
  EXPECT_EQ(canvas.FindText("Total Bushels:")->rect, Rect::FromEdges(5, 20, 130, 40));
  EXPECT_EQ(canvas.FindText("0")->rect, Rect::FromEdges(120, 20, 270, 40));

  for (auto [raw, shown] :
       {std::pair<std::uint32_t, const char*>{3600, "1"}, {36000, "10"}, {0xFFFFFFFF, "1193046"}}) {
    s.SetU32(sm::kBushelCounter, raw);
    canvas.Clear();
    DrawBushelButton(canvas, s);
    EXPECT_EQ(canvas.Texts().back(), shown) << raw;
  }
}

TEST_F(UnloadStatus, MeteringRollPresetsWithTheActiveOneHighlighted) {
  s.Set(sm::kMeteringSpeedHigh, 150);
  s.Set(sm::kMeteringSpeedMain, 55);
  s.Set(sm::kMeteringSpeedLow, 5);
  s.Set(sm::kMeteringSpeedShown, 1);
  DrawMeteringRollButton(canvas, s);
  ASSERT_EQ(canvas.Texts(),
            (std::vector<std::string>{" HIGH: 1500 ", " MED:  0550 ", " LOW:  0050 "}))
      << canvas.Describe();
  const auto texts = canvas.All<platform::TextCall>();
  EXPECT_EQ(texts[0]->rect, Rect::FromEdges(5, 0, 100, 20));
  EXPECT_EQ(texts[1]->rect, Rect::FromEdges(5, 25, 100, 45));
  EXPECT_EQ(texts[2]->rect, Rect::FromEdges(5, 50, 100, 70));
  for (const auto* t : texts) {
    EXPECT_EQ(t->font, (Font{16, 900}));
    EXPECT_EQ(t->background_mode, platform::BackgroundMode::kOpaque);
  }
  EXPECT_EQ(texts[1]->colour, Bgr(0x000000));
  EXPECT_EQ(texts[1]->background, Bgr(0xB9B9D7));
  EXPECT_EQ(texts[0]->colour, kFigure);
  EXPECT_EQ(texts[0]->background, Bgr(0x000000));

  // Selector 2 is HIGH, 0 is LOW, and 3 or more highlights nothing.
  for (auto [selector, lit] : {std::pair<std::uint8_t, int>{2, 0}, {0, 2}, {3, -1}, {255, -1}}) {
    s.Set(sm::kMeteringSpeedShown, selector);
    canvas.Clear();
    DrawMeteringRollButton(canvas, s);
    const auto lines = canvas.All<platform::TextCall>();
    for (int i = 0; i < 3; ++i)
      EXPECT_EQ(lines[static_cast<std::size_t>(i)]->background,
                i == lit ? Bgr(0xB9B9D7) : Bgr(0x000000))
          << "selector " << int{selector} << " line " << i;
  }
}

TEST_F(UnloadStatus, LabelsEndBeforeTheirFiguresWithTheRealFont) {
  s.SetBe16(sm::kUnloadRate, 1250);
  platform::RecordingCanvas real(platform::Size{236, 76}, platform::QtTextSize);
  DrawBushelButton(real, s);
  for (const char* label : {"Bushel/Hour:", "Total Bushels:"}) {
    const platform::TextCall* t = real.FindText(label);
    ASSERT_NE(t, nullptr);
    EXPECT_LT(t->rect->x + platform::QtTextSize(label, t->font).w, 120) << label;
  }
  EXPECT_LT(real.FindText("Total Bushels:")->font.height, 20);
}

}  // namespace
}  // namespace orvandry::views
