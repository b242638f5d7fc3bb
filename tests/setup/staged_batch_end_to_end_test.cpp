// The staged batch setup, the unload parameters and the plenum temperature manager against the
// simulated dryer: opened by number as the setup selection screen does, through the real link
// cycle (with its reset hold-off), the controller and the status intake.
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
#include "setup/plenum_temp_manager_dialog.h"
#include "setup/setup_subsystem.h"
#include "setup/staged_batch_dialog.h"
#include "setup/unload_param_dialog.h"
#include "shell/main_window.h"
#include "shell/settings.h"
#include "sim/controller_core.h"
#include "simulated_display.h"

namespace orvandry::setup {
namespace {

namespace sm = link::status_map;
using link::Rec;

using testing::SimulatedDisplay;

class StagedBatchEndToEnd : public ::testing::Test, protected SimulatedDisplay<SetupSubsystem> {
 protected:
  StagedBatchEndToEnd() {
    core.model().table()[sm::kBatchSelector] = 1;
    core.model().table()[sm::kConfigBits] = 0x10;  // TIME
    core.model().table()[sm::kDisplaySettings] = 0x00;
    for (int i = 0; i < 3; ++i) Cycle();
  }
};

// The safety enables travel in the display settings record: accepted just as the link starts its
// reset hold-off, they still reach the dryer, and the record ends on the dryer's echo.
TEST_F(StagedBatchEndToEnd, SafetyEnablesSurviveAResetHoldOffAndEndOnTheEcho) {
  WhileOpen<StagedBatchDialog>(staged_batch_id::kTemplate, [](StagedBatchDialog& dialog) {
    dialog.OnControl(staged_batch_id::kSafetyToggle);
    dialog.OnControl(staged_batch_id::kTemperature);
    dialog.OnControl(staged_batch_id::kAccept);
    EXPECT_EQ(dialog.Outcome(), StagedBatch::Outcome::kAccepted);
  });
  shared.reconnect_request = 1;
  for (int i = 0; i < 9; ++i) Cycle();  // the reset frame, then null frames only
  EXPECT_EQ(Controller(sm::kDisplaySettings), 0x00);
  EXPECT_TRUE(shared.pending.IsRaised(Rec::kDisplaySettings));

  for (int i = 0; i < 3; ++i) Cycle();
  EXPECT_EQ(Controller(sm::kDisplaySettings), 0x38);
  EXPECT_EQ(Controller(sm::kConfigBits), 0x30);
  EXPECT_EQ(Controller(sm::kMeteringMode) & 0x86, 0x80);
  EXPECT_EQ(shared.dryer_state.Get(sm::kDisplaySettings), 0x38);
  EXPECT_FALSE(shared.pending.IsRaised(Rec::kDisplaySettings));
  EXPECT_FALSE(shared.pending.AnyRaised());
  EXPECT_TRUE(prompter.Clean()) << prompter.Problems();
}

TEST_F(StagedBatchEndToEnd, UnloadRatesAndThePlenumManagerReachTheDryer) {
  auto& table = core.model().table();
  table[sm::kUnloadRateMax] = 0;
  table[sm::kUnloadRateMax + 1] = 80;
  table[sm::kUnloadRateMin] = 0;
  table[sm::kUnloadRateMin + 1] = 10;
  table[sm::kPlenumTempManager] = 0x00;
  Cycle();  // takes the answer to the last frame, sent before these changes
  Cycle();
  WhileOpen<UnloadParamDialog>(unload_param_id::kTemplate, [](UnloadParamDialog& dialog) {
    dialog.OnControl(unload_param_id::kMaxDecrease);
    dialog.OnControl(unload_param_id::kMinIncrease);
    dialog.OnControl(unload_param_id::kAccept);
  });
  WhileOpen<PlenumTempManagerDialog>(plenum_manager_id::kTemplate,
                                     [](PlenumTempManagerDialog& dialog) {
                                       dialog.OnControl(plenum_manager_id::kOnOff);
                                       dialog.OnControl(plenum_manager_id::kTimeDecrease);
                                       dialog.OnControl(plenum_manager_id::kAccept);
                                     });
  for (int i = 0; i < 3; ++i) Cycle();
  EXPECT_EQ(Controller(sm::kUnloadRateMax + 1), 79);
  EXPECT_EQ(Controller(sm::kUnloadRateMin + 1), 11);
  EXPECT_EQ(Controller(sm::kPlenumTempManager), 0xB8);
  EXPECT_FALSE(shared.pending.AnyRaised());
  EXPECT_TRUE(prompter.Clean()) << prompter.Problems();
}

}  // namespace
}  // namespace orvandry::setup
