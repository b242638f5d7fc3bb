// The graphs as an operator sees them on the whole screen after a night of drying: the status
// chart in the chart view, the graph view with all six traces over each span, and the grain
// temperature and moisture view. The logs come from a fake reader filled with a plausible night;
// the dryer's table from the simulated dryer. Pictures go to ORVANDRY_SCREENSHOT_DIR.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QImage>
#include <QTemporaryDir>

#include "app/display.h"
#include "graphs/fake_log_reader.h"
#include "graphs/graph_windows.h"
#include "link/status_intake.h"
#include "link/status_map.h"
#include "platform/child_window.h"
#include "platform/clock.h"
#include "platform/paths.h"
#include "platform/scripted_prompter.h"
#include "platform/settings_store.h"
#include "sim/dryer_model.h"

namespace orvandry::app {
namespace {

namespace sm = link::status_map;

class GraphScreenshotTest : public ::testing::Test {
 protected:
  GraphScreenshotTest()
      : paths(data.path().toStdString(), data.path().toStdString() + "/usb"),
        display(shared, settings, prompter, store, clock, paths),
        window(display.window()) {
    clock.Set({2026, 12, 7, 6, 0, 0, 0});
    // A night from 18:00: the chart's log every 10 minutes, the graph's every 10 seconds.
    logs.short_term = graphs::testing::Night(72, 600);
    logs.graph = graphs::testing::Night(12 * 360, 10);
    logs.used_percent = 37;
    display.graphs().SetReader(logs);
    window.show();
  }

  // Runs the simulated dryer, unloading, with `configure` applied to its table, and takes it in.
  void Run(const std::function<void(sim::Table&)>& configure = {}) {
    model.Step(30 * 60);
    auto& t = model.table();
    t[sm::kUnloadBits] |= 0x01;
    if (configure) configure(t);
    link::StatusIntake intake(shared, &window);
    intake.Run(t.data());
    for (int i = 0; i < 6; ++i) {
      window.PollTick();
      window.HundredMsTick();
      QApplication::processEvents();
    }
  }

  QImage Shot(const QString& name) {
    QApplication::processEvents();
    const QImage image = window.grab().toImage();
    QString dir = qEnvironmentVariable("ORVANDRY_SCREENSHOT_DIR");
    if (dir.isEmpty()) dir = QDir::tempPath();
    image.save(QDir(dir).filePath(QString("orvandry-%1.png").arg(name)));
    return image;
  }

  platform::ChildWindow* Find(const char* name) {
    return window.findChild<platform::ChildWindow*>(name);
  }

  QTemporaryDir data;
  link::LinkShared shared;
  shell::Settings settings;
  platform::ScriptedPrompter prompter;
  platform::MemorySettingsStore store;
  platform::FakeClock clock;
  platform::Paths paths;
  Display display;
  shell::MainWindow& window;
  graphs::testing::FakeLogReader logs;
  sim::DryerModel model{7};
};

TEST_F(GraphScreenshotTest, ChartViewAfterANight) {
  Run();
  Shot("chart-view-night");
  auto* chart = Find("AVERAGE_VALUES_WINDOW");
  ASSERT_NE(chart, nullptr);
  EXPECT_TRUE(chart->isVisible());
  EXPECT_FALSE(Find("GRAPH_WINDOW")->isVisible());
  EXPECT_FALSE(Find("DRAW_GRAPH_WINDOW")->isVisible());
  auto* bar = chart->findChild<graphs::TouchScrollBar*>();
  ASSERT_NE(bar, nullptr);
  EXPECT_TRUE(bar->isVisible());
  EXPECT_EQ(bar->Position(), bar->Maximum()) << "the newest samples";
}

TEST_F(GraphScreenshotTest, GraphViewWithAllSixTracesOverEachSpan) {
  settings.graph_traces = 0x3F;
  Run([](sim::Table& t) { t[sm::kDisplaySettings] |= 0x40; });
  ASSERT_TRUE(Find("GRAPH_WINDOW")->isVisible());
  ASSERT_TRUE(Find("DRAW_GRAPH_WINDOW")->isVisible());
  EXPECT_FALSE(Find("AVERAGE_VALUES_WINDOW")->isVisible());
  const int hours[] = {1, 2, 4, 8};
  for (int code = 0; code < 4; ++code) {
    display.graphs().model().graph.SetSpanCode(code, logs);
    window.Repaint(shell::Win::kGraph);
    window.Repaint(shell::Win::kGraphDrawingArea);
    const int reads = logs.graph_reads;
    const QImage image = Shot(QString("graph-view-%1h").arg(hours[code]));
    EXPECT_GT(logs.graph_reads, reads) << "the drawing area painted from the log";
    // The drawing area's black plot carries the six trace colours.
    const QPoint origin = Find("DRAW_GRAPH_WINDOW")->mapTo(&window, QPoint(0, 0));
    int coloured = 0;
    for (int y = 4; y < 184; ++y)
      for (int x = 5; x < 365; ++x) coloured += image.pixel(origin + QPoint(x, y)) != qRgb(0, 0, 0);
    EXPECT_GT(coloured, 360 * 4) << hours[code] << " h";
  }
}

TEST_F(GraphScreenshotTest, GrainTemperatureAndMoistureView) {
  Run([](sim::Table& t) {
    t[sm::kMeteringMode] = 0xC1;
    t[sm::kStatusBits179] = 0x02;
  });
  auto* view = Find("LINE_GRAPH_WINDOW");
  ASSERT_NE(view, nullptr);
  EXPECT_FALSE(view->isVisible()) << "created hidden";
  view->show();
  view->raise();
  Shot("grain-view");
  EXPECT_TRUE(view->isVisible());
}

}  // namespace
}  // namespace orvandry::app
