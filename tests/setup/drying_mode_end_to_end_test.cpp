// A switch from continuous flow to staged batch made through the drying mode dialog's logic
// travels the display's CommandFrame builder to the simulated controller; the dryer reports
// staged batch, and the main screen, with the real views, follows with the batch drying window.
#include <gtest/gtest.h>

#include <QApplication>
#include <vector>

#include "link/command_builder.h"
#include "link/crc16.h"
#include "link/frame_constants.h"
#include "link/status_intake.h"
#include "link/status_map.h"
#include "platform/child_window.h"
#include "platform/clock.h"
#include "platform/scripted_prompter.h"
#include "platform/settings_store.h"
#include "setup/drying_mode.h"
#include "setup/setup_subsystem.h"
#include "shell/main_window.h"
#include "shell/settings.h"
#include "sim/controller_core.h"
#include "views/views_subsystem.h"

namespace orvandry::setup {
namespace {

namespace id = drying_mode_id;
namespace sm = link::status_map;
using link::Rec;

class DryingModeEndToEnd : public ::testing::Test {
 protected:
  DryingModeEndToEnd() { window.show(); }

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
    for (int i = 0; i < 3; ++i) QApplication::processEvents();
  }
  bool Shown(const char* name) {
    auto* child = window.findChild<platform::ChildWindow*>(name, Qt::FindDirectChildrenOnly);
    return child != nullptr && child->isVisible();
  }

  link::LinkShared shared;
  shell::Settings settings;
  platform::ScriptedPrompter prompter;
  platform::MemorySettingsStore store;
  platform::FakeClock clock;
  views::ViewsSubsystem views;
  SetupSubsystem setup;
  shell::MainWindow window{shared, settings, prompter, store, clock, {&views, &setup}};
  link::StatusIntake intake{shared, &window};
  sim::ControllerCore core{3};
  double now = 0;
};

TEST_F(DryingModeEndToEnd, StagedBatchChosenAndAcceptedSwitchesTheDryerAndTheMainScreen) {
  for (int i = 0; i < 3; ++i) Cycle();
  ASSERT_EQ(shared.dryer_state.Get(sm::kBatchSelector), 0);
  ASSERT_FALSE(Shown("BATCH_DRYING_WINDOW"));
  ASSERT_TRUE(Shown("AVERAGE_VALUES_WINDOW"));

  DryingMode dialog(shared);
  dialog.Press(id::kStagedBatch, prompter);
  for (int i = 0; i < 3; ++i) Cycle();
  EXPECT_EQ(core.model().table()[sm::kMeteringMode] & 0x07, 3) << "nothing before ACCEPT";
  EXPECT_FALSE(core.model().staged_batch());

  dialog.Press(id::kAccept, prompter);
  Cycle();  // the three records go out together and the controller answers with them
  const auto& table = core.model().table();
  EXPECT_EQ(table[sm::kBatchSelector], 1);
  EXPECT_EQ(table[sm::kMeteringMode], 6);
  EXPECT_EQ(table[sm::kConfigBits] & 0x08, 0);
  EXPECT_EQ(shared.dryer_state.Get(sm::kBatchSelector), 1) << "the dryer reports staged batch";
  EXPECT_EQ(shared.dryer_state.Get(sm::kMeteringMode), 6);
  Cycle();
  for (Rec rec : {Rec::kBatchSelector, Rec::kMeteringMode, Rec::kConfigBits})
    EXPECT_FALSE(shared.pending.IsRaised(rec)) << "the echo ends each record";
  EXPECT_TRUE(core.model().staged_batch());
  EXPECT_TRUE(Shown("BATCH_DRYING_WINDOW"));
  EXPECT_FALSE(Shown("AVERAGE_VALUES_WINDOW"));
  EXPECT_TRUE(prompter.Clean()) << prompter.Problems();
}

}  // namespace
}  // namespace orvandry::setup
