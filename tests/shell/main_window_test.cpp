#include "shell/main_window.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCloseEvent>
#include <QEvent>
#include <QImage>
#include <thread>

#include "link/crc16.h"
#include "link/status_intake.h"
#include "link/status_map.h"
#include "platform/child_window.h"
#include "platform/clock.h"
#include "platform/colour.h"
#include "platform/picture_button.h"
#include "platform/scripted_prompter.h"
#include "platform/settings_store.h"

namespace orvandry::shell {
namespace {

namespace sm = link::status_map;

// Counts the paints each watched window receives.
class PaintCounter : public QObject {
 public:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Paint) ++paints[watched->objectName().toStdString()];
    return false;
  }
  std::map<std::string, int> paints;
};

class MainWindowTest : public ::testing::Test {
 protected:
  MainWindowTest() {
    window.show();
    Settle();
  }
  static void Settle() {
    for (int i = 0; i < 5; ++i) QApplication::processEvents();
  }
  platform::ChildWindow* Find(const char* name) {
    return window.findChild<platform::ChildWindow*>(name, Qt::FindDirectChildrenOnly);
  }
  void ExpectAt(const char* name, int x, int y, int w, int h) {
    platform::ChildWindow* child = Find(name);
    ASSERT_NE(child, nullptr) << name;
    EXPECT_EQ(child->geometry(), QRect(x, y, w, h)) << name;
  }
  void WatchPaints() {
    for (auto* child : window.findChildren<platform::ChildWindow*>())
      child->installEventFilter(&counter);
  }

  link::LinkShared shared;
  Settings settings;
  platform::ScriptedPrompter prompter;
  platform::MemorySettingsStore store;
  platform::FakeClock clock;
  MainWindow window{shared, settings, prompter, store, clock};
  PaintCounter counter;
};

TEST_F(MainWindowTest, MainScreenHasItsWindowsAndButtonsInPlace) {
  EXPECT_EQ(window.size(), QSize(640, 480));
  ExpectAt("DRYER_PIC_WINDOW", 0, 0, 240, 420);
  ExpectAt("DRYER_RIGHT_STATUS_BAR_WINDOW", 240, 0, 400, 40);
  ExpectAt("AVERAGE_VALUES_WINDOW", 240, 40, 400, 205);
  ExpectAt("CUSTOM_VIEW_WINDOW", 240, 245, 400, 175);
  ExpectAt("BUTTON_BAR_WINDOW", 0, 420, 640, 55);
  ExpectAt("BATCH_DRYING_WINDOW", 240, 40, 400, 205);
  for (const char* shown : {"DRYER_PIC_WINDOW", "DRYER_RIGHT_STATUS_BAR_WINDOW",
                            "AVERAGE_VALUES_WINDOW", "CUSTOM_VIEW_WINDOW", "BUTTON_BAR_WINDOW"})
    EXPECT_TRUE(Find(shown)->isVisible()) << shown;
  for (const char* hidden :
       {"BATCH_DRYING_WINDOW", "GRAPH_WINDOW", "WARNING_WINDOW", "VIEW_SELECTION_WINDOW",
        "LINE_GRAPH_WINDOW", "UNLOAD_STATUS_WINDOW", "DRYER_LEFT_STATUS_BAR_WINDOW",
        "BOOT_LOADER_WINDOW", "TIMER_SELECT_WINDOW", "AUTO_START_WINDOW"})
    EXPECT_FALSE(Find(hidden)->isVisible()) << hidden;
  EXPECT_EQ(Find("CUSTOM_VIEW_WINDOW")->Caption(), " PLENUM(S)");

  const std::pair<const char*, int> buttons[] = {
      {"TIMERS", 20}, {"TEMPS", 144}, {"SETUP", 268}, {"VIEW", 392}, {"MISC", 516}};
  for (const auto& [text, x] : buttons) {
    auto* button = window.findChild<platform::PictureButton*>(text);
    ASSERT_NE(button, nullptr) << text;
    EXPECT_EQ(button->geometry(), QRect(x, 427, 105, 40)) << text;
    EXPECT_TRUE(button->isVisible());
  }

  // What a person would see: the grey picture area on the left, dark views on the right, the grey
  // button bar below.
  const QImage shot = window.grab().toImage();
  shot.save("/tmp/orvandry-main-screen-test.png");
  EXPECT_EQ(QColor(shot.pixel(120, 200)), QColor(0xC0, 0xC0, 0xC0));
  EXPECT_EQ(QColor(shot.pixel(440, 150)), QColor(Qt::black));
  EXPECT_EQ(QColor(shot.pixel(5, 423)).rgb() != QColor(Qt::black).rgb(), true);
}

