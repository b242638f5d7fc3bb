#include "graphs/status_chart.h"

#include <algorithm>
#include <cstdio>
#include <string>

#include "graphs/graph_model.h"
#include "logging/log_reader.h"
#include "platform/temperature_units.h"

namespace orvandry::graphs {

namespace {

using platform::Colour;
using platform::Rect;
using platform::Rgb;

struct Column {
  int left;
  int right;
  const char* top;
  const char* bottom;
  Colour colour;
};

constexpr Column kColumns[] = {
    {0, 100, "SAMPLE TIME", "", Rgb(0, 255, 0)}, {100, 150, "GRAIN", "TEMP", Rgb(255, 255, 0)},
    {150, 200, "MOIST", "IN", Rgb(255, 0, 255)}, {200, 250, "MOIST", "OUT", Rgb(0, 255, 0)},
    {250, 300, "TEMP", "OUT", Rgb(0, 255, 255)}, {300, 350, "M.R.O.", "", Rgb(255, 0, 0)},
};
constexpr Colour kGrid = Rgb(150, 150, 150);
// Pure blue on black cannot be read across a dryer shed; a lighter blue keeps the meaning.
constexpr Colour kLoggingOn = Rgb(90, 150, 255);
constexpr int kFirstRowTop = 40;
constexpr int kRowPitch = 16;

std::string TemperatureText(int fahrenheit, bool celsius) {
  char text[24];
  std::snprintf(text, sizeof text, "%d\xB0%c",
                celsius ? platform::fahrenheit_to_celsius(fahrenheit) : fahrenheit,
                celsius ? 'C' : 'F');
  return text;
}

std::string PercentText(int value) {
  char text[24];
  std::snprintf(text, sizeof text, "%d %%", value);
  return text;
}

}  // namespace

int StatusChart::MaxPosition(std::size_t count) {
  return count > kRows ? static_cast<int>(count - kRows) : 0;
}

int StatusChart::Position(std::size_t count) const {
  const int bottom = MaxPosition(count);
  return hold_ == 0 ? bottom : std::clamp(position_, 0, bottom);
}

std::size_t StatusChart::Skip(std::size_t count) const {
  return static_cast<std::size_t>(MaxPosition(count) - Position(count));
}

void StatusChart::Scroll(Step step, std::size_t count) {
  static constexpr int kDelta[] = {-1, 1, -kPage, kPage};
  ScrollTo(Position(count) + kDelta[static_cast<int>(step)], count);
}

void StatusChart::ScrollTo(int position, std::size_t count) {
  const int bottom = MaxPosition(count);
  position_ = std::clamp(position, 0, bottom);
  hold_ = position_ == bottom ? 0 : kHoldSeconds;
}

bool StatusChart::SecondTick() {
  if (hold_ == 0) return false;
  return --hold_ == 0;
}

std::string SampleTimeCaption(int minutes) {
  char text[32];
  std::snprintf(text, sizeof text, "SAMPLE TIME %d Min", minutes);
  return text;
}

std::string SampleTimeButtonText(int minutes) {
  std::string text = SampleTimeCaption(minutes);
  text[std::string("SAMPLE TIME").size()] = '\n';
  return text;
}

void PaintStatusChart(platform::Canvas& canvas, const StatusChart& chart,
                      const logging::LogReader& reader, const ChartStatus& status) {
  const platform::Size size = canvas.GetSize();
  canvas.FillRect(Rect{0, 0, size.w, size.h}, Rgb(0, 0, 0));
  canvas.SetBackgroundMode(platform::BackgroundMode::kTransparent);
  const unsigned centred = platform::kAlignCentre | platform::kAlignVCentre | platform::kSingleLine;

  // Headers (the first column's lies under the sample-time button).
  canvas.SetFont(platform::Font{12, 700});
  for (const Column& c : kColumns) {
    canvas.SetTextColour(c.colour);
    canvas.Text(Rect::FromEdges(c.left, 0, c.right, 15), c.top, centred);
    if (*c.bottom != '\0') canvas.Text(Rect::FromEdges(c.left, 15, c.right, 30), c.bottom, centred);
  }
  char minutes[16];
  std::snprintf(minutes, sizeof minutes, "%d Min", status.sample_minutes);
  canvas.SetTextColour(kColumns[0].colour);
  canvas.Text(Rect::FromEdges(60, 15, 98, 30), minutes, centred);

  // Whether the logs are sampling, and how full the long-term log is.
  canvas.SetFont(platform::Font{12, 300});
  if (status.running) {
    canvas.SetTextColour(kLoggingOn);
    canvas.Text(Rect::FromEdges(363, 0, 391, 15), "ON", centred);
    const int used = reader.LongTermUsedPercent();
    char used_text[16];
    std::snprintf(used_text, sizeof used_text, "%d%%", used);
    canvas.Text(Rect::FromEdges(363, 15, 391, 30), used > 99 ? "FULL" : used_text, centred);
  } else {
    canvas.SetTextColour(Rgb(150, 0, 0));
    canvas.Text(Rect::FromEdges(363, 0, 391, 15), "OFF", centred);
  }

  // The rows, oldest at the top.
  const std::size_t count = reader.CountShortTermSamples();
  if (count > 0) {
    const std::vector<logging::LogSample> rows =
        reader.ReadShortTermSamples(StatusChart::kRows, chart.Skip(count));
    canvas.SetFont(platform::Font{12, 400});
    if (!rows.empty() && rows.size() <= StatusChart::kRows) {
      for (std::size_t i = 0; i < rows.size(); ++i) {
        const logging::LogSample& s = rows[i];
        const int top = kFirstRowTop + kRowPitch * static_cast<int>(i);
        const std::string cells[] = {
            ChartTimeText(s),
            TemperatureText(s.dryer_grain_temp_f, status.celsius),
            TenthsText(s.incoming_moisture_x10) + "%",
            TenthsText(s.outgoing_moisture_x10) + "%",
            TemperatureText(s.outgoing_temp_x10 / 10, status.celsius),
            PercentText(s.meter_output_percent),
        };
        for (std::size_t c = 0; c < std::size(kColumns); ++c) {
          canvas.SetTextColour(kColumns[c].colour);
          canvas.Text(Rect::FromEdges(kColumns[c].left, top, kColumns[c].right, top + 16), cells[c],
                      centred);
        }
      }
    }
  }

  // Grid.
  for (int x : {100, 150, 200, 250, 300}) canvas.Line({x, 0}, {x, 205}, kGrid);
  canvas.Line({0, 33}, {400, 33}, kGrid);
  canvas.Line({0, 35}, {400, 35}, kGrid);
  canvas.Line({361, 0}, {361, 33}, kGrid);
}

}  // namespace orvandry::graphs
