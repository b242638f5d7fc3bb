// The whole main screen composed off-screen, as a panel repaints it: every visible view painted
// into its off-screen image and the images put together, for a running dryer in continuous flow
// and in staged batch.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>

#include "app/display.h"
#include "link/status_intake.h"
#include "link/status_map.h"
#include "platform/clock.h"
#include "platform/paths.h"
#include "platform/scripted_prompter.h"
#include "platform/settings_store.h"
#include "sim/dryer_model.h"
#include "warnings/ui/warnings_subsystem.h"

namespace {

using namespace orvandry;

void ComposeMainScreen(benchmark::State& state, bool batch) {
  QTemporaryDir data;
  link::LinkShared shared;
  shell::Settings settings;
  platform::ScriptedPrompter prompter;
  platform::MemorySettingsStore store;
  platform::FakeClock clock;
  const platform::Paths paths(data.path().toStdString(), data.path().toStdString() + "/usb");
  app::Display display(shared, settings, prompter, store, clock, paths);
  shell::MainWindow& window = display.window();
  window.show();

  sim::DryerModel model(3);
  if (batch) model.table()[link::status_map::kBatchSelector] = 1;
  model.Step(600);
  if (batch) model.table()[link::status_map::kBatchSelector] = 1;
  link::StatusIntake intake(shared, &window);
  intake.Run(model.table().data());
  QApplication::processEvents();

  QImage screen(640, 480, QImage::Format_RGB32);
  for (auto _ : state) {
    QPainter painter(&screen);
    window.render(&painter);
    benchmark::DoNotOptimize(screen.constBits());
  }
}

void BM_MainScreenContinuousFlow(benchmark::State& state) {
  ComposeMainScreen(state, false);
}
void BM_MainScreenStagedBatch(benchmark::State& state) {
  ComposeMainScreen(state, true);
}
BENCHMARK(BM_MainScreenContinuousFlow)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MainScreenStagedBatch)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
