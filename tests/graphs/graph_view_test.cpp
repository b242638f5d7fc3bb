#include "graphs/graph_view.h"

#include <gtest/gtest.h>

#include "graphs/fake_log_reader.h"
#include "platform/recording_canvas.h"
#include "platform/settings_store.h"
#include "shell/settings.h"

namespace orvandry::graphs {
namespace {

using platform::RecordingCanvas;
using testing::FakeLogReader;
using testing::Night;

class GraphViewTest : public ::testing::Test {
 protected:
  // Hours of graph log, one sample per 10 s.
  void Hours(int hours) { reader.graph = Night(static_cast<std::size_t>(hours) * 360, 10); }
  RecordingCanvas Paint(bool celsius = false) {
    RecordingCanvas canvas(kDrawingAreaSize);
    PaintGraphArea(canvas, view, reader, celsius);
    return canvas;
  }

  shell::Settings settings;
  platform::MemorySettingsStore store;
  FakeLogReader reader;
  GraphView view{settings, store};
};

TEST_F(GraphViewTest, TogglesAndSpanAreKeptInTheSettingsStore) {
  view.ToggleTrace(0);
  view.ToggleTrace(5);
  EXPECT_EQ(store.ReadByte(shell::kGraphTracesOnOff), 0x21);
  view.ToggleTrace(0);
  EXPECT_EQ(store.ReadByte(shell::kGraphTracesOnOff), 0x20);
  EXPECT_TRUE(view.TraceOn(5));
  EXPECT_FALSE(view.TraceOn(0));
  const int spans[] = {1, 2, 4, 8};
  for (int code = 0; code < 4; ++code) {
    view.SetSpanCode(code, reader);
    EXPECT_EQ(store.ReadByte(shell::kGraphHorizontalScale), code);
    EXPECT_EQ(view.SpanHours(), spans[code]);
  }
  settings.graph_horizontal_scale = 9;  // planted by hand: counts as one hour
  EXPECT_EQ(view.SpanHours(), 1);
}

TEST_F(GraphViewTest, ScrollBackStaysWithinTheLimitAndShowsEndThere) {
  Hours(10);
  view.SetSpanCode(0, reader);  // 1 hour: up to 9 hours back
  for (int i = 0; i < 12; ++i) view.StepBack(reader);
  EXPECT_EQ(view.ScrollBack(reader), 9);
  EXPECT_EQ(view.BarPosition(reader), 0);
  EXPECT_NE(Paint().FindText("[END]"), nullptr);
  // A longer span lowers the limit: the scroll-back follows it at once.
  view.SetSpanCode(3, reader);
  EXPECT_EQ(view.ScrollBack(reader), 2);
  EXPECT_NE(Paint().FindText("[END]"), nullptr);
  view.StepForward(reader);
  EXPECT_NE(Paint().FindText("[-1 HR]"), nullptr);
  view.StepForward(reader);
  view.StepForward(reader);
  EXPECT_EQ(view.ScrollBack(reader), 0);
  EXPECT_NE(Paint().FindText("[-0 HR]"), nullptr);
  view.ThumbTo(0, reader);
  EXPECT_EQ(view.ScrollBack(reader), 2);
  // Less than the span stored: nothing to scroll, and no end to show.
  Hours(2);
  EXPECT_EQ(view.ScrollBack(reader), 0);
  view.StepBack(reader);
  EXPECT_EQ(view.ScrollBack(reader), 0);
  EXPECT_NE(Paint().FindText("[-0 HR]"), nullptr);
}

TEST_F(GraphViewTest, PaintsLabelsAndTracesOfTheTracesThatAreOnOnly) {
  Hours(3);
  settings.graph_traces = 0x11;  // incoming moisture, dryer grain temperature
  const RecordingCanvas canvas = Paint();
  // 3 grid rows of dots; the base line; 359 segments per trace.
  std::size_t green = 0, yellow = 0;
  for (const auto* line : canvas.All<platform::LineCall>()) {
    green += line->colour == kSeries[0].line;
    yellow += line->colour == kSeries[4].line;
  }
  EXPECT_EQ(green, 359U);
  EXPECT_EQ(yellow, 359U);
  std::size_t labels = 0;
  for (const auto* text : canvas.All<platform::TextCall>()) {
    if (text->colour == kSeries[0].label) {
      ++labels;
      EXPECT_EQ(text->HorizontalAlignment(), platform::kAlignLeft);
      EXPECT_EQ(text->rect->x, 6);
    }
    if (text->colour == kSeries[4].label) {
      ++labels;
      EXPECT_EQ(text->HorizontalAlignment(), platform::kAlignRight);
      EXPECT_NE(text->text.find('F'), std::string::npos);
    }
    EXPECT_NE(text->colour, kSeries[1].label) << text->text;
  }
  EXPECT_EQ(labels, 10U);
  // The labels come after the traces, so no trace hides them.
  std::size_t last_trace = 0, first_label = 0;
  for (std::size_t i = 0; i < canvas.Calls().size(); ++i) {
    const auto* line = std::get_if<platform::LineCall>(&canvas.Calls()[i]);
    const auto* text = std::get_if<platform::TextCall>(&canvas.Calls()[i]);
    if (line != nullptr && line->colour == kSeries[4].line) last_trace = i;
    if (text != nullptr && text->colour == kSeries[0].label && first_label == 0) first_label = i;
  }
  EXPECT_GT(first_label, last_trace);
  // The last hour of the night: 20:00 to 20:59 on 6 December.
  EXPECT_NE(canvas.FindText("8:00PM"), nullptr) << canvas.Describe();
  EXPECT_NE(canvas.FindText("8:30PM 12/06"), nullptr);
  EXPECT_NE(canvas.FindText("8:59PM"), nullptr);
  // Every trace point lies in the plot, above the base line.
  for (const auto* line : canvas.All<platform::LineCall>())
    if (line->colour == kSeries[4].line) {
      EXPECT_TRUE(line->to.y >= 4 && line->to.y <= 184);
    }
}

TEST_F(GraphViewTest, AShortLogStartsFlatAtZeroWithZeroTimes) {
  Hours(2);
  settings.graph_traces = 0x10;
  view.SetSpanCode(3, reader);  // 8 hours over 2 hours of data
  const RecordingCanvas canvas = Paint();
  EXPECT_NE(canvas.FindText("12:00AM"), nullptr) << "the oldest record is an empty one";
  EXPECT_NE(canvas.FindText("0F"), nullptr) << "the scale reaches down to the zeros";
  int flat = 0;
  for (const auto* line : canvas.All<platform::LineCall>())
    if (line->colour == kSeries[4].line && line->from.x < 5 + 270) flat += line->from.y == 184;
  EXPECT_EQ(flat, 270);
}

TEST_F(GraphViewTest, PaintingChangesNothing) {
  Hours(5);
  settings.graph_traces = 0x3F;
  view.SetSpanCode(1, reader);
  view.StepBack(reader);
  const int writes = store.WriteCount();
  Paint();
  Paint(true);
  EXPECT_EQ(store.WriteCount(), writes);
  EXPECT_EQ(view.ScrollBack(reader), 1);
  EXPECT_EQ(settings.graph_traces, 0x3F);
  EXPECT_EQ(view.SpanCode(), 1);
}

}  // namespace
}  // namespace orvandry::graphs
