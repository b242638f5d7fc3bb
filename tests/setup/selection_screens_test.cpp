// The full-screen selection screens never lead to a dead end: each has its Exit, and Exit goes
// back where the operator came from.
#include "setup/selection_screens.h"

#include <gtest/gtest.h>

#include <QApplication>

#include "platform/child_window.h"
#include "platform/clock.h"
#include "platform/picture_button.h"
#include "platform/scripted_prompter.h"
#include "platform/settings_store.h"
#include "setup/setup_subsystem.h"
#include "shell/main_window.h"

namespace orvandry::setup {
namespace {

using shell::Win;

class SelectionScreensTest : public ::testing::Test {
 protected:
  SelectionScreensTest() { window.show(); }
  platform::ChildWindow* W(Win win) { return window.Window(win); }
  void PressExit(Win screen) {
    auto* exit = W(screen)->findChild<platform::PictureButton*>("EXIT");
    ASSERT_NE(exit, nullptr);
    exit->click();
  }
  bool MainScreenShown() {
    return W(Win::kDryerPic)->isVisible() && W(Win::kRightStatusBar)->isVisible() &&
           W(Win::kStatusChart)->isVisible() &&
           window.BarButton(shell::command::kTimers)->isVisible();
  }

  link::LinkShared shared;
  shell::Settings settings;
  platform::ScriptedPrompter prompter;
  platform::MemorySettingsStore store;
  platform::FakeClock clock;
  SetupSubsystem setup;
  shell::MainWindow window{shared, settings, prompter, store, clock, {&setup}};
};

TEST_F(SelectionScreensTest, EachScreenHasItsExitInPlace) {
  for (const ExitButtonDef& def : kExitButtons) {
    auto* exit = W(def.screen)->findChild<platform::PictureButton*>("EXIT");
    ASSERT_NE(exit, nullptr);
    EXPECT_EQ(exit->CommandId(), def.id);
    const platform::Rect client = W(def.screen)->ClientRect();
    EXPECT_EQ(exit->geometry(), QRect(client.x + def.x, client.y + def.y, 159, 41));
    EXPECT_LE(exit->geometry().bottom(), W(def.screen)->height()) << def.id;
  }
}

TEST_F(SelectionScreensTest, ExitReturnsToTheMainScreen) {
  for (int command : {shell::command::kTimers, shell::command::kTemps, shell::command::kSetup}) {
    window.screen().OnCommand(command);
    const Win screen = command == shell::command::kTimers  ? Win::kTimerSelect
                       : command == shell::command::kTemps ? Win::kTempSelect
                                                           : Win::kSetupSelect;
    ASSERT_TRUE(W(screen)->isVisible());
    EXPECT_FALSE(MainScreenShown());
    PressExit(screen);
    EXPECT_FALSE(W(screen)->isVisible());
    EXPECT_TRUE(MainScreenShown()) << command;
  }
  EXPECT_TRUE(shared.view_rule_enabled.load()) << "the hardware board gives the view rule back";
}

TEST_F(SelectionScreensTest, ExtendedSetupExitsToTheHardwareBoard) {
  window.screen().OnCommand(shell::command::kSetup);
  window.SetVisible(Win::kSetupSelect, false);
  window.SetVisible(Win::kExtendedSetupSelect, true);
  PressExit(Win::kExtendedSetupSelect);
  EXPECT_TRUE(W(Win::kSetupSelect)->isVisible());
  EXPECT_FALSE(MainScreenShown());
  EXPECT_FALSE(shared.view_rule_enabled.load());
}

}  // namespace
}  // namespace orvandry::setup
