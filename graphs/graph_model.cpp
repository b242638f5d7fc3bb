#include "graphs/graph_model.h"

#include <algorithm>
#include <cstdio>

#include "platform/temperature_units.h"

namespace orvandry::graphs {

namespace {

int StepForRange(int range) {
  struct Band {
    int up_to;
    int step;
  };
  static constexpr Band kBands[] = {{4, 1},   {8, 2},    {12, 3},   {20, 5},   {40, 10},
                                    {80, 20}, {100, 25}, {120, 30}, {160, 40}, {200, 50}};
  for (const Band& band : kBands)
    if (range <= band.up_to) return band.step;
  return 100;
}

// Rounds down to a multiple of `step`, towards minus infinity.
int FloorToStep(int value, int step) {
  const int q = value / step;
  return (q * step > value) ? (q - 1) * step : q * step;
}

// The raw value of one trace in one sample, before averaging.
int RawValue(const logging::LogSample& s, int series) {
  switch (series) {
    case 0:
      return s.incoming_moisture_x10;
    case 1:
      return s.incoming_temp_x10;
    case 2:
      return s.outgoing_moisture_x10;
    case 3:
      return s.outgoing_temp_x10;
    case 4:
      return s.dryer_grain_temp_f;
    default:
      return s.meter_output_percent;
  }
}

bool InTenths(int series) {
  return series == 1 || series == 3;
}

}  // namespace

AxisScale ScaleAxis(int minimum, int maximum) {
  AxisScale scale;
  scale.step = StepForRange(maximum - minimum + 3);
  scale.base = FloorToStep(minimum, scale.step);
  // A wide spread the first step cannot cover: grow the step, rounding up so the top is never
  // below the highest point.
  const int short_by = maximum - scale.Top();
  if (short_by > 0) scale.step += (short_by + 3) / 4;
  return scale;
}

int ScaledHeight(int value, const AxisScale& scale) {
  const double span = scale.Top() - scale.base;
  return static_cast<int>(static_cast<double>(value - scale.base) * kPlotHeight / span);
}

Points ReducePoints(const std::vector<logging::LogSample>& window, int span_hours, bool celsius) {
  Points points{};
  const int k = std::max(span_hours, 1);
  const std::size_t n = window.size();
  for (int series = 0; series < kSeriesCount; ++series) {
    const int divisor = InTenths(series) ? 10 * k : k;
    const bool temperature =
        kSeries[static_cast<std::size_t>(series)].kind == LabelKind::kTemperature;
    for (int i = 0; i < kPoints; ++i) {
      int sum = 0;
      const std::size_t first = static_cast<std::size_t>(i) * static_cast<std::size_t>(k);
      for (std::size_t j = first; j < first + static_cast<std::size_t>(k) && j < n; ++j)
        sum += RawValue(window[j], series);
      int value = sum / divisor;
      if (temperature && celsius) value = platform::fahrenheit_to_celsius(value);
      points[static_cast<std::size_t>(series)][static_cast<std::size_t>(i)] = value;
    }
  }
  return points;
}

std::string TenthsText(int tenths) {
  const int magnitude = tenths < 0 ? -tenths : tenths;
  char text[24];
  std::snprintf(text, sizeof text, "%s%d.%d", tenths < 0 ? "-" : "", magnitude / 10,
                magnitude % 10);
  return text;
}

std::string LabelText(LabelKind kind, int value, bool celsius) {
  char text[24];
  switch (kind) {
    case LabelKind::kMoisture:
      return TenthsText(value) + "%";
    case LabelKind::kTemperature:
      std::snprintf(text, sizeof text, "%d%c", value, celsius ? 'C' : 'F');
      return text;
    case LabelKind::kPercent:
      break;
  }
  std::snprintf(text, sizeof text, "%d%%", value);
  return text;
}

int Hour12(int hour) {
  const int h = hour % 12;
  return h == 0 ? 12 : h;
}

const char* AmPm(int hour) {
  return hour >= 12 ? "PM" : "AM";
}

std::string ClockText(int hour, int minute) {
  char text[24];
  std::snprintf(text, sizeof text, "%d:%02d%s", Hour12(hour), minute, AmPm(hour));
  return text;
}

std::string ClockDateText(int hour, int minute, int month, int day) {
  char text[40];
  std::snprintf(text, sizeof text, "%d:%02d%s %d/%02d", Hour12(hour), minute, AmPm(hour), month,
                day);
  return text;
}

std::string ChartTimeText(const logging::LogSample& sample) {
  char text[40];
  std::snprintf(text, sizeof text, "%2d:%.2d%s %d/%d", Hour12(sample.hour), sample.minute,
                AmPm(sample.hour), sample.month, sample.day);
  return text;
}

}  // namespace orvandry::graphs
