#include "views/batch/batch_drying_window.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QMouseEvent>

#include "link/status_map.h"
#include "platform/clock.h"
#include "platform/scripted_prompter.h"
#include "shell/housekeeping.h"
#include "shell/settings.h"
#include "shell/shell_fakes.h"

namespace orvandry::views {
namespace {

namespace sm = link::status_map;
using platform::Answer;

const shell::WindowDef& BatchDef() {
  for (const shell::WindowDef& def : shell::kChildWindows)
    if (def.win == shell::Win::kBatchDrying) return def;
  throw std::logic_error("no batch drying window in the table");
}

void SendMouse(QWidget* widget, QEvent::Type type) {
  const QPointF at(widget->width() / 2.0, widget->height() / 2.0);
  const Qt::MouseButtons held = type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton;
  QMouseEvent event(type, at, widget->mapToGlobal(at), Qt::LeftButton, held, Qt::NoModifier);
  QApplication::sendEvent(widget, &event);
}

class BatchDryingWindowTest : public ::testing::Test {
 protected:
  BatchDryingWindowTest()
      : housekeeping(shared, clock, settings, tick_host, prompter, blink),
        ctx{shared, blink, housekeeping, settings, prompter, clock},
        window(nullptr, BatchDef(), ctx) {
    auto& s = shared.dryer_state;
    s.Set(sm::kBatchSelector, 1);
    s.SetTime(sm::kDryTimerRunning, 37, 9);
    s.SetTime(sm::kDryTimerReload, 45, 5);
    s.SetTime(sm::kLoHeatDryTimerRunning, 112, 40);
    s.SetTime(sm::kLoHeatDryTimerReload, 120, 0);
    s.SetTime(sm::kCoolTimerRunning, 18, 2);
    s.SetTime(sm::kCoolTimerReload, 20, 5);
    s.SetTime(sm::kUnloadTimerRunning, 4, 59);
    s.SetTime(sm::kUnloadTimerReload, 10, 0);
    window.SetDialogOpener([this](setup::TimerEntry& entry) { opened.push_back(entry); });
  }
  bool Shown(int id) { return window.Button(id)->isVisibleTo(&window); }
  void SaveShot(const QImage& image, const char* name) {
    const QByteArray dir = qgetenv("ORVANDRY_SCREENSHOT_DIR");
    if (!dir.isEmpty()) image.save(QDir(QString::fromLocal8Bit(dir)).filePath(name));
  }

