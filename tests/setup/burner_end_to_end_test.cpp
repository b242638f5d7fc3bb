// The burner dialogs and the defaults notice against the simulated dryer, through the real link
// cycle, the controller and the status intake: what ACCEPT sends reaches the dryer and ends on its
// echo, and the dryer's defaults dipswitch brings up the notice once.
#include <gtest/gtest.h>

#include <QApplication>
#include <QTimer>
#include <deque>
#include <functional>
#include <vector>

#include "link/link_cycle.h"
#include "link/serial_port.h"
#include "link/status_intake.h"
#include "link/status_map.h"
#include "platform/clock.h"
#include "platform/scripted_prompter.h"
#include "platform/settings_store.h"
#include "setup/burner_differential_dialog.h"
#include "setup/burner_mode_dialog.h"
#include "setup/defaults_notice_dialog.h"
#include "setup/setup_subsystem.h"
#include "shell/main_window.h"
#include "shell/settings.h"
#include "sim/controller_core.h"
#include "simulated_display.h"

namespace orvandry::setup {
namespace {

namespace sm = link::status_map;

using testing::SimulatedDisplay;

class BurnerEndToEnd : public ::testing::Test, protected SimulatedDisplay<SetupSubsystem> {
 protected:
  BurnerEndToEnd() {
    for (int fan = 1; fan <= 6; ++fan) {
      core.model().table()[sm::BurnerMode(fan)] = 0x04;  // HI / LO, airswitch testing off
      core.model().table()[sm::BurnerDifferential(fan)] = 2;
    }
    window.show();
    for (int i = 0; i < 3; ++i) Cycle();
  }
};

TEST_F(BurnerEndToEnd, BurnerModesAndDifferentialsReachTheDryerAndEndOnItsEcho) {
  WhileOpen<BurnerModeDialog>(burner_mode_id::kTemplate, [](BurnerModeDialog& d) {
    d.Button(burner_mode_id::kAllAuto)->click();
    d.Button(burner_mode_id::kSelect[1])->click();  // #2 on to HI / LO
    d.Button(burner_mode_id::kAccept)->click();
  });
  WhileOpen<BurnerDifferentialDialog>(burner_differential_id::kTemplate,
                                      [](BurnerDifferentialDialog& d) {
                                        d.Button(burner_differential_id::kPlenum[5])->click();
                                        d.Button(burner_differential_id::kDegrees[3])->click();
                                        d.Button(burner_differential_id::kAccept)->click();
                                      });
  for (int i = 0; i < 8; ++i) Cycle();
  for (int fan = 1; fan <= 6; ++fan) {
    EXPECT_EQ(Controller(sm::BurnerMode(fan)), fan == 2 ? 0x04 : 0x07) << fan;
    EXPECT_EQ(Controller(sm::BurnerDifferential(fan)), fan == 6 ? 4 : 2) << fan;
    EXPECT_FALSE(shared.pending.IsRaised(link::BurnerModeRec(fan))) << fan;
    EXPECT_FALSE(shared.pending.IsRaised(link::BurnerDifferentialRec(fan))) << fan;
  }
}

// The dryer's defaults dipswitch goes on: the notice opens over the line graph window; after EXIT
// the switch going off and on again brings nothing up.
TEST_F(BurnerEndToEnd, TheDefaultsDipswitchBringsUpTheNoticeOnce) {
  // Whenever a notice is up, the operator reads it and presses EXIT.
  int opened = 0;
  QTimer operator_;
  operator_.setInterval(0);
  QObject::connect(&operator_, &QTimer::timeout, [&] {
    if (auto* d = qobject_cast<DefaultsNoticeDialog*>(QApplication::activeModalWidget())) {
      ++opened;
      d->ExitButton()->click();
    }
  });
  operator_.start();
  for (const std::uint8_t bits : {0x20, 0x00, 0x20, 0x00, 0x20}) {
    Controller(sm::kDryerStateBits) =
        static_cast<std::uint8_t>((Controller(sm::kDryerStateBits) & ~0x20) | bits);
    for (int i = 0; i < 3; ++i) {
      Cycle();
      window.HundredMsTick();
    }
  }
  operator_.stop();
  EXPECT_EQ(opened, 1);
  EXPECT_TRUE(shared.defaults_confirmed.load());
}

}  // namespace
}  // namespace orvandry::setup