TEST_F(MainWindowTest, BatchDryingShowsTheBatchWindowInsteadOfTheChart) {
  shared.dryer_state.Set(sm::kBatchSelector, 1);
  window.screen().ApplyViewRule();
  Settle();
  EXPECT_TRUE(Find("BATCH_DRYING_WINDOW")->isVisible());
  EXPECT_TRUE(Find("CUSTOM_VIEW_WINDOW")->isVisible());
  EXPECT_FALSE(Find("AVERAGE_VALUES_WINDOW")->isVisible());
  EXPECT_FALSE(Find("GRAPH_WINDOW")->isVisible());
  window.grab().save("/tmp/orvandry-main-screen-batch-test.png");
}

TEST_F(MainWindowTest, ViewButtonOpensTheSelectionWindowWithItsSevenButtons) {
  window.BarButton(command::kView)->click();
  Settle();
  platform::ChildWindow* selection = Find("VIEW_SELECTION_WINDOW");
  ASSERT_TRUE(selection->isVisible());
  EXPECT_EQ(selection->findChildren<platform::PictureButton*>().size(), 7);
  auto* exit = selection->findChild<platform::PictureButton*>("EXIT VIEW BUTTON");
  ASSERT_NE(exit, nullptr);
  exit->click();
  EXPECT_FALSE(selection->isVisible());
}

TEST_F(MainWindowTest, McButtonTurnsGreyWhileMoistureControlIsLockedOut) {
  auto* mc = window.BarButton(command::kMc);
  EXPECT_EQ(mc->NormalFace(), 105);
  shared.mc_lockout = 1;
  link::RepaintSet repaints;
  repaints.Add(link::ViewId::kMcButton);
  window.RepaintViews(repaints);
  EXPECT_EQ(mc->NormalFace(), kGreyedMcFace);
  EXPECT_EQ(mc->PressedFace(), kGreyedMcFace);
}

// A frame that changes a plenum reading repaints the plenum panel and nothing else of the main
// screen; the same frame again repaints nothing. The intake runs on its own thread, as the link's.
TEST_F(MainWindowTest, ChangedBytesRepaintTheirViewsAndAnUnchangedFrameNone) {
  WatchPaints();
  link::StatusIntake intake(shared, &window);
  std::array<std::uint8_t, link::kStatusFrameSize> frame{};
  frame[sm::kDryerActivity] = sm::kDryerActivityPreset;
  frame[sm::PlenumReading(1)] = 180;

  auto run_frame = [&] {
    std::thread link_thread([&] { intake.Run(frame.data()); });
    link_thread.join();
    counter.paints.clear();
    Settle();
    return counter.paints;
  };
  auto paints = run_frame();
  EXPECT_GE(paints["CUSTOM_VIEW_WINDOW"], 1);
  EXPECT_EQ(paints["AVERAGE_VALUES_WINDOW"], 0);
  EXPECT_EQ(paints["DRYER_RIGHT_STATUS_BAR_WINDOW"], 0);
  EXPECT_EQ(paints["DRYER_PIC_WINDOW"], 0);

  paints = run_frame();
  int total = 0;
  for (const auto& [name, count] : paints) total += count;
  EXPECT_EQ(total, 0);

  frame[sm::kFillTimeRemaining] = 7;
  paints = run_frame();
  EXPECT_GE(paints["DRYER_RIGHT_STATUS_BAR_WINDOW"], 1);
  EXPECT_EQ(paints["CUSTOM_VIEW_WINDOW"], 0);
}

