// The main screen's windows keep their picture between paints and repaint only what changed. What
// they show must stay exactly what a whole paint draws, however the changes came in: checked in
// each main view after the dryer ran on through many frames and ticks.
#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QTemporaryDir>
#include <cstdlib>
#include <functional>

#include "app/display.h"
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

// Pixels that differ by more than the edge shading of large letters: Qt's font engines are made
// afresh now and then, and the same text drawn a minute apart can differ by a few levels along the
// edges of big glyphs. A stale value or a misplaced picture differs by far more.
int StrayPixels(const QImage& a, const QImage& b) {
  if (a.size() != b.size()) return a.width() * a.height();
  constexpr int kEdgeShading = 48;
  int stray = 0;
  for (int y = 0; y < a.height(); ++y)
    for (int x = 0; x < a.width(); ++x) {
      const QRgb p = a.pixel(x, y);
      const QRgb q = b.pixel(x, y);
      stray += std::abs(qRed(p) - qRed(q)) > kEdgeShading ||
               std::abs(qGreen(p) - qGreen(q)) > kEdgeShading ||
               std::abs(qBlue(p) - qBlue(q)) > kEdgeShading;
    }
  return stray;
}

class KeptPictureTest : public ::testing::Test {
 protected:
  KeptPictureTest()
      : paths(data.path().toStdString(), data.path().toStdString() + "/usb"),
        display(shared, settings, prompter, store, clock, paths),
        window(display.window()) {
    clock.Set({2026, 12, 6, 1, 5, 0, 0});
    window.show();
  }

  // The model runs on in steps; each step's table comes in as a frame, then the ticks follow.
  void Run(double seconds, const std::function<void(sim::Table&)>& configure) {
    for (double run = 0; run < seconds; run += 0.5) {
      configure(model.table());
      model.Step(0.5);
      link::StatusIntake intake(shared, &window);
      intake.Run(model.table().data());
      for (int i = 0; i < 3; ++i) {
        window.PollTick();
        window.HundredMsTick();
        if (i == 0) window.OneSecondTick();
        QApplication::processEvents();
      }
    }
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

TEST_F(KeptPictureTest, EveryWindowShowsWhatAWholePaintDraws) {
  struct View {
    const char* name;
    std::function<void(sim::Table&)> configure;
  };
  const View views[] = {
      {"chart", [](sim::Table&) {}},
      {"graph", [](sim::Table& t) { t[sm::kDisplaySettings] |= 0x40; }},
      {"staged batch",
       [](sim::Table& t) {
         t[sm::kDisplaySettings] &= static_cast<std::uint8_t>(~0x40);
         t[sm::kBatchSelector] = 1;
       }},
  };
  for (const View& view : views) {
    SCOPED_TRACE(view.name);
    Run(20, view.configure);
    int compared = 0;
    for (platform::ChildWindow* child : window.findChildren<platform::ChildWindow*>()) {
      if (!child->isVisible() || !child->DrawsOnlyChanges()) continue;
      SCOPED_TRACE(child->objectName().toStdString());
      // The window itself as the screen shows it, without the buttons on it.
      QImage shown(child->size(), QImage::Format_RGB32);
      child->render(&shown, QPoint(), QRegion(), QWidget::DrawWindowBackground);
      EXPECT_EQ(StrayPixels(shown, child->Render()), 0);
      ++compared;
    }
    EXPECT_GE(compared, 4);
  }
}

}  // namespace
}  // namespace orvandry::app
