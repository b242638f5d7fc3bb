#pragma once

#include <cstdint>
#include <string>

#include "graphs/graph_model.h"
#include "platform/canvas.h"

namespace orvandry::platform {
class SettingsStore;
}
namespace orvandry::shell {
struct Settings;
}
namespace orvandry::logging {
class LogReader;
}

namespace orvandry::graphs {

// The graph's choices: which traces are on and the time span (both kept in the settings store),
// and how many whole hours the window is scrolled back (memory only).
class GraphView {
 public:
  GraphView(shell::Settings& settings, platform::SettingsStore& store);

  // Span code 0..3 (1, 2, 4, 8 hours); any other stored code counts as 0.
  int SpanCode() const;
  int SpanHours() const { return 1 << SpanCode(); }
  bool TraceOn(int series) const;
  std::uint8_t Traces() const;

  // Flips one trace and stores the six bits.
  void ToggleTrace(int series);
  // Stores the span; the scroll-back is kept, but never beyond what the new span allows.
  void SetSpanCode(int code, const logging::LogReader& reader);

  // The scroll-back as shown: the chosen one, limited to what the log now holds.
  int ScrollBack(const logging::LogReader& reader) const;
  int ScrollLimit(const logging::LogReader& reader) const;
  // One hour further back (the scroll bar's line-left and page-left) or forward.
  void StepBack(const logging::LogReader& reader);
  void StepForward(const logging::LogReader& reader);
  // The scroll bar's thumb: position 0 is the oldest window, the limit is "now".
  void ThumbTo(int position, const logging::LogReader& reader);

  // The scroll bar: range 0..limit, the position counting from the oldest window.
  int BarPosition(const logging::LogReader& reader) const {
    return ScrollLimit(reader) - ScrollBack(reader);
  }

 private:
  shell::Settings& settings_;
  platform::SettingsStore& store_;
  int scroll_back_ = 0;
};

// The drawing area's size and the text that tells the scroll-back ("[END]" at the oldest window).
inline constexpr platform::Size kDrawingAreaSize{380, 220};
// The drawing area's window title (it has no caption bar): what the graph log really does.
inline constexpr const char* kDrawingAreaCaption =
    " DRYER VARIABLES ARE SAMPLED ONCE EVERY 10 SECONDS OF UNLOADING";
std::string ScrollBackText(int scroll_back, int limit);

// Paints the drawing area from the graph log: the grid, the labels and trace of every trace that is
// on, the frame and the time axis. Reads only.
void PaintGraphArea(platform::Canvas& canvas, const GraphView& view,
                    const logging::LogReader& reader, bool celsius);
// The same from a window already read (span_hours x 360 samples, oldest first).
void PaintGraphWindow(platform::Canvas& canvas, const std::vector<logging::LogSample>& window,
                      int span_hours, std::uint8_t traces, const std::string& scroll_text,
                      bool celsius);

}  // namespace orvandry::graphs
