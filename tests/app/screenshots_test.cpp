// Whole-screen pictures of the display in the situations an operator meets, driven by the
// simulated dryer's model through the real intake. Each test checks what a person would check
// (which views are up, that the screen is not blank) and saves the picture for a look:
// ORVANDRY_SCREENSHOT_DIR=dir (default: the system's temporary folder).
#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QEvent>
#include <QImage>
#include <QTemporaryDir>
#include <functional>
#include <map>
#include <set>

#include "app/display.h"
#include "link/status_intake.h"
#include "link/status_map.h"
#include "platform/child_window.h"
#include "platform/clock.h"
#include "platform/paths.h"
#include "platform/scripted_prompter.h"
#include "platform/settings_store.h"
#include "sim/dryer_model.h"
#include "warnings/ui/warnings_subsystem.h"

namespace orvandry::app {
namespace {

namespace sm = link::status_map;

class ScreenshotTest : public ::testing::Test {
 protected:
  ScreenshotTest()
      : paths(data.path().toStdString(), data.path().toStdString() + "/usb"),
        display(shared, settings, prompter, store, clock, paths),
        window(display.window()) {
    clock.Set({2026, 12, 6, 1, 5, 0, 0});
    window.show();
  }

  // Runs the model for `seconds`, with `configure` applied to its table first, and takes its table
  // in as a StatusFrame, as the link thread would.
  void Run(double seconds, const std::function<void(sim::Table&)>& configure = {}) {
    if (configure) configure(model.table());
    model.Step(seconds);
    if (configure) configure(model.table());
    link::StatusIntake intake(shared, &window);
    intake.Run(model.table().data());
    for (int i = 0; i < 12; ++i) {
      window.PollTick();
      window.HundredMsTick();
      QApplication::processEvents();
    }
  }

  QImage Shot(const char* name) {
    const QImage image = window.grab().toImage();
    QString dir = qEnvironmentVariable("ORVANDRY_SCREENSHOT_DIR");
    if (dir.isEmpty()) dir = QDir::tempPath();
    image.save(QDir(dir).filePath(QString("orvandry-%1.png").arg(name)));
    return image;
  }

  bool Shown(const char* name) {
    auto* w = window.findChild<platform::ChildWindow*>(name);
    return w != nullptr && w->isVisible();
  }

