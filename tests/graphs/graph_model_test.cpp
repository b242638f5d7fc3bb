#include "graphs/graph_model.h"

#include <gtest/gtest.h>

namespace orvandry::graphs {
namespace {

struct ScaleCase {
  int minimum, maximum;
  AxisScale expected;
};

TEST(GraphScale, StepBaseAndTopFollowTheRange) {
  const ScaleCase cases[] = {
      {0, 0, {0, 1}},          // all equal: range 3, labels 0..4
      {152, 187, {150, 10}},   // 150..190
      {100, 400, {100, 100}},  // 100..500
      {0, 95, {0, 25}},        // range 98: 0..100
      {-23, 10, {-30, 10}},    // a negative minimum: the base is below it, on the step
      {-7, -7, {-7, 1}},
      {-250, 90, {-300, 100}},
      // 150 + 40 is short of 196: the step grows, rounded up so the top covers the maximum.
      {159, 196, {150, 12}},
  };
  for (const ScaleCase& c : cases) {
    SCOPED_TRACE(::testing::Message() << c.minimum << ".." << c.maximum);
    const AxisScale scale = ScaleAxis(c.minimum, c.maximum);
    EXPECT_EQ(scale, c.expected) << scale.base << " step " << scale.step;
    EXPECT_LE(scale.base, c.minimum);
    EXPECT_GE(scale.Top(), c.maximum);
  }
}

TEST(GraphScale, EveryPointLandsInsideThePlot) {
  for (int minimum = -400; minimum <= 400; minimum += 37)
    for (int spread = 0; spread <= 900; spread += 29) {
      const AxisScale scale = ScaleAxis(minimum, minimum + spread);
      ASSERT_GE(ScaledHeight(minimum, scale), 0) << minimum << "+" << spread;
      ASSERT_LE(ScaledHeight(minimum + spread, scale), kPlotHeight) << minimum << "+" << spread;
    }
  EXPECT_EQ(ScaledHeight(170, AxisScale{150, 10}), 90);
}

TEST(GraphPoints, AveragePerColumnInTheirUnitsAndKeepTheSign) {
  std::vector<logging::LogSample> window(2 * 360);
  window[0].incoming_temp_x10 = -105;  // -10.5 F: a frozen grain temperature, not 65000
  window[1].incoming_temp_x10 = -95;
  window[0].incoming_moisture_x10 = 250;
  window[1].incoming_moisture_x10 = 253;
  window[0].dryer_grain_temp_f = 212;
  window[1].dryer_grain_temp_f = 212;
  window[0].meter_output_percent = 50;
  window[718].outgoing_temp_x10 = 800;
  window[719].outgoing_temp_x10 = 820;
  const Points f = ReducePoints(window, 2, false);
  EXPECT_EQ(f[1][0], -10);  // (-105 - 95) / 20
  EXPECT_EQ(f[0][0], 251);  // (250 + 253) / 2
  EXPECT_EQ(f[4][0], 212);
  EXPECT_EQ(f[5][0], 25);
  EXPECT_EQ(f[3][359], 81);
  EXPECT_EQ(f[3][358], 0);
  const Points c = ReducePoints(window, 2, true);
  EXPECT_EQ(c[4][0], 100);
  EXPECT_EQ(c[1][0], -23);  // -10 F
  EXPECT_EQ(c[0][0], 251) << "moisture is not a temperature";
  // A window shorter than the span counts the missing samples as zero.
  EXPECT_EQ(ReducePoints({}, 8, false)[2][100], 0);
}

TEST(GraphTexts, TwelveHourClockAndLabels) {
  struct ClockCase {
    int hour, minute;
    const char* text;
  };
  const ClockCase clocks[] = {{0, 5, "12:05AM"},  {1, 0, "1:00AM"},  {11, 59, "11:59AM"},
                              {12, 0, "12:00PM"}, {13, 7, "1:07PM"}, {23, 30, "11:30PM"}};
  for (const ClockCase& c : clocks) EXPECT_EQ(ClockText(c.hour, c.minute), c.text);
  EXPECT_EQ(ClockDateText(0, 0, 0, 0), "12:00AM 0/00");
  EXPECT_EQ(ClockDateText(14, 3, 12, 6), "2:03PM 12/06");
  logging::LogSample s;
  s.hour = 0;
  s.minute = 5;
  s.month = 12;
  s.day = 6;
  EXPECT_EQ(ChartTimeText(s), "12:05AM 12/6");
  s.hour = 9;
  EXPECT_EQ(ChartTimeText(s), " 9:05AM 12/6");
  s.hour = 12;
  EXPECT_EQ(ChartTimeText(s), "12:05PM 12/6");
  EXPECT_EQ(LabelText(LabelKind::kMoisture, 155, false), "15.5%");
  EXPECT_EQ(LabelText(LabelKind::kMoisture, -5, false), "-0.5%");
  EXPECT_EQ(LabelText(LabelKind::kTemperature, -12, false), "-12F");
  EXPECT_EQ(LabelText(LabelKind::kTemperature, 65, true), "65C");
  EXPECT_EQ(LabelText(LabelKind::kPercent, 45, false), "45%");
}

}  // namespace
}  // namespace orvandry::graphs