  link::LinkShared shared;
  platform::FakeClock clock;
  shell::Settings settings;
  shell::testing::FakeTickHost tick_host;
  platform::ScriptedPrompter prompter;
  std::uint32_t blink = 0;
  shell::Housekeeping housekeeping;
  ViewContext ctx;
  BatchDryingWindow window;
  std::vector<setup::TimerEntry> opened;
};

TEST_F(BatchDryingWindowTest, IsTheTablesWindowWithFiveButtonsInItsClientArea) {
  EXPECT_EQ(window.objectName(), "BATCH_DRYING_WINDOW");
  EXPECT_EQ(window.Caption(), " BATCH DRYING TIMERS");
  EXPECT_EQ(window.geometry(), QRect(240, 40, 400, 205));
  const platform::Rect client = window.ClientRect();
  EXPECT_EQ(client.GetSize(), (platform::Size{396, 181}));
  struct Expected {
    int id;
    const char* text;
    QRect client_rect;
  };
  const Expected buttons[] = {{batch_id::kHiHeat, "HI HEAT", {7, 55, 110, 25}},
                              {batch_id::kLoHeat, "LO HEAT", {7, 140, 110, 25}},
                              {batch_id::kDry, "DRY", {5, 110, 110, 55}},
                              {batch_id::kCool, "COOL", {138, 110, 110, 55}},
                              {batch_id::kUnload, "UNLOAD", {273, 110, 110, 55}}};
  for (const Expected& b : buttons) {
    QPushButton* button = window.Button(b.id);
    ASSERT_NE(button, nullptr) << b.text;
    EXPECT_EQ(button->text(), b.text);
    EXPECT_EQ(button->geometry(), b.client_rect.translated(client.x, client.y)) << b.text;
  }
  // Created with HI HEAT, LO HEAT and DRY hidden until the first set-up.
  EXPECT_FALSE(Shown(batch_id::kHiHeat));
  EXPECT_FALSE(Shown(batch_id::kDry));
  EXPECT_TRUE(Shown(batch_id::kCool));
  EXPECT_TRUE(Shown(batch_id::kUnload));
}

TEST_F(BatchDryingWindowTest, UpdateButtonsAndEveryPaintFollowTheSelector) {
  auto& s = shared.dryer_state;
  s.Set(sm::kConfigBits, 0x02);
  s.Set(sm::kBatchSelector, 0);
  window.UpdateButtons();
  EXPECT_TRUE(Shown(batch_id::kDry));
  EXPECT_FALSE(Shown(batch_id::kHiHeat));
  EXPECT_FALSE(Shown(batch_id::kLoHeat));
  EXPECT_TRUE(window.Button(batch_id::kDry)->isEnabled());

  s.Set(sm::kBatchSelector, 1);
  window.UpdateButtons();
  EXPECT_FALSE(Shown(batch_id::kDry));
  EXPECT_TRUE(Shown(batch_id::kHiHeat));
  EXPECT_TRUE(Shown(batch_id::kLoHeat));

  s.Set(sm::kConfigBits, 0x00);
  window.Render();  // a paint sets the buttons up too
  EXPECT_TRUE(Shown(batch_id::kDry));
  EXPECT_FALSE(Shown(batch_id::kHiHeat));

  s.Set(sm::kBatchSelector, 3);
  window.Render();
  EXPECT_FALSE(Shown(batch_id::kDry));
  EXPECT_TRUE(Shown(batch_id::kHiHeat));
  EXPECT_TRUE(Shown(batch_id::kLoHeat));
  EXPECT_TRUE(Shown(batch_id::kCool) && Shown(batch_id::kUnload));
}

TEST_F(BatchDryingWindowTest, ShortTouchOpensTheEntryForThatTimer) {
  window.UpdateButtons();
  window.Button(batch_id::kCool)->click();
  window.Button(batch_id::kDry)->click();
  ASSERT_EQ(opened.size(), 2U);
  EXPECT_EQ(opened[0].record, link::Rec::kCoolTimerReload);
  EXPECT_EQ(opened[0].max_minutes, 60);
  EXPECT_EQ(opened[0].default_minutes, 20);
  EXPECT_EQ(opened[0].minutes, 20);
  EXPECT_EQ(opened[0].seconds, 5);
  EXPECT_EQ(opened[1].record, link::Rec::kDryTimerReload);
  EXPECT_EQ(opened[1].max_minutes, 200);
  EXPECT_TRUE(prompter.Questions().empty());
}

TEST_F(BatchDryingWindowTest, LongPressAsksOnceAndItsReleaseOpensNoDialog) {
  window.UpdateButtons();
  QPushButton* cool = window.Button(batch_id::kCool);
  prompter.Script(Answer::kYes);
  SendMouse(cool, QEvent::MouseButtonPress);
  ASSERT_TRUE(cool->isDown());
  window.HandleHeldButtons();
  EXPECT_TRUE(prompter.Questions().empty());
  window.HandleHeldButtons();
  ASSERT_EQ(prompter.Questions().size(), 1U);
  EXPECT_EQ(prompter.Last()->text, "Reload COOL TIMER with 20 minutes and 05 seconds?");
  EXPECT_FALSE(cool->isDown());
  window.HandleHeldButtons();  // the finger is still there for half a second
  SendMouse(cool, QEvent::MouseButtonRelease);
  EXPECT_TRUE(opened.empty()) << "the long press is not also a short touch";
  EXPECT_EQ(prompter.Questions().size(), 1U);
  EXPECT_TRUE(shared.pending.IsRaised(link::Rec::kCoolTimerRunning));
  EXPECT_FALSE(shared.pending.IsRaised(link::Rec::kCoolTimerReload));
  EXPECT_EQ(shared.request.Get(sm::kCoolTimerRunning), 20);
  EXPECT_EQ(shared.request.Get(sm::kCoolTimerRunning + 1), 5);
  EXPECT_TRUE(prompter.Clean()) << prompter.Problems();

  // A hidden button is never held: HI HEAT pressed while DRY shows.
  QPushButton* hi = window.Button(batch_id::kHiHeat);
  hi->setDown(true);
  window.HandleHeldButtons();
  window.HandleHeldButtons();
  EXPECT_EQ(prompter.Questions().size(), 1U);
}

TEST_F(BatchDryingWindowTest, ScreenshotsShowTimersAndButtons) {
  const platform::Rect client = window.ClientRect();
  const auto at = [&](const QImage& image, int x, int y) {
    return image.pixelColor(client.x + x, client.y + y);
  };
  const QImage single = window.grab().toImage();
  SaveShot(single, "batch_single.png");
  EXPECT_EQ(at(single, 126, 60), QColor(0x96, 0x96, 0x96)) << "grid line";
  EXPECT_EQ(at(single, 270, 60), QColor(0, 0, 0)) << "background";
  // The DRY button is drawn over the black background (sampled beside its label).
  EXPECT_NE(at(single, 12, 137), QColor(0, 0, 0));
  // Some pixel of the big dry minutes carries the dry colour.
  bool dry_drawn = false;
  for (int x = 0; x < 90 && !dry_drawn; ++x)
    for (int y = 15; y < 90 && !dry_drawn; ++y)
      dry_drawn = at(single, x, y) == QColor(0xC8, 0xC8, 0);
  EXPECT_TRUE(dry_drawn);

  shared.dryer_state.Set(sm::kConfigBits, 0x02);
  const QImage dual = window.grab().toImage();
  SaveShot(dual, "batch_dual.png");
  EXPECT_EQ(at(dual, 60, 87), QColor(0x96, 0x96, 0x96)) << "the dual layout's divider";
  EXPECT_NE(at(dual, 12, 67), QColor(0, 0, 0)) << "HI HEAT button";
  EXPECT_NE(at(dual, 12, 152), QColor(0, 0, 0)) << "LO HEAT button";

  // Averaging in the single layout.
  shared.dryer_state.Set(sm::kConfigBits, 0x40);
  shared.dryer_state.Set(sm::kMeteringMode, 0x06);
  shared.dryer_state.Set(sm::kDryerActivity, 0x20);
  shared.dryer_state.SetTime(sm::kUnloadTimerRunning, 45, 7);
  const QImage averaging = window.grab().toImage();
  SaveShot(averaging, "batch_averaging.png");
  EXPECT_NE(at(averaging, 12, 137), QColor(0, 0, 0)) << "DRY button again";
}

}  // namespace
}  // namespace orvandry::views