TEST_F(MainWindowTest, DryerRequestsOpenTheirDialogsAfterTheFrame) {
  // Batch switched on by the dryer: the view rule follows once the frame is delivered.
  link::StatusIntake intake(shared, &window);
  std::array<std::uint8_t, link::kStatusFrameSize> frame{};
  frame[sm::kDryerActivity] = sm::kDryerActivityPreset;
  frame[sm::kBatchSelector] = 1;
  std::thread([&] { intake.Run(frame.data()); }).join();
  EXPECT_FALSE(Find("BATCH_DRYING_WINDOW")->isVisible()) << "nothing happens on the link thread";
  Settle();
  EXPECT_TRUE(Find("BATCH_DRYING_WINDOW")->isVisible());
}

TEST_F(MainWindowTest, SelectionScreensStayAboveTheWarningWindow) {
  auto z = [&](const char* name) { return window.children().indexOf(Find(name)); };
  shared.dryer_state.Set(sm::kWarningNode, 2);
  shared.dryer_state.Set(sm::kWarningId, 5);
  for (int command : {command::kTemps, command::kSetup}) {
    window.screen().OnCommand(command);
    for (int i = 0; i < 3; ++i) window.HundredMsTick();
    ASSERT_TRUE(Find("WARNING_WINDOW")->isVisible());
    const char* screen =
        command == command::kTemps ? "TEMP_SELECT_WINDOW" : "SETUP_SELECTION_WINDOW";
    EXPECT_GT(z(screen), z("WARNING_WINDOW")) << screen;
    window.screen().RestoreMainScreen();
    window.SetVisible(command == command::kTemps ? Win::kTempSelect : Win::kSetupSelect, false);
  }
  // Over the main screen's views the warning still comes to the front.
  EXPECT_GT(z("WARNING_WINDOW"), z("CUSTOM_VIEW_WINDOW"));
}

TEST_F(MainWindowTest, NothingClosesTheDisplay) {
  EXPECT_FALSE(window.close());
  QCloseEvent close;
  QApplication::sendEvent(&window, &close);
  EXPECT_FALSE(close.isAccepted());
  Settle();
  EXPECT_TRUE(window.isVisible());
}

TEST_F(MainWindowTest, ViewSelectionWindowPaintsItsClientAreaBlack) {
  platform::ChildWindow* selection = Find("VIEW_SELECTION_WINDOW");
  const QImage image = selection->Render();
  const platform::Rect client = selection->ClientRect();
  // Between the two columns of buttons and below the Exit button.
  for (const QPoint p : {QPoint(220, 100), QPoint(20, 200), QPoint(430, 220)})
    EXPECT_EQ(QColor(image.pixel(client.x + p.x(), client.y + p.y())), QColor(Qt::black)) << p.x();
}

// --- the seam -----------------------------------------------------------------------------------

constexpr int kProbeDialog = 9999;

// A test-only subsystem: it owns one window and two dialog templates and notes what reaches it.
class ProbeSubsystem : public Subsystem {
 public:
  void Attach(ShellHost& host) override {
    host_ = &host;
    phases.push_back("attach");
    for (int id : {kProbeDialog, dialog::kMeteringSpeed})
      dialogs_.Add(id, [this](const DialogRequest& r) {
        opened.push_back(r);
        ++open;
        if (while_open) while_open();
        --open;
      });
  }
  platform::ChildWindow* CreateWindow(const WindowDef& def, QWidget* parent) override {
    if (def.win != Win::kLineGraph) return nullptr;
    phases.push_back("window");
    return line_graph = new platform::ChildWindow(parent, def.class_name, def.caption,
                                                  {def.x, def.y, def.width, def.height}, 0,
                                                  platform::Bgr(0x00FF00));
  }
  void Wired() override { phases.push_back("wired"); }
  bool OpenDialog(const DialogRequest& r) override { return dialogs_.OpenIfOwned(r); }
  void OnControllerRequest(int command) override { requests.push_back(command); }

