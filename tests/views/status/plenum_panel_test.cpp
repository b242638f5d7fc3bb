#include "views/status/plenum_panel.h"

#include <gtest/gtest.h>

#include <string>

#include "link/link_shared.h"
#include "link/status_map.h"
#include "platform/qt_conversions.h"
#include "platform/recording_canvas.h"
#include "view_fixture.h"
#include "views/status/fitted_text.h"

namespace orvandry::views {
namespace {

namespace sm = link::status_map;
using platform::Bgr;
using platform::Font;
using platform::Rect;

constexpr platform::Colour kGreen = Bgr(0x00FF00);
constexpr platform::Colour kRed = Bgr(0x0000FF);
constexpr platform::Colour kBlue = Bgr(0xFF0000);
constexpr platform::Colour kOrange = Bgr(0x0064C8);
constexpr platform::Colour kSetpoint = Bgr(0x00C8C8);
constexpr platform::Colour kYellow = Bgr(0x00FFFF);
constexpr const char* kDeg = "\xB0";

class PlenumPanel : public ::testing::Test {
 protected:
  link::LinkShared shared;
  link::ByteImage& s = shared.dryer_state;
  platform::RecordingCanvas canvas{platform::Size{396, 151}, testing::EverythingFits};

  void Layout(std::uint8_t fan_count_code) { s.Set(sm::kFanCountCode, fan_count_code); }
  void Plenum(int k, std::int16_t setpoint, std::int16_t reading) {
    s.SetT16(sm::PlenumSetpoint(k), setpoint);
    s.SetT16(sm::PlenumReading(k), reading);
  }
  void BurnerStatus(int k, std::uint8_t bits) { s.Set(sm::BurnerStatus(k), bits); }
  void SensorStatus(int k, std::uint8_t bits) { s.Set(137 - static_cast<std::size_t>(k), bits); }
  void BurnerOutput(int k, std::uint8_t bits) { s.Set(131 - static_cast<std::size_t>(k), bits); }
  const platform::TextCall& Paint(const std::string& expected, bool si = false) {
    canvas.Clear();
    PaintPlenumPanel(canvas, s, si);
    const platform::TextCall* text = canvas.FindText(expected);
    if (text == nullptr) {
      ADD_FAILURE() << "no \"" << expected << "\" in\n" << canvas.Describe();
      static const platform::TextCall kNone{};
      return kNone;
    }
    return *text;
  }
  bool Shows(const std::string& text) const { return canvas.FindText(text) != nullptr; }
  std::size_t Lines(int width) const {
    std::size_t n = 0;
    for (const auto* line : canvas.All<platform::LineCall>()) n += line->pen_width == width;
    return n;
  }
};

TEST_F(PlenumPanel, LayoutFollowsTheFanCountCodeAndTheOnePlenumOption) {
  const PlenumLayout expected[] = {PlenumLayout::kOne, PlenumLayout::kTwo, PlenumLayout::kThree,
                                   PlenumLayout::kFour, PlenumLayout::kSix};
  for (std::uint8_t code = 0; code < 5; ++code) {
    Layout(code);
    EXPECT_EQ(ChoosePlenumLayout(s), expected[code]) << int{code};
  }
  Layout(4);
  s.Set(sm::kHardwareOptions, 0x20);
  EXPECT_EQ(ChoosePlenumLayout(s), PlenumLayout::kOne);
  s.Set(sm::kHardwareOptions, 0x02);
  EXPECT_EQ(ChoosePlenumLayout(s), PlenumLayout::kSix);
}

TEST_F(PlenumPanel, AnUnknownFanCountCodeLeavesThePanelBlack) {
  for (std::uint8_t code : {5, 6, 255}) {
    Layout(code);
    canvas.Clear();
    PaintPlenumPanel(canvas, s, false);
    EXPECT_EQ(canvas.Count<platform::TextCall>(), 0U) << canvas.Describe();
    EXPECT_EQ(canvas.Count<platform::LineCall>(), 0U);
    const auto fills = canvas.All<platform::FillRectCall>();
    ASSERT_EQ(fills.size(), 1U);
    EXPECT_EQ(fills[0]->colour, Bgr(0x000000));
    EXPECT_EQ(fills[0]->rect, (Rect{0, 0, 396, 151}));
  }
}

TEST_F(PlenumPanel, OnePlenumFiguresFontsAndLines) {
  Plenum(1, 180, 175);
  const auto& caption = Paint("SETPOINT");
  EXPECT_EQ(caption.rect, Rect::FromEdges(0, 0, 150, 20));
  EXPECT_EQ(caption.font, (Font{18, 900}));
  EXPECT_EQ(caption.colour, kSetpoint);
  const auto& setpoint = Paint(std::string("180 ") + kDeg + "F ");
  EXPECT_EQ(setpoint.rect, Rect::FromEdges(0, 15, 150, 75));
  EXPECT_EQ(setpoint.font, (Font{40, 900}));
  EXPECT_EQ(setpoint.colour, kSetpoint);
  EXPECT_EQ(setpoint.HorizontalAlignment(), platform::kAlignCentre);
  const auto& reading = Paint(std::string("175 ") + kDeg + "F ");
  EXPECT_EQ(reading.rect, Rect::FromEdges(150, 0, 400, 120));
  EXPECT_EQ(reading.font, (Font{80, 900}));
  EXPECT_EQ(reading.colour, kRed);
  EXPECT_EQ(reading.background_mode, platform::BackgroundMode::kTransparent);
  const auto lines = canvas.All<platform::LineCall>();
  ASSERT_EQ(lines.size(), 2U);
  EXPECT_EQ(lines[0]->from, (platform::Point{0, 70}));
  EXPECT_EQ(lines[0]->to, (platform::Point{150, 70}));
  EXPECT_EQ(lines[1]->from, (platform::Point{150, 0}));
  EXPECT_EQ(lines[1]->to, (platform::Point{150, 175}));
  EXPECT_EQ(lines[1]->pen_width, 2);
  EXPECT_EQ(lines[1]->colour, Bgr(0x969696));
}

TEST_F(PlenumPanel, OnePlenumBurnerStates) {
  BurnerStatus(1, 0x01);
  BurnerOutput(1, 0x06);
  const auto& is = Paint("Burner is");
  EXPECT_EQ(is.rect, Rect::FromEdges(0, 90, 100, 110));
  EXPECT_EQ(is.colour, kGreen);
  const auto& purging = Paint("  Purging...");
  EXPECT_EQ(purging.rect, Rect::FromEdges(0, 110, 150, 130));
  EXPECT_FALSE(Shows("HIGH FIRE"));

  BurnerStatus(1, 0x02);
  EXPECT_EQ(Paint("  Igniting...").colour, kRed);
  EXPECT_EQ(Paint("Burner is").colour, kRed);

  BurnerStatus(1, 0);
  SensorStatus(1, 0x30);
  const auto& shorted = Paint("SENSOR SHORTED");
  EXPECT_EQ(shorted.colour, kOrange);
  EXPECT_EQ(shorted.rect, Rect::FromEdges(0, 110, 150, 130));
  SensorStatus(1, 0x10);
  EXPECT_EQ(Paint("SENSOR OPEN").colour, kOrange);

  SensorStatus(1, 0);
  BurnerOutput(1, 0x04);  // high fire without the burner on is still off
  const auto& off = Paint("BURNER OFF");
  EXPECT_EQ(off.colour, kGreen);
  EXPECT_EQ(off.rect, Rect::FromEdges(0, 100, 150, 120));
  BurnerOutput(1, 0x02);
  EXPECT_EQ(Paint("LOW FIRE").colour, kBlue);
  BurnerOutput(1, 0x06);
  EXPECT_EQ(Paint("HIGH FIRE").colour, kRed);
  s.Set(sm::kHardwareOptions, 0x22);
  EXPECT_EQ(Paint("BURNER ON").colour, kRed);
  EXPECT_FALSE(Shows("HIGH FIRE"));
}

TEST_F(PlenumPanel, OnePlenumStagedBatchWithDualSetpoints) {
  Plenum(1, 180, 150);
  s.SetT16(sm::kPlenum1LowTemp, 140);
  s.Set(sm::kBatchSelector, 1);
  s.Set(sm::kConfigBits, 0x02);

  const std::string first = std::string("180 ") + kDeg + "F ";
  EXPECT_EQ(Paint(first).colour, kRed);
  const auto& small_first = Paint(std::string(" 180 ") + kDeg + "F ");
  EXPECT_EQ(small_first.font, (Font{16, 400}));
  EXPECT_EQ(small_first.rect, Rect::FromEdges(0, 50, 150, 70));
  EXPECT_EQ(small_first.colour, kRed);
  EXPECT_EQ(small_first.HorizontalAlignment(), platform::kAlignLeft);
  const auto& small_second = Paint(std::string(" 140 ") + kDeg + "F ");
  EXPECT_EQ(small_second.colour, kBlue);
  EXPECT_EQ(small_second.HorizontalAlignment(), platform::kAlignRight);

  BurnerStatus(1, 0x10);  // high-heat stage: the second setpoint is the one in force
  const auto& big = Paint(std::string("140 ") + kDeg + "F ");
  EXPECT_EQ(big.font, (Font{40, 900}));
  EXPECT_EQ(big.colour, kBlue);

  // Continuous flow never shows the pair.
  s.Set(sm::kBatchSelector, 0);
  EXPECT_EQ(Paint(first).colour, kSetpoint);
  EXPECT_FALSE(Shows(std::string(" 140 ") + kDeg + "F "));
}

TEST_F(PlenumPanel, CelsiusTruncatesTowardZero) {
  Plenum(1, 100, -4);
  Paint(std::string("37 ") + kDeg + "C ", true);
  Paint(std::string("-20 ") + kDeg + "C ", true);
  Layout(4);
  Plenum(6, 100, -4);
  EXPECT_EQ(Paint("37", true).colour, kYellow);
  EXPECT_EQ(Paint(std::string("-20") + kDeg + "C", true).font, (Font{30, 900}));
}

TEST_F(PlenumPanel, TwoPlenumsInRowsWithSensorStatusBits) {
  Layout(1);
  Plenum(1, 180, 175);
  Plenum(2, 200, 198);
  const auto& upper = Paint("PLENUM 2 (UPPER)");
  EXPECT_EQ(upper.rect, Rect::FromEdges(0, 0, 150, 20));
  EXPECT_EQ(upper.font, (Font{14, 900}));
  EXPECT_EQ(upper.colour, kBlue);
  EXPECT_EQ(Paint("PLENUM 1 (LOWER)").rect, Rect::FromEdges(0, 75, 150, 95));
  const auto& sp2 = Paint(std::string("SP:  200 ") + kDeg + "F ");
  EXPECT_EQ(sp2.rect, Rect::FromEdges(0, 15, 150, 55));
  EXPECT_EQ(sp2.font, (Font{30, 900}));
  EXPECT_EQ(sp2.colour, kSetpoint);
  EXPECT_EQ(Paint(std::string("SP:  180 ") + kDeg + "F ").rect, Rect::FromEdges(0, 90, 150, 130));
  const auto& t2 = Paint(std::string("198") + kDeg + "F");
  EXPECT_EQ(t2.rect, Rect::FromEdges(150, 0, 400, 70));
  EXPECT_EQ(t2.font, (Font{80, 900}));
  EXPECT_EQ(t2.colour, kRed);
  EXPECT_EQ(Paint(std::string("175") + kDeg + "F").rect, Rect::FromEdges(150, 70, 400, 145));
  EXPECT_EQ(Lines(2), 3U);
  EXPECT_EQ(Lines(1), 0U);

  SensorStatus(2, 0x20);
  const auto& shorted = Paint("SENSOR SHORTED");
  EXPECT_EQ(shorted.rect, Rect::FromEdges(0, 53, 150, 70));
  EXPECT_EQ(shorted.font, (Font{14, 900}));
  // The reading alone says nothing about the sensor here.
  SensorStatus(2, 0);
  Plenum(1, 180, 400);
  EXPECT_EQ(Paint("BURNER OFF").rect, Rect::FromEdges(0, 53, 150, 70));
  EXPECT_EQ(canvas.FindTextContaining("Sensor"), nullptr);
}

TEST_F(PlenumPanel, ThreePlenumsInColumns) {
  Layout(2);
  for (int k = 1; k <= 3; ++k) Plenum(k, static_cast<std::int16_t>(170 + k), 0);
  EXPECT_EQ(Paint("PLENUM 3 (UPPER)").rect, Rect::FromEdges(266, 0, 400, 20));
  EXPECT_EQ(Paint("PLENUM 2 (MIDDLE)").rect, Rect::FromEdges(133, 0, 266, 20));
  const auto& p1 = Paint("PLENUM 1 (LOWER)");
  EXPECT_EQ(p1.rect, Rect::FromEdges(0, 0, 133, 20));
  EXPECT_EQ(p1.font, (Font{12, 400}));  // light weights are drawn regular
  const auto& sp3 = Paint(std::string("SP:  173 ") + kDeg + "F ");
  EXPECT_EQ(sp3.rect, Rect::FromEdges(266, 20, 400, 60));
  EXPECT_EQ(sp3.font, (Font{25, 900}));
  EXPECT_EQ(Paint(std::string("SP:  171 ") + kDeg + "F ").rect, Rect::FromEdges(0, 20, 133, 60));
  BurnerStatus(2, 0x02);
  const auto& igniting = Paint("Igniting...");
  EXPECT_EQ(igniting.rect, Rect::FromEdges(133, 50, 266, 70));
  EXPECT_EQ(igniting.colour, kRed);
  EXPECT_EQ(canvas.All<platform::TextCall>().size(), 12U) << canvas.Describe();
  EXPECT_EQ(Lines(2), 2U);
}

TEST_F(PlenumPanel, FourPlenumsJudgeTheSensorFromTheReading) {
  Layout(3);
  for (int k = 1; k <= 4; ++k) Plenum(k, 180, 170);
  const auto& label = Paint("PLENUM 4");
  EXPECT_EQ(label.rect, Rect::FromEdges(205, 0, 300, 20));
  EXPECT_EQ(label.font, (Font{16, 600}));
  EXPECT_EQ(label.HorizontalAlignment(), platform::kAlignLeft);
  EXPECT_EQ(canvas.All<platform::TextCall>().size(), 4U * 5U) << canvas.Describe();
  EXPECT_EQ(Lines(2), 2U);
  EXPECT_EQ(Lines(1), 4U);

  // The sensor status bits are not what this layout looks at.
  SensorStatus(4, 0x30);
  Paint("BURNER OFF");
  EXPECT_EQ(canvas.FindTextContaining("SENSOR"), nullptr);

  Plenum(4, 180, 261);
  const auto& shorted = Paint("Plenum 4 Sensor Shorted");
  EXPECT_EQ(shorted.colour, kOrange);
  EXPECT_EQ(shorted.rect, Rect::FromEdges(290, 0, 400, 20));
  EXPECT_EQ(shorted.font, (Font{16, 600}));
  Plenum(4, 180, 260);
  Paint("BURNER OFF");
  EXPECT_EQ(canvas.FindTextContaining("Sensor"), nullptr);
  Plenum(4, 180, -36);
  Paint("Plenum 4 Sensor Open");
  Plenum(4, 180, -35);
  Paint("BURNER OFF");
  EXPECT_EQ(canvas.FindTextContaining("Sensor"), nullptr);

  // Purging and igniting outrank a failed sensor.
  Plenum(4, 180, 261);
  BurnerStatus(4, 0x01);
  Paint("Purging...");
  BurnerStatus(4, 0x02);
  Paint("Igniting...");
  EXPECT_EQ(canvas.FindTextContaining("Sensor"), nullptr);
}

TEST_F(PlenumPanel, FourPlenumsSetpointsAndReadings) {
  Layout(3);
  Plenum(1, 181, 101);
  Plenum(2, 182, 102);
  Plenum(3, 183, 103);
  Plenum(4, 184, 104);
  const auto& caption = Paint("SETPOINT");
  EXPECT_EQ(caption.font, (Font{12, 400}));
  EXPECT_EQ(caption.rect, Rect::FromEdges(200, 25, 270, 45));  // plenum 4 first
  const auto& sp = Paint("183");
  EXPECT_EQ(sp.rect, Rect::FromEdges(200, 110, 270, 140));
  EXPECT_EQ(sp.font, (Font{25, 400}));
  EXPECT_EQ(sp.colour, kSetpoint);
  EXPECT_EQ(sp.HorizontalAlignment(), platform::kAlignCentre);
  const auto& reading = Paint(std::string("102") + kDeg + "F");
  EXPECT_EQ(reading.rect, Rect::FromEdges(0, 10, 195, 70));
  EXPECT_EQ(reading.font, (Font{40, 900}));
  EXPECT_EQ(reading.HorizontalAlignment(), platform::kAlignRight);
  EXPECT_EQ(Paint(std::string("101") + kDeg + "F").rect, Rect::FromEdges(0, 83, 195, 143));
  BurnerOutput(3, 0x02);
  EXPECT_EQ(Paint("LOW FIRE").rect, Rect::FromEdges(290, 73, 400, 90));
  BurnerOutput(3, 0x06);
  EXPECT_EQ(Paint("HIGH FIRE").colour, kRed);
}

TEST_F(PlenumPanel, SixPlenumsFromFanCountCodeFour) {
  Layout(4);
  for (int k = 1; k <= 6; ++k)
    Plenum(k, static_cast<std::int16_t>(150 + k), static_cast<std::int16_t>(140 + k));
  EXPECT_EQ(Paint("PLENUM 6").rect, Rect::FromEdges(270, 0, 320, 20));
  EXPECT_EQ(Paint("PLENUM 1").rect, Rect::FromEdges(3, 73, 55, 90));
  const auto& sp6 = Paint("156");
  EXPECT_EQ(sp6.rect, Rect::FromEdges(270, 45, 295, 75));
  EXPECT_EQ(sp6.colour, kYellow);
  EXPECT_EQ(sp6.font, (Font{16, 500}));
  EXPECT_EQ(sp6.HorizontalAlignment(), platform::kAlignRight);
  const auto& t5 = Paint(std::string("145") + kDeg + "F");
  EXPECT_EQ(t5.rect, Rect::FromEdges(280, 110, 385, 145));
  EXPECT_EQ(t5.font, (Font{30, 900}));
  std::size_t sp_captions = 0;
  for (const auto* t : canvas.All<platform::TextCall>()) {
    if (t->text != "SP") continue;
    ++sp_captions;
    EXPECT_EQ(t->colour, kYellow);
    EXPECT_EQ(t->font, (Font{16, 500}));
  }
  EXPECT_EQ(sp_captions, 6U);
  EXPECT_EQ(Lines(2), 3U);
  EXPECT_EQ(Lines(1), 6U);

  BurnerOutput(6, 0x02);
  const auto& low = Paint("LOW FIRE");
  EXPECT_EQ(low.rect, Rect::FromEdges(310, 20, 385, 35));
  EXPECT_EQ(low.font, (Font{12, 500}));
  Plenum(3, 150, -36);
  EXPECT_EQ(Paint("Plenum 3 Sensor Open").rect, Rect::FromEdges(175, 90, 250, 105));
  Plenum(3, 150, 261);
  Paint("Plenum 3 Sensor Shorted");
}

// With the display's real font the long texts are squeezed into their boxes instead of being cut:
// every text of every layout fits its box, or has reached the smallest height.
TEST_F(PlenumPanel, LongTextsAreSqueezedIntoTheirBoxes) {
  for (int k = 1; k <= 6; ++k) Plenum(k, -188, 261);
  s.Set(sm::BurnerStatus(2), 0);
  for (bool si : {false, true}) {
    for (std::uint8_t code = 0; code < 5; ++code) {
      Layout(code);
      platform::RecordingCanvas real(platform::Size{396, 151}, platform::QtTextSize);
      PaintPlenumPanel(real, s, si);
      for (const auto* t : real.All<platform::TextCall>()) {
        ASSERT_TRUE(t->rect.has_value());
        const int width = platform::QtTextSize(t->text, t->font).w;
        EXPECT_TRUE(width <= t->rect->w || t->font.height == kMinFittedHeight)
            << "layout " << int{code} << ": \"" << t->text << "\" is " << width << " wide in "
            << *t->rect;
      }
    }
  }
  // A figure that fits keeps its size.
  Layout(3);
  Plenum(1, 100, 100);
  platform::RecordingCanvas real(platform::Size{396, 151}, platform::QtTextSize);
  PaintPlenumPanel(real, s, false);
  EXPECT_EQ(real.FindText("100")->font, (Font{25, 400}));
}

TEST(BurnerStateRules, OrderOfPrecedence) {
  link::LinkShared shared;
  link::ByteImage& s = shared.dryer_state;
  s.Set(sm::BurnerStatus(2), 0x03);
  s.Set(137 - 2, 0x30);
  s.Set(131 - 2, 0x06);
  EXPECT_EQ(BurnerState(s, 2, false).text, "Purging...");
  s.Set(sm::BurnerStatus(2), 0x02);
  EXPECT_EQ(BurnerState(s, 2, false).text, "Igniting...");
  s.Set(sm::BurnerStatus(2), 0x10);  // the high-heat stage bit is not a burner state
  EXPECT_EQ(BurnerState(s, 2, false).text, "SENSOR SHORTED");
  s.Set(137 - 2, 0x10);
  EXPECT_EQ(BurnerState(s, 2, false).text, "SENSOR OPEN");
  s.Set(137 - 2, 0x00);
  EXPECT_EQ(BurnerState(s, 2, false).text, "HIGH FIRE");
  // Another fan/heater's bytes do not leak into this one.
  EXPECT_EQ(BurnerState(s, 1, false).text, "BURNER OFF");
}

}  // namespace
}  // namespace orvandry::views
