#include "graphs/status_chart.h"

#include <gtest/gtest.h>

#include <set>

#include "graphs/fake_log_reader.h"
#include "platform/recording_canvas.h"

namespace orvandry::graphs {
namespace {

using platform::RecordingCanvas;
using Step = StatusChart::Step;
using testing::FakeLogReader;

// Samples numbered 1..n in their minute field, so a row tells which sample it is.
FakeLogReader Numbered(std::size_t n) {
  FakeLogReader reader;
  reader.short_term = testing::Night(n, 600);
  for (std::size_t i = 0; i < n; ++i)
    reader.short_term[i].meter_output_percent = static_cast<std::uint16_t>(i + 1);
  return reader;
}

// The sample numbers of the rows the chart shows now.
std::vector<int> Rows(const StatusChart& chart, const FakeLogReader& reader) {
  std::vector<int> rows;
  for (const auto& s :
       reader.ReadShortTermSamples(StatusChart::kRows, chart.Skip(reader.CountShortTermSamples())))
    rows.push_back(s.meter_output_percent);
  return rows;
}

std::vector<int> Range(int first, int last) {
  std::vector<int> v;
  for (int i = first; i <= last; ++i) v.push_back(i);
  return v;
}

TEST(StatusChartPaging, PagesBackAndReturnsToTheNewestFifteenSecondsAfterTheLastScroll) {
  const FakeLogReader reader = Numbered(20);
  StatusChart chart;
  EXPECT_EQ(Rows(chart, reader), Range(13, 20));
  chart.Scroll(Step::kPageUp, 20);
  EXPECT_EQ(Rows(chart, reader), Range(5, 12));
  for (int s = 0; s < 10; ++s) EXPECT_FALSE(chart.SecondTick());
  chart.Scroll(Step::kLineUp, 20);  // a new scroll starts the hold again
  EXPECT_EQ(Rows(chart, reader), Range(4, 11));
  for (int s = 0; s < 14; ++s) EXPECT_FALSE(chart.SecondTick());
  EXPECT_EQ(Rows(chart, reader), Range(4, 11));
  EXPECT_TRUE(chart.SecondTick());
  EXPECT_EQ(Rows(chart, reader), Range(13, 20));
  // Scrolling to the bottom follows the newest at once, with nothing held.
  chart.Scroll(Step::kPageUp, 20);
  chart.Scroll(Step::kPageDown, 20);
  EXPECT_EQ(chart.HoldSeconds(), 0);
  EXPECT_EQ(Rows(chart, reader), Range(13, 20));
}

TEST(StatusChartPaging, EveryPositionShowsItsOwnEightAndNoneOutOfRange) {
  for (std::size_t count : {9U, 20U, 144U}) {
    const FakeLogReader reader = Numbered(count);
    StatusChart chart;
    std::set<std::vector<int>> seen;
    for (int p = 0; p <= StatusChart::MaxPosition(count); ++p) {
      chart.ScrollTo(p, count);
      EXPECT_LE(chart.Skip(count), count - 8);
      const std::vector<int> rows = Rows(chart, reader);
      EXPECT_EQ(rows, Range(p + 1, p + 8));
      seen.insert(rows);
    }
    EXPECT_EQ(seen.size(), count - 7);
    chart.ScrollTo(-5, count);
    EXPECT_EQ(Rows(chart, reader), Range(1, 8));
    chart.ScrollTo(1000, count);
    EXPECT_EQ(chart.HoldSeconds(), 0);
  }
  EXPECT_FALSE(StatusChart::BarShown(8));
  EXPECT_TRUE(StatusChart::BarShown(9));
}

TEST(StatusChartPaint, RowsCellsAndTheLoggingCorner) {
  FakeLogReader reader = Numbered(5);
  reader.short_term[0].hour = 0;
  reader.short_term[0].minute = 7;
  reader.short_term[0].dryer_grain_temp_f = -4;  // frozen grain
  reader.short_term[0].incoming_moisture_x10 = 255;
  reader.short_term[0].outgoing_temp_x10 = 1804;
  reader.short_term[1].hour = 12;
  reader.used_percent = 42;
  StatusChart chart;
  RecordingCanvas canvas(platform::Size{396, 181});
  PaintStatusChart(canvas, chart, reader, ChartStatus{5, true, false});
  EXPECT_NE(canvas.FindText("12:07AM 12/6"), nullptr) << canvas.Describe();
  EXPECT_NE(canvas.FindText("12:10PM 12/6"), nullptr);
  EXPECT_NE(canvas.FindText("-4\xB0"
                            "F"),
            nullptr);
  EXPECT_NE(canvas.FindText("25.5%"), nullptr);
  EXPECT_NE(canvas.FindText("180\xB0"
                            "F"),
            nullptr);
  EXPECT_NE(canvas.FindText("5 %"), nullptr);
  EXPECT_NE(canvas.FindText("5 Min"), nullptr);
  EXPECT_NE(canvas.FindText("ON"), nullptr);
  EXPECT_NE(canvas.FindText("42%"), nullptr);
  // Five samples: five rows, the last one at y 104.
  const auto* last = canvas.FindText("5 %");
  EXPECT_EQ(last->rect->y, 40 + 16 * 4);
  std::size_t percent_cells = 0;
  for (const auto* t : canvas.All<platform::TextCall>())
    percent_cells += t->text.find(" %") != std::string::npos;
  EXPECT_EQ(percent_cells, 5U);

  reader.used_percent = 100;
  canvas.Clear();
  PaintStatusChart(canvas, chart, reader, ChartStatus{10, true, true});
  EXPECT_NE(canvas.FindText("FULL"), nullptr);
  EXPECT_NE(canvas.FindText("-20\xB0"
                            "C"),
            nullptr);
  EXPECT_NE(canvas.FindText("82\xB0"
                            "C"),
            nullptr);

  canvas.Clear();
  PaintStatusChart(canvas, chart, reader, ChartStatus{10, false, false});
  const auto* off = canvas.FindText("OFF");
  ASSERT_NE(off, nullptr);
  EXPECT_EQ(off->colour, platform::Rgb(150, 0, 0));
  EXPECT_EQ(canvas.FindText("FULL"), nullptr);
}

}  // namespace
}  // namespace orvandry::graphs
