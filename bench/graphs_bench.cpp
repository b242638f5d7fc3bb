// Painting the graphs off-screen as the display does: the graph's drawing area over 1 to 8 hours
// with all six traces (read, averaged, scaled and drawn on every paint), and the status chart
// (every second). The logs are held in memory here, so the figures are the graphs' own share; the
// file reads belong to the logs' benchmarks.
#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <QImage>

#include "graphs/graph_view.h"
#include "graphs/status_chart.h"
#include "platform/qt_canvas.h"
#include "platform/settings_store.h"
#include "shell/settings.h"
#include "tests/graphs/fake_log_reader.h"

namespace {

using orvandry::graphs::testing::FakeLogReader;
using orvandry::graphs::testing::Night;
using orvandry::platform::QtCanvas;

void BM_GraphArea(benchmark::State& state) {
  FakeLogReader reader;
  reader.graph = Night(24 * 360, 10);
  orvandry::shell::Settings settings;
  settings.graph_traces = 0x3F;
  orvandry::platform::MemorySettingsStore store;
  orvandry::graphs::GraphView view(settings, store);
  view.SetSpanCode(static_cast<int>(state.range(0)), reader);
  QImage image(380, 220, QImage::Format_RGB32);
  for (auto _ : state) {
    QtCanvas canvas(image);
    orvandry::graphs::PaintGraphArea(canvas, view, reader, false);
  }
}
BENCHMARK(BM_GraphArea)->DenseRange(0, 3)->ArgName("span_code")->Unit(benchmark::kMicrosecond);

void BM_StatusChart(benchmark::State& state) {
  FakeLogReader reader;
  reader.short_term = Night(144, 600);
  reader.used_percent = 37;
  orvandry::graphs::StatusChart chart;
  QImage image(396, 181, QImage::Format_RGB32);
  for (auto _ : state) {
    QtCanvas canvas(image);
    orvandry::graphs::PaintStatusChart(canvas, chart, reader, {10, true, false});
  }
}
BENCHMARK(BM_StatusChart)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
  // Fonts need a GUI application; no display is needed.
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
