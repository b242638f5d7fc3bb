#include "graphs/graph_windows.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QTimer>

#include "graphs/fake_log_reader.h"
#include "graphs/graph_setup_dialog.h"
#include "graphs/graphs_subsystem.h"
#include "link/status_map.h"
#include "platform/clock.h"
#include "platform/picture_button.h"
#include "platform/scripted_prompter.h"
#include "platform/settings_store.h"
#include "shell/settings.h"
#include "shell/view_context.h"

namespace orvandry::graphs {
namespace {

using platform::Rect;
using testing::FakeLogReader;
using testing::Night;

bool Overlap(Rect a, Rect b) {
  return a.x < b.Right() && b.x < a.Right() && a.y < b.Bottom() && b.y < a.Bottom();
}

Rect Geometry(const QWidget& w) {
  return Rect{w.x(), w.y(), w.width(), w.height()};
}

// The shell as the graphs see it: dialogs are logged (the graph setup goes to the subsystem).
class FakeHost final : public shell::ShellHost {
 public:
  FakeHost() : ctx{shared, blink, phases, settings, prompter, clock, {}} {}
  shell::ViewContext& Context() override { return ctx; }
  QWidget* MainWidget() override { return &main; }
  platform::ChildWindow* Window(shell::Win) const override { return nullptr; }
  void SetVisible(shell::Win, bool) override {}
  void Repaint(shell::Win win) override { repaints.push_back(win); }
  bool OpenDialog(const shell::DialogRequest& request) override {
    dialogs.push_back(request.template_id);
    if (on_dialog) on_dialog(request);
    return true;
  }
  void ApplyViewRule() override {}
  void RestoreMainScreen() override {}
  void AddRepeatSource(shell::RepeatSource*) override {}
  void SetDataLogs(shell::DataLogs*) override {}
  bool ModalOpen() const override { return false; }

  link::LinkShared shared;
  std::uint32_t blink = 1;
  shell::AnimationPhases phases;
  shell::Settings settings;
  platform::ScriptedPrompter prompter;
  platform::FakeClock clock;
  shell::ViewContext ctx;
  QWidget main;
  std::vector<shell::Win> repaints;
  std::vector<int> dialogs;
  std::function<void(const shell::DialogRequest&)> on_dialog;
};

const shell::WindowDef& Def(shell::Win win) {
  for (const shell::WindowDef& def : shell::kChildWindows)
    if (def.win == win) return def;
  throw std::logic_error("no such window");
}

class GraphWindowsTest : public ::testing::Test {
 protected:
  GraphWindowsTest() {
    reader.graph = Night(6 * 360, 10);
    reader.short_term = Night(20, 600);
    subsystem.Attach(host);
  }
  template <class W>
  W* Create(shell::Win win) {
    return static_cast<W*>(subsystem.CreateWindow(Def(win), &host.main));
  }

