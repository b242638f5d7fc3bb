#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "logging/log_sample.h"
#include "platform/colour.h"

namespace orvandry::graphs {

// One plotted point per pixel column of the graph.
inline constexpr int kPoints = 360;
inline constexpr int kSeriesCount = 6;
// The plot is 180 pixels high; point values are scaled into 0..180.
inline constexpr int kPlotHeight = 180;

enum class LabelKind : std::uint8_t { kMoisture, kTemperature, kPercent };

// One trace of the graph, in the order used everywhere (its index is its bit in the stored
// on/off byte): its toggle button, its two faces and its colours and label column.
struct SeriesDef {
  const char* button_name;
  int button_id;
  int column;  // 0..2: the toggle's column under the graph
  int row;     // 0..1: the toggle's row
  int face_on;
  int face_off;
  platform::Colour line;
  platform::Colour label;
  int label_left;
  int label_right;
  bool label_right_aligned;
  LabelKind kind;
};

inline constexpr std::array<SeriesDef, kSeriesCount> kSeries = {{
    {"GRAPH_MOIST_IN_BUTTON", 36872, 0, 0, 229, 230, platform::Rgb(0, 255, 0),
     platform::Rgb(0, 200, 0), 6, 39, false, LabelKind::kMoisture},
    {"GRAPH_TEMP_IN_BUTTON", 36873, 0, 1, 231, 232, platform::Rgb(255, 128, 64),
     platform::Rgb(200, 105, 50), 35, 65, false, LabelKind::kTemperature},
    {"GRAPH_MOIST_OUT_BUTTON", 36874, 1, 0, 233, 234, platform::Rgb(0, 255, 255),
     platform::Rgb(0, 200, 200), 60, 90, false, LabelKind::kMoisture},
    {"GRAPH_TEMP_OUT_BUTTON", 36875, 1, 1, 235, 236, platform::Rgb(255, 0, 255),
     platform::Rgb(200, 0, 200), 280, 310, true, LabelKind::kTemperature},
    {"GRAPH_DRYER_GRAIN_TEMP_BUTTON", 36876, 2, 0, 237, 238, platform::Rgb(255, 255, 0),
     platform::Rgb(200, 200, 0), 310, 337, true, LabelKind::kTemperature},
    {"GRAPH_MR_SPEED_BUTTON", 36877, 2, 1, 239, 240, platform::Rgb(255, 0, 0),
     platform::Rgb(150, 0, 0), 340, 365, true, LabelKind::kPercent},
}};

// The vertical scale of one trace: five labels base, base + step, ..., base + 4 x step.
struct AxisScale {
  int base = 0;
  int step = 1;
  int Top() const { return base + 4 * step; }
  int Label(int j) const { return base + j * step; }
  friend bool operator==(const AxisScale&, const AxisScale&) = default;
};

// The scale for points between `minimum` and `maximum`: a step from the range, a base that is a
// multiple of the step at or below the minimum (negative values too), and a top at or above the
// maximum.
AxisScale ScaleAxis(int minimum, int maximum);
// A point's height above the base line, 0..180 for values inside the scale.
int ScaledHeight(int value, const AxisScale& scale);

// The plotted values of every trace: moistures in tenths of a percent, temperatures in whole
// degrees (Celsius when `celsius`), the metering roll output in percent.
using Points = std::array<std::array<int, kPoints>, kSeriesCount>;

// Averages the window (span_hours x 360 samples, oldest first) down to 360 points per trace:
// point i is the mean of samples i x k .. i x k + k - 1 (integer division; temperatures stored in
// tenths are divided by 10 x k). Samples missing from a short window count as zero.
Points ReducePoints(const std::vector<logging::LogSample>& window, int span_hours, bool celsius);

// "15.5%", "152F" (or "67C"), "45%": an axis label.
std::string LabelText(LabelKind kind, int value, bool celsius);
// A value in tenths as "%d.%d": 155 -> "15.5", -5 -> "-0.5".
std::string TenthsText(int tenths);

// Times on a 12-hour clock: hour 0 is 12 AM, 12 is 12 PM, 13..23 are 1..11 PM.
int Hour12(int hour);
const char* AmPm(int hour);
// "1:05AM", for the ends of the time axis.
std::string ClockText(int hour, int minute);
// "1:05AM 12/06", for the middle of the time axis.
std::string ClockDateText(int hour, int minute, int month, int day);
// " 1:05AM 12/6", the status chart's time column.
std::string ChartTimeText(const logging::LogSample& sample);

}  // namespace orvandry::graphs
