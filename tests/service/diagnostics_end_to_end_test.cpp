// The diagnostics, calibration and printer dialogs against the simulated dryer, through the real
// link cycle, controller and status intake: what they send reaches the dryer and ends on its echo,
// and the I/O test and calibration dialogs follow the dryer while they are open.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QTimer>
#include <functional>
#include <set>
#include <vector>

#include "link/link_cycle.h"
#include "link/status_intake.h"
#include "link/status_map.h"
#include "platform/child_window.h"
#include "platform/clock.h"
#include "platform/control_id.h"
#include "platform/scripted_prompter.h"
#include "platform/settings_store.h"
#include "service/calibration_dialog.h"
#include "service/diagnostics_dialogs.h"
#include "service/printer_setup_dialog.h"
#include "service/service_subsystem.h"
#include "setup/extended_setup.h"
#include "setup/setup_select.h"
#include "setup/setup_subsystem.h"
#include "shell/main_window.h"
#include "shell/settings.h"
#include "sim/controller_core.h"
#include "tests/setup/simulated_display.h"

namespace orvandry::service {
namespace {

namespace sm = link::status_map;
using platform::Answer;

class ServiceEndToEnd
    : public ::testing::Test,
      protected setup::testing::SimulatedDisplay<setup::SetupSubsystem, ServiceSubsystem> {
 protected:
  ServiceEndToEnd() : SimulatedDisplay(sim::Scenario{}.SwitchTest(0, 1000)) {
    window.show();
    for (int i = 0; i < 3; ++i) Cycle();
  }
};

// The simulated dryer has two fan/heaters: DISABLE reaches bytes 105-106 only, the dialog turns to
// ENABLE on the echo, and the light outputs opened from it show the running fan and the short.
TEST_F(ServiceEndToEnd, DiagnosticsDisableTheFittedBurnersAndShowTheLiveOutputs) {
  bool lights_seen = false;
  WhenOpen<DiagnosticsDialog>([&](DiagnosticsDialog& d) {
    EXPECT_EQ(d.Button(diagnostics_id::kAirswitch)->text(), "DISABLE Testing");
    prompter.Script(Answer::kYes);
    prompter.Script(Answer::kYes);
    d.Button(diagnostics_id::kAirswitch)->click();
    for (int i = 0; i < 6; ++i) Cycle();
    for (int fan = 1; fan <= 6; ++fan)
      EXPECT_EQ(Controller(sm::BurnerMode(fan)) & 0x04, fan <= 2 ? 0x04 : 0) << fan;
    EXPECT_FALSE(shared.pending.IsRaised(link::BurnerModeRec(1)));
    EXPECT_EQ(d.Button(diagnostics_id::kAirswitch)->text(), "ENABLE Testing");

    WhenOpen<LightOutputsDialog>([&](LightOutputsDialog& lights) {
      for (int i = 0; i < 3; ++i) Cycle();
      EXPECT_TRUE(lights.Box(1073)->isChecked()) << "FAN 1 activated";
      EXPECT_TRUE(lights.Box(1058)->isChecked()) << "FAN 1 shorted";
      EXPECT_FALSE(lights.Box(1063)->isChecked()) << "FAN 6 is not fitted";
      lights_seen = true;
    });
    d.Button(diagnostics_id::kLightOutputs)->click();
  });
  ASSERT_TRUE(window.OpenDialog({.template_id = diagnostics_id::kTemplate}));
  EXPECT_TRUE(lights_seen);
  EXPECT_TRUE(prompter.Clean()) << prompter.Problems();
}

TEST_F(ServiceEndToEnd, TheSwitchTestFollowsTheSwitchesAsTheyAreFlipped) {
  std::set<int> changed;
  WhenOpen<SwitchTestDialog>([&](SwitchTestDialog& d) {
    const QList<QCheckBox*> boxes = d.findChildren<QCheckBox*>();
    std::vector<bool> first;
    for (QCheckBox* box : boxes) first.push_back(box->isChecked());
    for (int i = 0; i < 12; ++i) {
      Cycle();
      for (qsizetype b = 0; b < boxes.size(); ++b)
        if (boxes[b]->isChecked() != first[static_cast<std::size_t>(b)])
          changed.insert(static_cast<int>(b));
    }
  });
  ASSERT_TRUE(window.OpenDialog({.template_id = diagnostics_id::kSwitchTestTemplate}));
  EXPECT_GE(changed.size(), 3U);
}

// Holding ">>>" repeats on the 100 ms tick; ACCEPT sends the offset and the dryer's reading moves
// by it.
TEST_F(ServiceEndToEnd, CalibrationRepeatsWhileHeldAndTheReadingFollowsTheOffset) {
  const int before = static_cast<std::int16_t>(shared.dryer_state.GetBe16(sm::kOutgoingMoisture));
  WhenOpen<CalibrationDialog>([&](CalibrationDialog& d) {
    QPushButton* up = d.Button(DefOf(Offset::kDryMoisture).up_id);
    window.HundredMsTick();  // nothing held yet
    up->setDown(true);       // held (the press's own step is not counted here)
    for (int i = 0; i < 15; ++i) window.HundredMsTick();
    up->setDown(false);
    for (int i = 0; i < 5; ++i) window.HundredMsTick();
    EXPECT_EQ(d.Edit(Offset::kDryMoisture)->text(), "1.0");
    d.Button(calibration_id::kAccept)->click();
  });
  ASSERT_TRUE(window.OpenDialog({.template_id = calibration_id::kTemplate}));
  for (int i = 0; i < 6; ++i) Cycle();
  EXPECT_EQ(Controller(232), 0);
  EXPECT_EQ(Controller(233), 10);
  EXPECT_FALSE(shared.pending.IsRaised(link::Rec::kCalibration232));
  const int after = static_cast<std::int16_t>(shared.dryer_state.GetBe16(sm::kOutgoingMoisture));
  EXPECT_NEAR(after - before, 10, 3);
}

TEST_F(ServiceEndToEnd, PrintSendsTheBinNumberAndTheDryerPrints) {
  Controller(217) = 0x40;  // printer off
  for (int i = 0; i < 2; ++i) Cycle();
  WhenOpen<PrinterSetupDialog>([&](PrinterSetupDialog& d) {
    d.Button(printer_id::kIncrease)->click();
    d.Button(printer_id::kGrainButtons[1])->click();
    prompter.Script(Answer::kYes);
    d.Button(printer_id::kPrint)->click();
  });
  ASSERT_TRUE(window.OpenDialog({.template_id = printer_id::kTemplate}));
  for (int i = 0; i < 6; ++i) Cycle();
  EXPECT_EQ(Controller(202), 1);
  EXPECT_EQ(Controller(203), 2);
  EXPECT_EQ(Controller(217) & 0x40, 0);
  EXPECT_EQ(core.model().summaries_printed(), 1);
  for (link::Rec rec : {link::Rec::kPrinterSetting202, link::Rec::kPrinterSetting203,
                        link::Rec::kPrinterOptions, link::Rec::kPrinterCommand})
    EXPECT_FALSE(shared.pending.IsRaised(rec));
  EXPECT_TRUE(prompter.Clean()) << prompter.Problems();
}

// The setup boards' buttons open these dialogs once the service subsystem has registered them.
TEST_F(ServiceEndToEnd, TheSetupBoardsButtonsOpenTheServiceDialogs) {
  struct Case {
    shell::Win board;
    int button;
    int template_id;
  };
  const Case cases[] = {
      {shell::Win::kSetupSelect, setup::setup_select_id::kDiagnostics, 168},
      {shell::Win::kSetupSelect, setup::setup_select_id::kCalibrateMoisture, 223},
      {shell::Win::kExtendedSetupSelect, setup::extended_id::kDiagnostics, 168},
      {shell::Win::kExtendedSetupSelect, setup::extended_id::kPrinterSetup, 322},
  };
  for (const Case& c : cases) {
    window.SetVisible(c.board, true);
    platform::ChildWindow* board = window.Window(c.board);
    ASSERT_NE(board, nullptr);
    auto* button = qobject_cast<QAbstractButton*>(platform::FindControl(*board, c.button));
    ASSERT_NE(button, nullptr) << c.button;
    int opened = 0;
    WhenOpen<platform::Dialog>([&](platform::Dialog& d) { opened = d.TemplateNumber(); });
    button->click();
    EXPECT_EQ(opened, c.template_id) << c.button;
    window.SetVisible(c.board, false);
  }
}

}  // namespace
}  // namespace orvandry::service
