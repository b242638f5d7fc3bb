#pragma once

#include <cstddef>
#include <string>

#include "platform/canvas.h"

namespace orvandry::logging {
class LogReader;
}

namespace orvandry::graphs {

// The status chart's paging through the short-term log: eight rows at a time. Position p (0 ..
// count - 8) shows the eight samples that end count - 8 - p samples before the newest, so every
// position shows a different eight and the last position shows the newest. After the operator
// scrolls, the chosen rows are held for 15 seconds; then the chart follows the newest again.
class StatusChart {
 public:
  static constexpr std::size_t kRows = 8;
  static constexpr int kHoldSeconds = 15;
  static constexpr int kPage = 8;

  enum class Step { kLineUp, kLineDown, kPageUp, kPageDown };

  // The scroll bar's maximum position (its page is 8); the bar shows only from 9 samples on.
  static int MaxPosition(std::size_t count);
  static bool BarShown(std::size_t count) { return count > kRows; }

  // What is shown now, for `count` samples: the bottom while nothing is held.
  int Position(std::size_t count) const;
  std::size_t Skip(std::size_t count) const;

  void Scroll(Step step, std::size_t count);
  void ScrollTo(int position, std::size_t count);
  // The 1 s tick; true when the hold has just run out (the chart goes back to the newest rows).
  bool SecondTick();
  int HoldSeconds() const { return hold_; }

 private:
  int position_ = 0;
  int hold_ = 0;
};

// What the chart's header and corner show besides the rows.
struct ChartStatus {
  int sample_minutes = 10;
  bool running = false;  // the dryer unloads, so the logs sample
  bool celsius = false;
};

// Paints the chart (client area 396 x 181): headers, the logging corner, the rows the paging
// shows, the grid. Reads the short-term log and the long-term log's used space; changes nothing.
void PaintStatusChart(platform::Canvas& canvas, const StatusChart& chart,
                      const logging::LogReader& reader, const ChartStatus& status);

// The sample-time button's caption, and the same on two lines as the narrow button shows it.
std::string SampleTimeCaption(int minutes);
std::string SampleTimeButtonText(int minutes);

}  // namespace orvandry::graphs
