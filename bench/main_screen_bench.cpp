// The whole main screen composed off-screen, as a panel repaints it: every visible view painted
// into its off-screen image and the images put together, for a running dryer in continuous flow
// and in staged batch. Then the two things the running display does over and over: the 100 ms
// tick that moves the dryer picture's animation, and a status frame from the dryer (350 ms), each
// with the paints it leads to.
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

// The display with all its subsystems, shown off-screen, its data in a folder of its own.
struct ShownDisplay {
  ShownDisplay() { window.show(); }
  QTemporaryDir data;
  link::LinkShared shared;
  shell::Settings settings;
  platform::ScriptedPrompter prompter;
  platform::MemorySettingsStore store;
  platform::FakeClock clock;
  const platform::Paths paths{data.path().toStdString(), data.path().toStdString() + "/usb"};
  app::Display display{shared, settings, prompter, store, clock, paths};
  shell::MainWindow& window = display.window();
};

void ComposeMainScreen(benchmark::State& state, bool batch) {
  ShownDisplay shown;
  link::LinkShared& shared = shown.shared;
  shell::MainWindow& window = shown.window;

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

enum class Steady { kTick, kFrame };

// The running display in one view (0 chart, 1 graph, 2 staged batch), fans and unloading on.
void RunSteady(benchmark::State& state, Steady what) {
  const int view = static_cast<int>(state.range(0));
  ShownDisplay shown;
  link::LinkShared& shared = shown.shared;
  shell::MainWindow& window = shown.window;

  namespace sm = link::status_map;
  sim::DryerModel model(3);
  auto place = [&] {
    model.table()[sm::kBatchSelector] = view == 2 ? 1 : 0;
    auto& display_bits = model.table()[sm::kDisplaySettings];
    display_bits = static_cast<std::uint8_t>((display_bits & ~0x40) | (view == 1 ? 0x40 : 0));
  };
  place();
  model.Step(600);
  place();
  link::StatusIntake intake(shared, &window);
  intake.Run(model.table().data());
  QApplication::processEvents();
  for (int i = 0; i < 20; ++i) {  // every picture and text met once
    window.HundredMsTick();
    QApplication::processEvents();
  }

  for (auto _ : state) {
    if (what == Steady::kTick) {
      window.HundredMsTick();
    } else {
      model.Step(0.35);
      place();
      intake.Run(model.table().data());
    }
    QApplication::processEvents();
  }
}

void BM_AnimationTick(benchmark::State& state) {
  RunSteady(state, Steady::kTick);
}
void BM_StatusFrame(benchmark::State& state) {
  RunSteady(state, Steady::kFrame);
}
// Argument: 0 chart view, 1 graph view, 2 staged batch.
BENCHMARK(BM_AnimationTick)->DenseRange(0, 2)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_StatusFrame)->DenseRange(0, 2)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
