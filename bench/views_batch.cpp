// Painting the batch drying timers into the window's off-screen image, as every repaint does: a
// timer changes every second while batch drying, so this runs at least once a second.
#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <QImage>

#include "link/link_shared.h"
#include "link/status_map.h"
#include "platform/qt_canvas.h"
#include "views/batch/batch_drying.h"

namespace {

namespace sm = orvandry::link::status_map;

void Fill(orvandry::link::LinkShared& shared, bool dual) {
  auto& s = shared.dryer_state;
  s.Set(sm::kBatchSelector, 1);
  s.Set(sm::kConfigBits, dual ? 0x02 : 0x00);
  s.SetTime(sm::kDryTimerRunning, 37, 9);
  s.SetTime(sm::kDryTimerReload, 45, 5);
  s.SetTime(sm::kLoHeatDryTimerRunning, 112, 40);
  s.SetTime(sm::kLoHeatDryTimerReload, 120, 0);
  s.SetTime(sm::kCoolTimerRunning, 18, 2);
  s.SetTime(sm::kCoolTimerReload, 20, 5);
  s.SetTime(sm::kUnloadTimerRunning, 4, 59);
  s.SetTime(sm::kUnloadTimerReload, 10, 0);
}

void BM_PaintBatchDrying(benchmark::State& state) {
  orvandry::link::LinkShared shared;
  Fill(shared, state.range(0) != 0);
  QImage image(400, 205, QImage::Format_RGB32);
  for (auto _ : state) {
    orvandry::platform::QtCanvas canvas(image, orvandry::platform::Rect{2, 22, 396, 181});
    canvas.FillRect(orvandry::platform::Rect{0, 0, 396, 181}, orvandry::platform::Bgr(0));
    orvandry::views::PaintBatchDrying(canvas, shared.dryer_state);
  }
  benchmark::DoNotOptimize(image.constBits());
}
BENCHMARK(BM_PaintBatchDrying)->Arg(0)->Arg(1)->ArgNames({"dual"})->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
