#include "views/status/plenum_panel.h"

#include <gtest/gtest.h>

#include <array>
#include <string>

#include "link/link_shared.h"
#include "link/status_map.h"
#include "platform/qt_conversions.h"
#include "platform/recording_canvas.h"
#include "views/status/fitted_text.h"
#include "views/view_fixture.h"

namespace orvandry::views {
namespace {

namespace sm = link::status_map;
using platform::Bgr;
using platform::Font;
using platform::Rect;

constexpr platform::Colour kGreen = Bgr(0x00FF00);
constexpr platform::Colour kRed = Bgr(0x0000FF);
// Blue text (0xFF0000) is drawn in the lighter blue on the black panel.
constexpr platform::Colour kBlue = platform::Rgb(0x50, 0x8C, 0xFF);
constexpr platform::Colour kOrange = Bgr(0x0064C8);
constexpr platform::Colour kSetpoint = Bgr(0x00C8C8);
constexpr platform::Colour kYellow = Bgr(0x00FFFF);

std::string Deg(const char* before, const char* after = "F ") {
  return std::string(before) + "\xB0" + after;
}

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

TEST_F(PlenumPanel, LayoutFollowsTheFanCountCodeAndAnUnknownCodeLeavesThePanelBlack) {
  const PlenumLayout expected[] = {PlenumLayout::kOne,  PlenumLayout::kTwo, PlenumLayout::kThree,
                                   PlenumLayout::kFour, PlenumLayout::kSix, PlenumLayout::kNone};
  for (std::uint8_t code = 0; code < 6; ++code) {
    Layout(code);
    EXPECT_EQ(ChoosePlenumLayout(s), expected[code]) << int{code};
  }
  Layout(4);
  s.Set(sm::kHardwareOptions, 0x20);  // the one-plenum option wins
  EXPECT_EQ(ChoosePlenumLayout(s), PlenumLayout::kOne);
  s.Set(sm::kHardwareOptions, 0x02);
  EXPECT_EQ(ChoosePlenumLayout(s), PlenumLayout::kSix);

  Layout(255);
  PaintPlenumPanel(canvas, s, false);
  EXPECT_EQ(canvas.Count<platform::TextCall>(), 0U) << canvas.Describe();
  EXPECT_EQ(canvas.Count<platform::LineCall>(), 0U);
  const auto fills = canvas.All<platform::FillRectCall>();
  ASSERT_EQ(fills.size(), 1U);
  EXPECT_EQ(fills[0]->colour, Bgr(0x000000));
  EXPECT_EQ(fills[0]->rect, (Rect{0, 0, 396, 151}));
}

// One figure per kind of text in every layout: which plenum goes where, in which font and colour,
// plus the number of texts and of thick and thin lines.
TEST_F(PlenumPanel, EachLayoutPlacesItsPlenums) {
  struct Text {
    std::uint8_t code;
    std::string text;
    Rect rect;
    Font font;
    platform::Colour colour;
  };
  const auto E = Rect::FromEdges;
  const Text texts[] = {
      {0, "SETPOINT", E(0, 0, 150, 20), {18, 900}, kSetpoint},
      {0, Deg("181 "), E(0, 15, 150, 75), {40, 900}, kSetpoint},
      {0, Deg("171 "), E(150, 0, 400, 120), {80, 900}, kRed},
      {0, "BURNER OFF", E(0, 100, 150, 120), {18, 900}, kGreen},
      {1, "PLENUM 2 (UPPER)", E(0, 0, 150, 20), {14, 900}, kBlue},
      {1, Deg("SP:  182 "), E(0, 15, 150, 55), {30, 900}, kSetpoint},
      {1, Deg("172", "F"), E(150, 0, 400, 70), {80, 900}, kRed},
      {1, Deg("171", "F"), E(150, 70, 400, 145), {80, 900}, kRed},
      {2, "PLENUM 2 (MIDDLE)", E(133, 0, 266, 20), {12, 400}, kBlue},  // light weights: regular
      {2, Deg("SP:  183 "), E(266, 20, 400, 60), {25, 900}, kSetpoint},
      {2, Deg("171", "F"), E(0, 70, 133, 140), {40, 900}, kRed},
      {3, "PLENUM 4", E(205, 0, 300, 20), {16, 600}, kBlue},
      {3, "183", E(200, 110, 270, 140), {25, 400}, kSetpoint},
      {3, Deg("172", "F"), E(0, 10, 195, 70), {40, 900}, kRed},
      {3, Deg("171", "F"), E(0, 83, 195, 143), {40, 900}, kRed},
      {4, "PLENUM 1", E(3, 73, 55, 90), {12, 400}, kBlue},
      {4, "186", E(270, 45, 295, 75), {16, 500}, kYellow},
      {4, Deg("175", "F"), E(280, 110, 385, 145), {30, 900}, kRed},
  };
  // Per layout: texts, thick and thin lines.
  const std::array<std::size_t, 3> counts[] = {
      {4, 2, 0}, {8, 3, 0}, {12, 2, 0}, {20, 2, 4}, {30, 3, 6}};
  for (int k = 1; k <= 6; ++k)
    Plenum(k, static_cast<std::int16_t>(180 + k), static_cast<std::int16_t>(170 + k));
  for (const Text& t : texts) {
    SCOPED_TRACE("layout " + std::to_string(t.code) + " " + t.text);
    Layout(t.code);
    const auto& call = Paint(t.text);
    EXPECT_EQ(call.rect, t.rect);
    EXPECT_EQ(call.font, t.font);
    EXPECT_EQ(call.colour, t.colour);
    EXPECT_EQ(canvas.Count<platform::TextCall>(), counts[t.code][0]);
    EXPECT_EQ(Lines(2), counts[t.code][1]);
    EXPECT_EQ(Lines(1), counts[t.code][2]);
  }
}

TEST_F(PlenumPanel, OnePlenumBurnerStates) {
  s.Set(sm::BurnerStatus(1), 0x01);
  BurnerOutput(1, 0x06);
  EXPECT_EQ(Paint("Burner is").colour, kGreen);
  EXPECT_EQ(Paint("  Purging...").rect, Rect::FromEdges(0, 110, 150, 130));
  EXPECT_FALSE(Shows("HIGH FIRE"));
  s.Set(sm::BurnerStatus(1), 0x02);
  EXPECT_EQ(Paint("  Igniting...").colour, kRed);
  EXPECT_EQ(Paint("Burner is").colour, kRed);

  s.Set(sm::BurnerStatus(1), 0);
  SensorStatus(1, 0x30);
  EXPECT_EQ(Paint("SENSOR SHORTED").colour, kOrange);
  SensorStatus(1, 0x10);
  EXPECT_EQ(Paint("SENSOR OPEN").colour, kOrange);

  SensorStatus(1, 0);
  BurnerOutput(1, 0x04);  // high fire without the burner on is still off
  EXPECT_EQ(Paint("BURNER OFF").colour, kGreen);
  BurnerOutput(1, 0x02);
  EXPECT_EQ(Paint("LOW FIRE").colour, kBlue);
  BurnerOutput(1, 0x06);
  EXPECT_EQ(Paint("HIGH FIRE").colour, kRed);
  s.Set(sm::kHardwareOptions, 0x22);  // an on/off burner has no stages
  EXPECT_EQ(Paint("BURNER ON").colour, kRed);
  EXPECT_FALSE(Shows("HIGH FIRE"));
}

TEST_F(PlenumPanel, OnePlenumStagedBatchWithDualSetpoints) {
  Plenum(1, 180, 150);
  s.SetT16(sm::kPlenum1LowTemp, 140);
  s.Set(sm::kBatchSelector, 1);
  s.Set(sm::kConfigBits, 0x02);

  EXPECT_EQ(Paint(Deg("180 ")).colour, kRed);
  const auto& small_first = Paint(Deg(" 180 "));
  EXPECT_EQ(small_first.font, (Font{16, 400}));
  EXPECT_EQ(small_first.rect, Rect::FromEdges(0, 50, 150, 70));
  EXPECT_EQ(small_first.colour, kRed);
  EXPECT_EQ(small_first.HorizontalAlignment(), platform::kAlignLeft);
  const auto& small_second = Paint(Deg(" 140 "));
  EXPECT_EQ(small_second.colour, kBlue);
  EXPECT_EQ(small_second.HorizontalAlignment(), platform::kAlignRight);

  s.Set(sm::BurnerStatus(1), 0x10);  // high-heat stage: the second setpoint is the one in force
  const auto& big = Paint(Deg("140 "));
  EXPECT_EQ(big.font, (Font{40, 900}));
  EXPECT_EQ(big.colour, kBlue);

  // Continuous flow never shows the pair.
  s.Set(sm::kBatchSelector, 0);
  EXPECT_EQ(Paint(Deg("180 ")).colour, kSetpoint);
  EXPECT_FALSE(Shows(Deg(" 140 ")));
}

TEST_F(PlenumPanel, CelsiusTruncatesTowardZero) {
  Plenum(1, 100, -4);
  Paint(Deg("37 ", "C "), true);
  Paint(Deg("-20 ", "C "), true);
  Layout(4);
  Plenum(6, 100, -4);
  EXPECT_EQ(Paint("37", true).colour, kYellow);
  EXPECT_EQ(Paint(Deg("-20", "C"), true).font, (Font{30, 900}));
}

TEST_F(PlenumPanel, TwoAndThreePlenumsTakeTheSensorFromItsStatusBits) {
  Layout(1);
  SensorStatus(2, 0x20);
  const auto& shorted = Paint("SENSOR SHORTED");
  EXPECT_EQ(shorted.rect, Rect::FromEdges(0, 53, 150, 70));
  EXPECT_EQ(shorted.font, (Font{14, 900}));
  // The reading alone says nothing about the sensor here.
  SensorStatus(2, 0);
  Plenum(1, 180, 400);
  EXPECT_EQ(Paint("BURNER OFF").rect, Rect::FromEdges(0, 53, 150, 70));
  EXPECT_EQ(canvas.FindTextContaining("Sensor"), nullptr);

  Layout(2);
  s.Set(sm::BurnerStatus(2), 0x02);
  const auto& igniting = Paint("Igniting...");
  EXPECT_EQ(igniting.rect, Rect::FromEdges(133, 50, 266, 70));
  EXPECT_EQ(igniting.colour, kRed);
}

TEST_F(PlenumPanel, FourAndSixPlenumsJudgeTheSensorFromTheReading) {
  struct Case {
    std::int16_t reading;
    const char* shown;
  };
  const Case cases[] = {
      {261, "Sensor Shorted"}, {260, nullptr}, {-36, "Sensor Open"}, {-35, nullptr}};
  for (std::uint8_t code : {3, 4}) {
    Layout(code);
    const int k = code == 3 ? 4 : 3;
    SensorStatus(k, 0x30);  // the status bits are not what these layouts look at
    for (const Case& c : cases) {
      SCOPED_TRACE(std::to_string(code) + " reading " + std::to_string(c.reading));
      Plenum(k, 180, c.reading);
      if (c.shown != nullptr) {
        const auto& text = Paint("Plenum " + std::to_string(k) + " " + c.shown);
        EXPECT_EQ(text.colour, kOrange);
      } else {
        Paint("BURNER OFF");
        EXPECT_EQ(canvas.FindTextContaining("Sensor"), nullptr) << canvas.Describe();
        EXPECT_EQ(canvas.FindTextContaining("SENSOR"), nullptr) << canvas.Describe();
      }
    }
  }
  Plenum(3, 180, -36);
  EXPECT_EQ(Paint("Plenum 3 Sensor Open").rect, Rect::FromEdges(175, 90, 250, 105));

  // Purging and igniting outrank a failed sensor.
  Plenum(3, 180, 261);
  s.Set(sm::BurnerStatus(3), 0x01);
  Paint("Purging...");
  s.Set(sm::BurnerStatus(3), 0x02);
  Paint("Igniting...");
  EXPECT_EQ(canvas.FindTextContaining("Sensor"), nullptr);
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
  s.Set(131 - 2, 0x02);
  EXPECT_EQ(BurnerState(s, 2, false).text, "LOW FIRE");
  // Another fan/heater's bytes do not leak into this one.
  EXPECT_EQ(BurnerState(s, 1, false).text, "BURNER OFF");
}

// With the display's real font the long texts are squeezed into their boxes instead of being cut:
// every text of every layout fits its box, or has reached the smallest height.
TEST_F(PlenumPanel, LongTextsAreSqueezedIntoTheirBoxes) {
  for (int k = 1; k <= 6; ++k) Plenum(k, -188, 261);
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

}  // namespace
}  // namespace orvandry::views
