// What one picture for the remote view costs: the grab of the main window on the UI thread (the
// only part the UI thread pays), and on the serving thread the update of what changed between two
// pictures a cycle apart, and the whole screen a new viewer starts from.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QImage>
#include <QPixmap>
#include <QTemporaryDir>

#include "app/display.h"
#include "link/status_intake.h"
#include "platform/clock.h"
#include "platform/paths.h"
#include "platform/scripted_prompter.h"
#include "platform/settings_store.h"
#include "remote/screen_update.h"
#include "sim/dryer_model.h"

namespace {

using namespace orvandry;

// A running dryer on the main screen, and two pictures of it one link cycle apart.
struct Screens {
  Screens() : paths(data.path().toStdString(), data.path().toStdString() + "/usb") {
    display = std::make_unique<app::Display>(shared, settings, prompter, store, clock, paths);
    display->window().show();
    intake = std::make_unique<link::StatusIntake>(shared, &display->window());
    Step(600);
    before = Grab();
    Step(0.35);
    after = Grab();
  }
  void Step(double seconds) {
    model.Step(seconds);
    intake->Run(model.table().data());
    display->window().PollTick();
    QApplication::processEvents();
  }
  QImage Grab() { return display->window().grab().toImage().convertToFormat(QImage::Format_RGB32); }

  QTemporaryDir data;
  link::LinkShared shared;
  shell::Settings settings;
  platform::ScriptedPrompter prompter;
  platform::MemorySettingsStore store;
  platform::FakeClock clock;
  platform::Paths paths;
  sim::DryerModel model{3};
  std::unique_ptr<app::Display> display;
  std::unique_ptr<link::StatusIntake> intake;
  QImage before, after;
};

Screens& TheScreens() {
  static Screens screens;
  return screens;
}

void BM_GrabMainWindow(benchmark::State& state) {
  Screens& screens = TheScreens();
  for (auto _ : state) {
    QPixmap picture = screens.display->window().grab();
    benchmark::DoNotOptimize(picture.cacheKey());
  }
}

void BM_UpdateOneCycleApart(benchmark::State& state) {
  Screens& screens = TheScreens();
  qint64 bytes = 0;
  for (auto _ : state) {
    const QByteArray update = remote::EncodeUpdate(screens.before, screens.after);
    bytes = update.size();
    benchmark::DoNotOptimize(update.constData());
  }
  state.counters["bytes"] = static_cast<double>(bytes);
}

void BM_WholeScreen(benchmark::State& state) {
  Screens& screens = TheScreens();
  qint64 bytes = 0;
  for (auto _ : state) {
    const QByteArray whole = remote::EncodeWhole(screens.after);
    bytes = whole.size();
    benchmark::DoNotOptimize(whole.constData());
  }
  state.counters["bytes"] = static_cast<double>(bytes);
}

BENCHMARK(BM_GrabMainWindow)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_UpdateOneCycleApart)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WholeScreen)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
