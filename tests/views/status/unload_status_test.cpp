#include "views/status/unload_status.h"

#include <gtest/gtest.h>

#include "link/link_shared.h"
#include "link/status_map.h"
#include "platform/qt_conversions.h"
#include "platform/recording_canvas.h"
#include "views/view_fixture.h"

namespace orvandry::views {
namespace {

namespace sm = link::status_map;
using platform::Bgr;
using platform::Font;
using platform::Rect;

constexpr platform::Colour kFigure = Bgr(0xB9B973);
constexpr platform::Colour kHighlight = Bgr(0xB9B9D7);

class UnloadStatus : public ::testing::Test {
 protected:
  link::LinkShared shared;
  link::ByteImage& s = shared.dryer_state;
  platform::RecordingCanvas canvas{platform::Size{236, 151}, testing::EverythingFits};

  template <class Draw>
  std::vector<std::string> Texts(Draw draw) {
    canvas.Clear();
    draw(canvas, s);
    return canvas.Texts();
  }
};

TEST_F(UnloadStatus, UnloadRateInTenthsRightAlignedHighByteFirst) {
  const std::pair<std::uint16_t, const char*> cases[] = {
      {125, "12.5"}, {7, " 0.7"}, {0, " 0.0"}, {999, "99.9"}, {1000, "100.0"}, {65535, "6553.5"}};
  for (auto [raw, shown] : cases) {
    s.SetBe16(sm::kMeteringRpm, raw);
    EXPECT_EQ(Texts(PaintUnloadStatus), std::vector<std::string>{shown}) << raw;
  }
  s.Set(sm::kMeteringRpm, 0x01);
  s.Set(sm::kMeteringRpm + 1, 0x2C);
  EXPECT_EQ(Texts(PaintUnloadStatus), std::vector<std::string>{"30.0"});
  const platform::TextCall* rate = canvas.FindText("30.0");
  EXPECT_EQ(rate->rect, Rect::FromEdges(0, 0, 120, 65));
  EXPECT_EQ(rate->font, (Font{70, 900}));
  EXPECT_EQ(rate->colour, kFigure);
  EXPECT_EQ(rate->HorizontalAlignment(), platform::kAlignRight);
  EXPECT_EQ(canvas.Count<platform::LineCall>(), 3U);
}

TEST_F(UnloadStatus, BushelButtonShowsRateAndWholeBushels) {
  s.SetBe16(sm::kUnloadRate, 1250);
  const std::pair<std::uint32_t, const char*> cases[] = {
      {3599, "0"}, {3600, "1"}, {36000, "10"}, {0xFFFFFFFF, "1193046"}};
  for (auto [raw, shown] : cases) {
    s.SetU32(sm::kBushelCounter, raw);
    EXPECT_EQ(Texts(DrawBushelButton),
              (std::vector<std::string>{"Bushel/Hour:", "1250", "Total Bushels:", shown}))
        << raw;
  }
  EXPECT_EQ(canvas.FindText("1250")->rect, Rect::FromEdges(120, 0, 170, 25));
  EXPECT_EQ(canvas.FindText("1193046")->rect, Rect::FromEdges(120, 20, 270, 40));

  // With the real font the labels are squeezed to end before their figures.
  platform::RecordingCanvas real(platform::Size{236, 76}, platform::QtTextSize);
  DrawBushelButton(real, s);
  for (const char* label : {"Bushel/Hour:", "Total Bushels:"}) {
    const platform::TextCall* t = real.FindText(label);
    ASSERT_NE(t, nullptr);
    EXPECT_LT(t->rect->x + platform::QtTextSize(label, t->font).w, 120) << label;
  }
}

TEST_F(UnloadStatus, MeteringRollPresetsWithTheActiveOneHighlighted) {
  s.Set(sm::kMeteringSpeedHigh, 150);
  s.Set(sm::kMeteringSpeedMain, 55);
  s.Set(sm::kMeteringSpeedLow, 5);
  // Selector 2 is HIGH, 1 MED, 0 LOW, and 3 or more highlights nothing.
  for (auto [selector, lit] :
       {std::pair<std::uint8_t, int>{1, 1}, {2, 0}, {0, 2}, {3, -1}, {255, -1}}) {
    s.Set(sm::kMeteringSpeedShown, selector);
    ASSERT_EQ(Texts(DrawMeteringRollButton),
              (std::vector<std::string>{" HIGH: 1500 ", " MED:  0550 ", " LOW:  0050 "}));
    const auto lines = canvas.All<platform::TextCall>();
    for (int i = 0; i < 3; ++i) {
      const auto* line = lines[static_cast<std::size_t>(i)];
      EXPECT_EQ(line->background, i == lit ? kHighlight : Bgr(0x000000))
          << "selector " << int{selector} << " line " << i;
      EXPECT_EQ(line->colour, i == lit ? Bgr(0x000000) : kFigure);
      EXPECT_EQ(line->background_mode, platform::BackgroundMode::kOpaque);
    }
  }
  EXPECT_EQ(canvas.FindText(" LOW:  0050 ")->rect, Rect::FromEdges(5, 50, 100, 70));
}

}  // namespace
}  // namespace orvandry::views
