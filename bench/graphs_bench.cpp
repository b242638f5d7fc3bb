// Painting the graphs off-screen as the display does: the graph's drawing area over 1 to 8 hours
// with all six traces, and the status chart (every second), each read from the log files on every
// paint (a full day of graph samples, a full short-term log), then averaged, scaled and drawn.
#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <QImage>
#include <cstdlib>

#include "graphs/graph_view.h"
#include "graphs/status_chart.h"
#include "logging/data_log_store.h"
#include "platform/qt_canvas.h"
#include "platform/settings_store.h"
#include "shell/settings.h"
#include "tests/graphs/fake_log_reader.h"
#include "tests/temp_dir.h"

namespace {

using orvandry::graphs::testing::Night;
using orvandry::platform::QtCanvas;

// The three logs in a fresh folder, the graph log holding a full day and the short-term log 144
// samples of a night.
struct LogsOnDisk {
  LogsOnDisk() : store(dir.path()) {
    store.Graph().SetSync(false);
    store.ShortTerm().SetSync(false);
    const orvandry::platform::LocalDateTime now{2026, 12, 6, 6, 0, 0, 0};
    for (const auto& sample : Night(24 * 360, 10)) store.WriteGraphSample(sample, now);
    for (const auto& sample : Night(144, 600)) store.WriteShortTermSample(sample, now);
    if (store.GraphHoursAvailable() != 24 || store.CountShortTermSamples() != 144) std::abort();
  }
  orvandry::testing::TempDir dir;
  orvandry::logging::DataLogStore store;
};

void BM_GraphArea(benchmark::State& state) {
  LogsOnDisk logs;
  const orvandry::logging::LogReader& reader = logs.store;
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
  LogsOnDisk logs;
  const orvandry::logging::LogReader& reader = logs.store;
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
