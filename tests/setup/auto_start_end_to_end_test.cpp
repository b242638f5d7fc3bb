// The auto-start wizard against the simulated dryer: what ACCEPT sends is taken by the controller,
// echoed, and every record comes down; before that the dryer's table is untouched.
#include <gtest/gtest.h>

#include <QApplication>
#include <algorithm>
#include <vector>

#include "link/command_builder.h"
#include "link/crc16.h"
#include "link/frame_constants.h"
#include "link/status_intake.h"
#include "link/status_map.h"
#include "platform/clock.h"
#include "platform/picture_button.h"
#include "platform/scripted_prompter.h"
#include "platform/settings_store.h"
#include "setup/auto_start_window.h"
#include "setup/setup_select_screen.h"
#include "setup/setup_subsystem.h"
#include "shell/main_window.h"
#include "shell/settings.h"
#include "sim/controller_core.h"

namespace orvandry::setup {
namespace {

namespace id = auto_start_id;
namespace sm = link::status_map;
using link::Rec;

class AutoStartEndToEnd : public ::testing::Test {
 protected:
  void Cycle() {
    now += 0.35;
    std::uint8_t tx[link::kMaxCommandFrameSize] = {};
    std::vector<std::uint8_t> out(link::kNullFrame.begin(), link::kNullFrame.end());
    if (link::BuildCommandFrame(shared, tx)) {
      link::link_crc16(tx, tx[0] - 2U);
      out.assign(tx, tx + tx[0]);
    }
    std::vector<std::uint8_t> answer;
    core.Receive(out.data(), out.size(), now, answer);
    ASSERT_EQ(answer.size(), link::kStatusFrameSize);
    intake.Run(answer.data());
    window.DeliverIntake();
    QApplication::processEvents();
  }
  void Press(std::initializer_list<int> ids) {
    auto* wizard = static_cast<AutoStartWindow*>(window.Window(shell::Win::kAutoStart));
    for (int control : ids) {
      wizard->Button(control)->click();
      Cycle();  // the link runs on between presses
    }
  }

  link::LinkShared shared;
  shell::Settings settings;
  platform::ScriptedPrompter prompter;
  platform::MemorySettingsStore store;
  platform::FakeClock clock;
  SetupSubsystem setup;
  shell::MainWindow window{shared, settings, prompter, store, clock, {&setup}};
  link::StatusIntake intake{shared, &window};
  sim::ControllerCore core{3};
  double now = 0;
};

TEST_F(AutoStartEndToEnd, AcceptArmsTheDryerWithTheChosenValues) {
  for (int i = 0; i < 3; ++i) Cycle();
  const int incoming = static_cast<std::int16_t>(shared.dryer_state.GetLe16(sm::kAutoStartValue1));
  window.screen().OnCommand(shell::command::kSetup);
  static_cast<SetupSelectScreen*>(window.Window(shell::Win::kSetupSelect))
      ->Button(setup_select_id::kAutoStart)
      ->click();
  Press({id::kNext, id::kIncrease, id::kIncrease, id::kNext, id::kNext, id::kDecrease, id::kNext});
  EXPECT_EQ(shared.dryer_state.Get(sm::kAutoStartMode) & 0x03, 0) << "nothing before ACCEPT";
  EXPECT_FALSE(shared.pending.AnyRaised());
  Press({id::kNext});
  for (int i = 0; i < 3; ++i) Cycle();
  EXPECT_EQ(shared.dryer_state.Get(sm::kAutoStartMode), 0x03);
  EXPECT_EQ(static_cast<std::int16_t>(shared.dryer_state.GetLe16(sm::kAutoStartValue1)),
            std::min(incoming + 2, 999));
  for (Rec rec : {Rec::kAutoStartMode, Rec::kAutoStartValue1, Rec::kAutoStartValue2})
    EXPECT_FALSE(shared.pending.IsRaised(rec));
  EXPECT_TRUE(prompter.Clean()) << prompter.Problems();
}

}  // namespace
}  // namespace orvandry::setup