  FakeHost host;
  platform::MemorySettingsStore store;
  FakeLogReader reader;
  GraphsSubsystem subsystem{reader, host.settings, store};
};

TEST_F(GraphWindowsTest, GraphControlsAreTouchSizedInsideTheWindowAndApart) {
  auto* graph = Create<GraphWindow>(shell::Win::kGraph);
  EXPECT_EQ(graph->DrawingArea()->objectName(), shell::kGraphDrawingAreaClass);
  EXPECT_EQ(graph->DrawingArea()->size(), QSize(380, 220));
  std::vector<QWidget*> controls{graph->ScrollBar(), graph->SetupButton()};
  for (int s = 0; s < kSeriesCount; ++s) controls.push_back(graph->Toggle(s));
  const Rect client = graph->ClientRect();
  for (QWidget* c : controls) {
    SCOPED_TRACE(c->objectName().toStdString());
    const Rect r = Geometry(*c);
    EXPECT_GE(r.w, 40);
    EXPECT_GE(r.h, 40);
    EXPECT_TRUE(client.Contains(r.TopLeft()) && client.Contains({r.Right() - 1, r.Bottom() - 1}));
    EXPECT_FALSE(Overlap(r, Geometry(*graph->DrawingArea())));
    for (QWidget* other : controls) {
      if (other != c) {
        EXPECT_FALSE(Overlap(r, Geometry(*other))) << other->objectName().toStdString();
      }
    }
  }
  // The scroll bar's arrows are squares of its height and its thumb no shorter.
  TouchScrollBar* bar = graph->ScrollBar();
  EXPECT_EQ(bar->ZoneAt({39, 20}), TouchScrollBar::Zone::kBackArrow);
  EXPECT_EQ(bar->ZoneAt({bar->width() - 40, 20}), TouchScrollBar::Zone::kForwardArrow);
  EXPECT_GE(bar->ThumbRect().w, 40);
}

TEST_F(GraphWindowsTest, TogglesFlipTheirFaceAndTheStoreAndTheBarScrollsByHours) {
  auto* graph = Create<GraphWindow>(shell::Win::kGraph);
  platform::PictureButton* temp_in = graph->Toggle(1);
  EXPECT_EQ(temp_in->objectName(), "GRAPH_TEMP_IN_BUTTON");
  EXPECT_EQ(temp_in->NormalFace(), 232);
  temp_in->click();
  EXPECT_EQ(temp_in->NormalFace(), 231);
  EXPECT_EQ(store.ReadByte(shell::kGraphTracesOnOff), 0x02);

  TouchScrollBar* bar = graph->ScrollBar();
  EXPECT_EQ(bar->Maximum(), 5);  // six hours, one-hour span
  EXPECT_EQ(bar->Position(), 5);
  bar->Touch({5, 20});                       // back arrow
  bar->Touch({bar->ThumbRect().x - 1, 20});  // the track before the thumb: a page, one hour too
  EXPECT_EQ(subsystem.model().graph.ScrollBack(reader), 2);
  EXPECT_EQ(bar->Position(), 3);
  bar->Touch({bar->width() - 5, 20});
  EXPECT_EQ(subsystem.model().graph.ScrollBack(reader), 1);
  // Two more hours logged: the drawing area's next paint widens the bar.
  reader.graph = Night(8 * 360, 10);
  graph->DrawingArea()->Render();
  EXPECT_EQ(bar->Maximum(), 7);
  EXPECT_EQ(bar->Position(), 6);
}

TEST_F(GraphWindowsTest, SetupDialogKeepsTheTickUntilAcceptAndClampsTheScrollBack) {
  auto* graph = Create<GraphWindow>(shell::Win::kGraph);
  for (int i = 0; i < 5; ++i) graph->ScrollBar()->Touch({5, 20});
  EXPECT_EQ(subsystem.model().graph.ScrollBack(reader), 5);

  // The dialog as the operator uses it: 4 HOURS, a repaint, ACCEPT/EXIT.
  QTimer::singleShot(0, [] {
    auto* dialog = qobject_cast<GraphSetupDialog*>(QApplication::activeModalWidget());
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(dialog->Caption(), "GRAPH SETUP - 25");
    for (int id : graph_setup_id::kButtons) EXPECT_GE(dialog->Button(id)->height(), 40);
    dialog->Button(graph_setup_id::kFourHours)->click();
    const QString dir = qEnvironmentVariable("ORVANDRY_SCREENSHOT_DIR");
    if (!dir.isEmpty()) dialog->grab().save(dir + "/graph-setup-dialog.png");
    dialog->Render();
    dialog->Button(graph_setup_id::kAccept)->click();
  });
  subsystem.OpenDialog({.template_id = graph_setup_id::kTemplate, .parent = graph});
  EXPECT_EQ(store.ReadByte(shell::kGraphHorizontalScale), 2);
  EXPECT_EQ(subsystem.model().graph.ScrollBack(reader), 2) << "six hours hold two 4-hour steps";
  EXPECT_EQ(host.repaints, (std::vector{shell::Win::kGraph, shell::Win::kGraphDrawingArea}));

  // Closed without ACCEPT: nothing is stored.
  QTimer::singleShot(0, [] {
    auto* dialog = qobject_cast<GraphSetupDialog*>(QApplication::activeModalWidget());
    ASSERT_NE(dialog, nullptr);
    dialog->Button(graph_setup_id::kOneHour)->click();
    dialog->reject();
  });
  subsystem.OpenDialog({.template_id = graph_setup_id::kTemplate, .parent = graph});
  EXPECT_EQ(store.ReadByte(shell::kGraphHorizontalScale), 2);

  GraphSetup setup(7);  // an invalid code starts on one hour
  EXPECT_TRUE(setup.Ticked(graph_setup_id::kBoxes[0]));
}

TEST_F(GraphWindowsTest, ChartBarShowsFromNineSamplesAndSampleTimeAsksForTheLogSetup) {
  auto* chart = Create<StatusChartWindow>(shell::Win::kStatusChart);
  host.main.show();
  chart->show();
  chart->Sync();
  EXPECT_TRUE(chart->ScrollBar()->isVisible());
  EXPECT_GE(chart->ScrollBar()->width(), 40);
  EXPECT_GE(chart->SampleTimeButton()->height(), 40);
  EXPECT_EQ(chart->ScrollBar()->Maximum(), 12);
  chart->ScrollBar()->Touch({20, 5});  // up arrow
  EXPECT_EQ(subsystem.model().chart.Position(20), 11);
  for (int s = 0; s < 15; ++s) subsystem.OnSecondTick();
  EXPECT_EQ(subsystem.model().chart.Position(20), 12);
  EXPECT_EQ(host.repaints.back(), shell::Win::kStatusChart);

  EXPECT_EQ(chart->SampleTimeButton()->text(), "SAMPLE TIME\n10 Min");
  host.on_dialog = [this](const shell::DialogRequest&) { host.settings.sample_minutes = 5; };
  chart->SampleTimeButton()->click();
  EXPECT_EQ(host.dialogs, std::vector{245});
  EXPECT_EQ(chart->SampleTimeButton()->text(), "SAMPLE TIME\n5 Min");

  reader.short_term.resize(5);
  chart->Sync();
  EXPECT_FALSE(chart->ScrollBar()->isVisible());
}

TEST_F(GraphWindowsTest, GrainViewChoicesChangeOnTouchesOnly) {
  auto* view = Create<LineGraphWindow>(shell::Win::kLineGraph);
  host.shared.dryer_state.SetBe16(link::status_map::kOutgoingMoisture, 0x009B);
  EXPECT_GE(view->MoistureButton()->height(), 40);
  view->Render();
  view->MoistureButton()->Render();
  EXPECT_EQ(subsystem.model().grain.moisture(), GrainView::kMoistureIn);
  view->MoistureButton()->click();
  EXPECT_EQ(subsystem.model().grain.moisture(), GrainView::kMoistureOut);
  for (int i = 0; i < 3; ++i) view->TemperatureButton()->click();
  EXPECT_EQ(subsystem.model().grain.temperature(), GrainView::kTempDryer);
}

}  // namespace
}  // namespace orvandry::graphs
