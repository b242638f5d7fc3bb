#include "graphs/grain_view.h"

#include <gtest/gtest.h>

#include "link/status_map.h"
#include "platform/recording_canvas.h"

namespace orvandry::graphs {
namespace {

namespace sm = link::status_map;
using platform::RecordingCanvas;
using platform::Rgb;

class GrainViewTest : public ::testing::Test {
 protected:
  RecordingCanvas Paint(bool celsius = false) {
    RecordingCanvas canvas(platform::Size{236, 181});
    PaintGrainView(canvas, view, state, celsius);
    return canvas;
  }
  link::ByteImage state;
  GrainView view;
};

TEST_F(GrainViewTest, ModeLineFollowsModeAndManualAutoBits) {
  struct Case {
    std::uint8_t mode, bits179;
    const char* text;
    platform::Colour colour;
  };
  const Case cases[] = {
      {0x00, 0x00, "NO MC SELECTED", Rgb(255, 0, 0)},
      {0x04, 0x02, "NO MC SELECTED", Rgb(255, 0, 0)},
      {0x01, 0x00, "BASIC MC", Rgb(0, 255, 0)},
      {0x01, 0x04, "BASIC MC : MANUAL", Rgb(90, 150, 255)},
      {0xC1, 0x02, "BASIC MC : AUTO : 1SP", Rgb(90, 150, 255)},
      {0x81, 0x02, "BASIC MC : AUTO : 2SP", Rgb(90, 150, 255)},
      {0x82, 0x00, "3-SPEED MC", Rgb(0, 255, 0)},
      {0x82, 0x06, "3-SPEED MC : AUTO", Rgb(90, 150, 255)},
      {0x03, 0x02, "ADVANCED MC : MANUAL", Rgb(90, 150, 255)},
      {0xA3, 0x02, "ADVANCED MC : AUTO", Rgb(90, 150, 255)},
  };
  for (const Case& c : cases) {
    state.Set(sm::kMeteringMode, c.mode);
    state.Set(sm::kStatusBits179, c.bits179);
    const ModeLine line = GrainModeLine(state);
    EXPECT_EQ(line.text, c.text) << int{c.mode};
    EXPECT_EQ(line.colour, c.colour) << int{c.mode};
  }
}

TEST_F(GrainViewTest, ValuesFollowTheChoicesAndTemperaturesKeepTheirSign) {
  state.SetBe16(sm::kIncomingMoisture, 254);
  state.SetBe16(sm::kOutgoingMoisture, 0x009B);
  state.Set(sm::kGrainTempSelector, 1);
  state.SetT16(sm::kGrainTempSelector1, 104);
  state.SetBe16(sm::kIncomingGrainTemp, static_cast<std::uint16_t>(-125));  // -12.5 F
  state.SetBe16(sm::kOutgoingGrainTemp, 952);
  EXPECT_EQ(GrainMoistureText(view, state), "25.4");
  view.ToggleMoisture();
  EXPECT_EQ(GrainMoistureText(view, state), "15.5");
  EXPECT_EQ(GrainTemperatureText(view, state, false), "104");
  view.NextTemperature();
  EXPECT_EQ(GrainTemperatureText(view, state, false), "-12");
  EXPECT_EQ(GrainTemperatureText(view, state, true), "-24");
  view.NextTemperature();
  EXPECT_EQ(GrainTemperatureText(view, state, false), "95");
  view.NextTemperature();
  EXPECT_EQ(view.temperature(), GrainView::kTempDryer) << "three touches come back to the dryer";
  state.Set(sm::kGrainTempSelector, 7);
  EXPECT_EQ(GrainTemperatureText(view, state, false), "---");
}

TEST_F(GrainViewTest, PaintsSetpointsAndMarksTheChoicesWithoutChangingThem) {
  state.Set(sm::kMeteringMode, 0xC1);
  state.Set(sm::kStatusBits179, 0x02);
  state.SetT16(sm::kGrainTempSetpoint, 105);
  RecordingCanvas canvas = Paint();
  ASSERT_NE(canvas.FindText("BASIC MC : AUTO : 1SP"), nullptr);
  EXPECT_NE(canvas.FindText("105"), nullptr);
  EXPECT_NE(canvas.FindText("\xB0"
                            "F"),
            nullptr);
  // The chosen labels are black on their colour; the others in colour.
  const auto* dryer = canvas.FindText(" DRYER ");
  ASSERT_NE(dryer, nullptr);
  EXPECT_EQ(dryer->colour, Rgb(0, 0, 0));
  EXPECT_EQ(canvas.FindText("  OUT  ")->colour, Rgb(80, 200, 200));
  for (int i = 0; i < 3; ++i) Paint();
  EXPECT_EQ(view.moisture(), GrainView::kMoistureIn);
  EXPECT_EQ(view.temperature(), GrainView::kTempDryer);

  state.Set(sm::kMeteringMode, 0x00);
  canvas = Paint(true);
  EXPECT_NE(canvas.FindText("NO MC SELECTED"), nullptr);
  EXPECT_EQ(canvas.FindText("SP"), nullptr);
  EXPECT_NE(canvas.FindText("\xB0"
                            "C"),
            nullptr);
  state.Set(sm::kMeteringMode, 0x03);
  state.SetBe16(sm::kMoistureSetpoint, 152);
  EXPECT_NE(Paint().FindText("15.2"), nullptr);
}

}  // namespace
}  // namespace orvandry::graphs