  // A screen worth looking at has many colours; a blank or half-drawn one has few.
  static int DistinctColours(const QImage& image) {
    std::set<QRgb> colours;
    for (int y = 0; y < image.height(); y += 3)
      for (int x = 0; x < image.width(); x += 3) colours.insert(image.pixel(x, y));
    return static_cast<int>(colours.size());
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
  sim::DryerModel model{7};
};

TEST_F(ScreenshotTest, ContinuousFlowTwoPlenumsRunning) {
  Run(15 * 60);
  const QImage image = Shot("continuous-flow");
  EXPECT_TRUE(Shown("AVERAGE_VALUES_WINDOW"));
  EXPECT_TRUE(Shown("CUSTOM_VIEW_WINDOW"));
  EXPECT_FALSE(Shown("BATCH_DRYING_WINDOW"));
  EXPECT_FALSE(Shown("WARNING_WINDOW"));
  EXPECT_GT(DistinctColours(image), 40);
}

TEST_F(ScreenshotTest, StagedBatchWithDualSetpoints) {
  Run(10 * 60, [](auto& t) {
    t[sm::kBatchSelector] = 1;
    t[sm::kConfigBits] |= 0x02;
    t[sm::kPlenum1LowTemp] = 150;
    t[sm::kPlenum1LowTemp + 1] = 0;
    t[sm::kDryTimerReload] = 45;
    t[sm::kDryTimerRunning] = 32;
    t[sm::kLoHeatDryTimerReload] = 30;
    t[sm::kLoHeatDryTimerRunning] = 30;
  });
  const QImage image = Shot("staged-batch-dual");
  EXPECT_TRUE(Shown("BATCH_DRYING_WINDOW"));
  EXPECT_TRUE(Shown("CUSTOM_VIEW_WINDOW"));
  EXPECT_FALSE(Shown("AVERAGE_VALUES_WINDOW"));
  EXPECT_GT(DistinctColours(image), 40);
}

TEST_F(ScreenshotTest, SixPlenumDryer) {
  Run(15 * 60, [](auto& t) {
    t[sm::kFanCountCode] = 4;
    t[sm::kModuleCountCode] = 2;
  });
  const QImage image = Shot("six-plenums");
  EXPECT_TRUE(Shown("CUSTOM_VIEW_WINDOW"));
  EXPECT_GT(DistinctColours(image), 40);
}

TEST_F(ScreenshotTest, CelsiusUnits) {
  Run(15 * 60, [](auto& t) { t[sm::kDisplaySettings] |= 0x80; });
  EXPECT_EQ(shared.si_units.load(), 1);
  const QImage image = Shot("celsius");
  EXPECT_GT(DistinctColours(image), 40);
}

TEST_F(ScreenshotTest, ShutdownWarningOverTheMainScreen) {
  Run(5 * 60);
  model.SetWarningCode(0x0205);
  Run(2);
  QApplication::processEvents();
  const QImage image = Shot("warning-0205");
  EXPECT_TRUE(Shown("WARNING_WINDOW"));
  EXPECT_EQ(display.warnings().store().CountShutdowns().count, 1U);
}

// Counts the paints each view of the main screen receives.
class PaintCounter : public QObject {
 public:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Paint) ++paints[watched->objectName().toStdString()];
    return false;
  }
  std::map<std::string, int> paints;
};

// With the real views in place: a frame paints exactly the views whose picture it changed, and a
// frame that changes no figure on the screen (the one shown, or a byte no view draws from) paints
// none of them.
TEST_F(ScreenshotTest, FramesRepaintOnlyTheViewsTheyChange) {
  Run(60);
  PaintCounter counter;
  std::map<std::string, platform::ChildWindow*> views;
  for (auto* child : window.findChildren<platform::ChildWindow*>()) {
    child->installEventFilter(&counter);
    views[child->objectName().toStdString()] = child;
  }
  const std::vector<std::string> watched = {"CUSTOM_VIEW_WINDOW", "DRYER_RIGHT_STATUS_BAR_WINDOW",
                                            "DRYER_PIC_WINDOW"};
  link::StatusIntake intake(shared, &window);
  sim::Table table = model.table();
  struct Step {
    const char* what;
    std::function<void(sim::Table&)> change;
    std::vector<std::string> changed;  // the watched views whose picture must change
  };
  const Step steps[] = {
      {"the frame the views already show", [](sim::Table&) {}, {}},
      {"a plenum reading",
       [](sim::Table& t) { ++t[sm::PlenumReading(1)]; },
       {"CUSTOM_VIEW_WINDOW"}},
      {"the unloading clean-out time and the metering roll output",
       [](sim::Table& t) {
         t[sm::kUnloadCleanoutShown + 1] ^= 0x01;
         t[245] ^= 0x01;  // the metering roll output drawn on the dryer picture
       },
       {"DRYER_PIC_WINDOW", "DRYER_RIGHT_STATUS_BAR_WINDOW"}},
      {"a byte of the fill time no view shows",
       [](sim::Table& t) { t[sm::kFillTimeRemaining + 1] ^= 1; },
       {}},
  };
  for (const Step& step : steps) {
    SCOPED_TRACE(step.what);
    std::map<std::string, QImage> before;
    for (const std::string& name : watched) before[name] = views.at(name)->Render();
    step.change(table);
    counter.paints.clear();
    intake.Run(table.data());
    for (int i = 0; i < 3; ++i) QApplication::processEvents();
    for (const std::string& name : watched) {
      const bool changed = views.at(name)->Render() != before[name];
      const bool expected =
          std::find(step.changed.begin(), step.changed.end(), name) != step.changed.end();
      EXPECT_EQ(changed, expected) << name << ": the step does not test what it says";
      EXPECT_EQ(counter.paints[name] > 0, changed) << name;
    }
    int total = 0;
    for (const auto& [name, count] : counter.paints) total += count;
    if (step.changed.empty()) {
      EXPECT_EQ(total, 0);
    }
  }
}

}  // namespace
}  // namespace orvandry::app
