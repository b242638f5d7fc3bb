#include "graphs/graph_view.h"

#include <algorithm>
#include <cstdio>

#include "logging/log_reader.h"
#include "platform/settings_store.h"
#include "shell/settings.h"

namespace orvandry::graphs {

namespace {

using platform::Colour;
using platform::Rect;
using platform::Rgb;

constexpr int kGridRows[] = {47, 95, 142};
constexpr int kBaseLine = 185;
constexpr int kPlotBottom = 184;
// Label j of a trace sits in these rows (j = 0 at the bottom).
constexpr int kLabelTop[5] = {170, 142, 95, 47, 5};
constexpr int kLabelBottom[5] = {190, 162, 115, 67, 20};
constexpr Colour kFrameGrey = Rgb(100, 100, 100);

}  // namespace

GraphView::GraphView(shell::Settings& settings, platform::SettingsStore& store)
    : settings_(settings), store_(store) {}

int GraphView::SpanCode() const {
  return settings_.graph_horizontal_scale <= 3 ? settings_.graph_horizontal_scale : 0;
}

std::uint8_t GraphView::Traces() const {
  return static_cast<std::uint8_t>(settings_.graph_traces & 0x3F);
}

bool GraphView::TraceOn(int series) const {
  return series >= 0 && series < kSeriesCount && (Traces() >> series & 1) != 0;
}

void GraphView::ToggleTrace(int series) {
  if (series < 0 || series >= kSeriesCount) return;
  settings_.graph_traces = static_cast<std::uint8_t>(Traces() ^ (1U << series));
  store_.WriteByte(shell::kGraphTracesOnOff, settings_.graph_traces);  // a failure changes nothing
}

void GraphView::SetSpanCode(int code, const logging::LogReader& reader) {
  settings_.graph_horizontal_scale = static_cast<std::uint8_t>(code >= 0 && code <= 3 ? code : 0);
  store_.WriteByte(shell::kGraphHorizontalScale, settings_.graph_horizontal_scale);
  scroll_back_ = ScrollBack(reader);
}

int GraphView::ScrollLimit(const logging::LogReader& reader) const {
  return std::max(reader.GraphScrollLimit(SpanHours()), 0);
}

int GraphView::ScrollBack(const logging::LogReader& reader) const {
  return std::clamp(scroll_back_, 0, ScrollLimit(reader));
}

void GraphView::StepBack(const logging::LogReader& reader) {
  scroll_back_ = std::min(ScrollBack(reader) + 1, ScrollLimit(reader));
}

void GraphView::StepForward(const logging::LogReader& reader) {
  scroll_back_ = std::max(ScrollBack(reader) - 1, 0);
}

void GraphView::ThumbTo(int position, const logging::LogReader& reader) {
  const int limit = ScrollLimit(reader);
  scroll_back_ = limit - std::clamp(position, 0, limit);
}

std::string ScrollBackText(int scroll_back, int limit) {
  if (scroll_back > 0 && scroll_back >= limit) return "[END]";
  char text[24];
  std::snprintf(text, sizeof text, "[-%d HR]", scroll_back);
  return text;
}

void PaintGraphArea(platform::Canvas& canvas, const GraphView& view,
                    const logging::LogReader& reader, bool celsius) {
  const int span = view.SpanHours();
  const int back = view.ScrollBack(reader);
  PaintGraphWindow(canvas, reader.ReadGraphWindow(span, back), span, view.Traces(),
                   ScrollBackText(back, view.ScrollLimit(reader)), celsius);
}

void PaintGraphWindow(platform::Canvas& canvas, const std::vector<logging::LogSample>& window,
                      int span_hours, std::uint8_t traces, const std::string& scroll_text,
                      bool celsius) {
  const int w = kDrawingAreaSize.w;
  const int h = kDrawingAreaSize.h;
  // 1. Background and grid.
  canvas.FillRect(Rect{0, 0, w, h}, Rgb(0, 0, 0));
  for (int y : kGridRows)
    for (int x = 1; x <= 376; x += 3) canvas.FillRect(Rect{x, y, 1, 1}, Rgb(0, 255, 0));
  canvas.Line({0, kBaseLine}, {w, kBaseLine}, Rgb(0, 200, 0));

  // 2.-4. The points and their scales.
  const Points points = ReducePoints(window, span_hours, celsius);
  std::array<AxisScale, kSeriesCount> scales{};
  for (int s = 0; s < kSeriesCount; ++s) {
    if ((traces >> s & 1) == 0) continue;
    const auto& p = points[static_cast<std::size_t>(s)];
    const auto [lo, hi] = std::minmax_element(p.begin(), p.end());
    scales[static_cast<std::size_t>(s)] = ScaleAxis(*lo, *hi);
  }

  // 5. Traces, one segment per column.
  for (int s = 0; s < kSeriesCount; ++s) {
    if ((traces >> s & 1) == 0) continue;
    const SeriesDef& def = kSeries[static_cast<std::size_t>(s)];
    const auto& p = points[static_cast<std::size_t>(s)];
    const AxisScale& scale = scales[static_cast<std::size_t>(s)];
    platform::Point previous{5, kPlotBottom - ScaledHeight(p[0], scale)};
    for (int i = 1; i < kPoints; ++i) {
      const platform::Point next{5 + i,
                                 kPlotBottom - ScaledHeight(p[static_cast<std::size_t>(i)], scale)};
      canvas.Line(previous, next, def.line);
      previous = next;
    }
  }

  // 6. Labels, drawn over the traces so that no trace hides one.
  canvas.SetFont(platform::Font{12, 400});
  canvas.SetBackgroundMode(platform::BackgroundMode::kTransparent);
  for (int s = 0; s < kSeriesCount; ++s) {
    if ((traces >> s & 1) == 0) continue;
    const SeriesDef& def = kSeries[static_cast<std::size_t>(s)];
    canvas.SetTextColour(def.label);
    const unsigned align =
        (def.label_right_aligned ? platform::kAlignRight : platform::kAlignLeft) |
        platform::kSingleLine;
    for (int j = 0; j < 5; ++j)
      canvas.Text(Rect::FromEdges(def.label_left, kLabelTop[j], def.label_right, kLabelBottom[j]),
                  LabelText(def.kind, scales[static_cast<std::size_t>(s)].Label(j), celsius),
                  align);
  }

  // 7. Frame and time axis.
  canvas.FillRect(Rect::FromEdges(0, 190, w, h), kFrameGrey);
  canvas.FillRect(Rect::FromEdges(0, 0, 5, h), kFrameGrey);
  canvas.FillRect(Rect::FromEdges(365, 0, 370, h), kFrameGrey);
  canvas.FillRect(Rect::FromEdges(0, 0, w, 3), kFrameGrey);
  canvas.SetFont(platform::Font{14, 600});
  canvas.SetTextColour(Rgb(0, 0, 0));
  const std::size_t k = static_cast<std::size_t>(std::max(span_hours, 1));
  const auto sample = [&](std::size_t i) {
    return i < window.size() ? window[i] : logging::LogSample{};
  };
  const logging::LogSample oldest = sample(0);
  const logging::LogSample middle = sample(180 * k);
  const logging::LogSample newest = sample(360 * k - 1);
  const unsigned line = platform::kSingleLine | platform::kAlignVCentre;
  canvas.Text(Rect::FromEdges(3, 195, 100, 215), ClockText(oldest.hour, oldest.minute),
              platform::kAlignLeft | line);
  canvas.Text(Rect::FromEdges(135, 195, 235, 215),
              ClockDateText(middle.hour, middle.minute, middle.month, middle.day),
              platform::kAlignCentre | line);
  canvas.Text(Rect::FromEdges(300, 195, 367, 215), ClockText(newest.hour, newest.minute),
              platform::kAlignRight | line);
  canvas.SetTextColour(Rgb(0, 80, 0));
  canvas.Text(Rect::FromEdges(55, 195, 120, 215), scroll_text, platform::kAlignRight | line);
}

}  // namespace orvandry::graphs