  ShellHost* host_ = nullptr;
  DialogTable dialogs_;
  std::vector<std::string> phases;
  std::vector<DialogRequest> opened;
  std::vector<int> requests;
  int open = 0;
  std::function<void()> while_open;
  platform::ChildWindow* line_graph = nullptr;
};

// A prompter that lets the message loop run while its box is open, as a real one does.
class LoopingPrompter final : public platform::Prompter {
 public:
  std::function<void()> while_open;
  int asked = 0;
  int most_open_at_once = 0;

 protected:
  platform::Answer DoAsk(std::string_view, std::string_view, platform::Buttons,
                         platform::Icon) override {
    ++asked;
    ++open_;
    most_open_at_once = std::max(most_open_at_once, open_);
    if (while_open) while_open();
    --open_;
    return platform::Answer::kNo;
  }

 private:
  int open_ = 0;
};

class SeamTest : public ::testing::Test {
 protected:
  link::LinkShared shared;
  Settings settings;
  LoopingPrompter prompter;
  platform::MemorySettingsStore store;
  platform::FakeClock clock;
  ProbeSubsystem probe;
  MainWindow window{shared, settings, prompter, store, clock, {&probe}};
};

TEST_F(SeamTest, ASubsystemPlugsInItsWindowsAndDialogsByNumber) {
  EXPECT_EQ(probe.phases, (std::vector<std::string>{"attach", "window", "wired"}));
  EXPECT_EQ(window.Window(Win::kLineGraph), probe.line_graph);

  EXPECT_TRUE(window.OpenDialog({.template_id = kProbeDialog}));
  EXPECT_TRUE(window.OpenDialog({.template_id = kProbeDialog, .parent_window = Win::kLineGraph}));
  ASSERT_EQ(probe.opened.size(), 2U);
  EXPECT_EQ(probe.opened[0].parent, &window) << "no parent named: the main window";
  EXPECT_EQ(probe.opened[1].parent, probe.line_graph);
  EXPECT_FALSE(window.OpenDialog({.template_id = 4242})) << "nobody owns it: nothing opens";
}

TEST_F(SeamTest, ControllerRequestsWaitForTheOpenDialogAndNeverStack) {
  // The controller keeps raising the metering-speed request while its dialog is open.
  probe.while_open = [&] {
    for (int frame = 0; frame < 10; ++frame) {
      shared.metering_speed_request = 1;
      window.DeliverIntake();
      window.HundredMsTick();
    }
  };
  shared.metering_speed_request = 1;
  window.DeliverIntake();
  ASSERT_EQ(probe.opened.size(), 1U) << "one dialog, nothing opened on top of it";
  EXPECT_EQ(probe.requests, (std::vector<int>{command::kMeteringSpeed}));
  // Back at the main level, the raises made meanwhile are one request.
  probe.while_open = nullptr;
  window.HundredMsTick();
  EXPECT_EQ(probe.opened.size(), 2U);
  window.HundredMsTick();
  EXPECT_EQ(probe.opened.size(), 2U);
}

TEST_F(SeamTest, TheLearningQuestionIsNeverAskedOnTopOfItself) {
  shared.dryer_state.Set(sm::kMeteringMode, 3);
  shared.dryer_state.Set(sm::kMcLearningMinutes, 30);
  shared.dryer_state.Set(sm::kStatusBits179, 0x04);
  prompter.while_open = [&] {
    for (int frame = 0; frame < 20; ++frame) {
      shared.metering_speed_request = 1;
      window.DeliverIntake();
    }
  };
  shared.metering_speed_request = 1;
  window.DeliverIntake();
  EXPECT_EQ(prompter.asked, 1);
  EXPECT_EQ(prompter.most_open_at_once, 1);
  EXPECT_TRUE(probe.opened.empty()) << "No: the dialog stays shut";
}

}  // namespace
}  // namespace orvandry::shell
