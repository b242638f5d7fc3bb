// The metering roll speed dialog against the simulated dryer, through the CommandFrame builder,
// the controller and the status intake, with the dialog opened by number as the main screen does.
#include <gtest/gtest.h>

#include <QApplication>
#include <QTimer>
#include <functional>
#include <vector>

#include "link/command_builder.h"
#include "link/crc16.h"
#include "link/frame_constants.h"
#include "link/status_intake.h"
#include "link/status_map.h"
#include "platform/clock.h"
#include "platform/scripted_prompter.h"
#include "platform/settings_store.h"
#include "setup/metering_speed_dialog.h"
#include "setup/setup_subsystem.h"
#include "shell/main_window.h"
#include "shell/settings.h"
#include "sim/controller_core.h"

namespace orvandry::setup {
namespace {

namespace id = metering_id;
namespace sm = link::status_map;
using link::Rec;

class MeteringEndToEnd : public ::testing::Test {
 protected:
  explicit MeteringEndToEnd(sim::Scenario scenario = {}) : core(3, std::move(scenario)) {}

  // One poll cycle: the pending records (or the null frame) out, the answer in, the UI run.
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
  void WhileOpen(const std::function<void(MeteringSpeedDialog&)>& inside) {
    QTimer::singleShot(0, [&] {
      auto* dialog = qobject_cast<MeteringSpeedDialog*>(QApplication::activeModalWidget());
      ASSERT_NE(dialog, nullptr);
      inside(*dialog);
      if (dialog->isVisible()) dialog->reject();
    });
    window.OpenDialog({.template_id = id::kTemplate});
  }

  link::LinkShared shared;
  shell::Settings settings;
  platform::ScriptedPrompter prompter;
  platform::MemorySettingsStore store;
  platform::FakeClock clock;
  SetupSubsystem setup;
  shell::MainWindow window{shared, settings, prompter, store, clock, {&setup}};
  link::StatusIntake intake{shared, &window};
  sim::ControllerCore core;
  double now = 0;
};

class KnobTurning : public MeteringEndToEnd {
 protected:
  KnobTurning() : MeteringEndToEnd(sim::Scenario().TurnKnob(5, 1000)) {}
};

TEST_F(KnobTurning, TheGaugeFollowsTheKnobAndAcceptSendsNothingTheKnobDidNotChange) {
  for (int i = 0; i < 5; ++i) Cycle();
  WhileOpen([&](MeteringSpeedDialog& dialog) {
    std::vector<std::uint8_t> shown;
    for (int i = 0; i < 30; ++i) {
      Cycle();
      const std::uint8_t main = dialog.Metering().Value(Speed::kMain);
      EXPECT_EQ(main, core.model().table()[161]) << "the dialog shows the controller's speed";
      shown.push_back(main);
    }
    EXPECT_NE(shown.front(), shown.back()) << "the knob moved the gauge";
    dialog.Button(id::kAccept)->click();
    // The knob set the controller's setpoint itself: nothing is the dialog's to send.
    EXPECT_FALSE(shared.pending.AnyRaised());
  });
  EXPECT_FALSE(shared.metering_dialog_open.load());
}

TEST_F(MeteringEndToEnd, AnAcceptedSpeedIsEchoedAndEndsItsRecords) {
  Cycle();
  shared.metering_source = link::MeteringSource::kDisplay;
  const std::uint8_t before = core.model().table()[sm::kMeteringSpeedMain];
  WhileOpen([&](MeteringSpeedDialog& dialog) {
    dialog.Button(id::kIncrease)->click();
    dialog.Button(id::kIncrease)->click();
    dialog.Button(id::kAccept)->click();
  });
  const auto main_shown = [&] { return shared.dryer_state.Get(sm::kMeteringSpeedMain); };
  EXPECT_EQ(main_shown(), before) << "the screens show the controller's value until the echo";
  EXPECT_TRUE(shared.pending.IsRaised(Rec::kMeteringSpeedMain));
  Cycle();  // the record goes out and the controller answers with it
  EXPECT_EQ(main_shown(), before + 2);
  EXPECT_EQ(core.model().table()[161], before + 2);
  for (Rec rec : {Rec::kMeteringSpeedMain, Rec::kMeteringFromKnob, Rec::kMeteringControl})
    EXPECT_FALSE(shared.pending.IsRaised(rec));
}

}  // namespace
}  // namespace orvandry::setup
