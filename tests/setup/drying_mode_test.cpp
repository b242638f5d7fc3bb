// The drying mode dialog's rules, as the bytes its choices put on the wire.
#include "setup/drying_mode.h"

#include <gtest/gtest.h>

#include <string>

#include "link/status_map.h"
#include "platform/scripted_prompter.h"
#include "setup/timer_entry.h"
#include "tests/setup/wire_records.h"

namespace orvandry::setup {
namespace {

namespace id = drying_mode_id;
namespace sm = link::status_map;
using Outcome = DryingMode::Outcome;
using testing::Bytes;
using testing::NextFrame;
using testing::WireRecords;

struct Dryer {
  std::uint8_t selector = 0;
  std::uint8_t mode = 0;
  std::uint8_t config = 0;
  std::uint8_t hardware = 0;
};

void Report(link::LinkShared& shared, const Dryer& dryer) {
  shared.first_frame_accepted = true;
  shared.dryer_state.Set(sm::kBatchSelector, dryer.selector);
  shared.dryer_state.Set(sm::kMeteringMode, dryer.mode);
  shared.dryer_state.Set(sm::kConfigBits, dryer.config);
  shared.dryer_state.Set(sm::kHardwareOptions, dryer.hardware);
  shared.dryer_state.Set(sm::kDryingMode, 0x81);
}

// "C" CONTINUOUS FLOW, "S" STAGED BATCH, "A" ACCEPT, "X" CANCEL, "M" M/C Setup.
Outcome Press(DryingMode& dialog, const std::string& keys, platform::Prompter& prompter) {
  Outcome outcome = Outcome::kKeepOpen;
  for (char k : keys) {
    const int control = k == 'C'   ? id::kContinuousFlow
                        : k == 'S' ? id::kStagedBatch
                        : k == 'A' ? id::kAccept
                        : k == 'X' ? id::kCancel
                                   : id::kMcSetup;
    outcome = dialog.Press(control, prompter);
  }
  return outcome;
}

constexpr Dryer kContinuousMoisture{0, 0x04, 0x0A, 0};
constexpr Dryer kBatchDual{1, 0x06, 0x0A, 0};
constexpr Dryer kBatchOnForbiddingHardware{1, 0x06, 0x0A, 0x20};

TEST(DryingMode, TheModeGoesOutWholeAndOnlyWhenTheOperatorConfirmsIt) {
  struct Case {
    const char* name;
    Dryer dryer;
    const char* keys;
    WireRecords wire;
    bool staged_shown;
  };
  const Case cases[] = {
      {"to staged batch", kContinuousMoisture, "SA",
       Bytes({{sm::kBatchSelector, 1}, {sm::kMeteringMode, 6}, {sm::kConfigBits, 0x02}}), true},
      {"to continuous flow", kBatchDual, "CA",
       Bytes({{sm::kBatchSelector, 0}, {sm::kMeteringMode, 1}, {sm::kConfigBits, 0x00}}), false},
      {"there and back", kContinuousMoisture, "SCA", Bytes({{sm::kConfigBits, 0x00}}), false},
      {"a choice left with CANCEL", kContinuousMoisture, "SX", {}, true},
      {"a choice not yet accepted", kContinuousMoisture, "S", {}, true},
      {"nothing chosen", kBatchDual, "A", {}, true},
      // Choosing the running mode again keeps its scheme and only clears the configuration bits.
      {"continuous flow again", kContinuousMoisture, "CA", Bytes({{sm::kConfigBits, 0x00}}), false},
      {"staged batch again", kBatchDual, "SA", Bytes({{sm::kConfigBits, 0x02}}), true},
      {"M/C Setup sends the choice", kContinuousMoisture, "SM",
       Bytes({{sm::kBatchSelector, 1}, {sm::kMeteringMode, 6}, {sm::kConfigBits, 0x02}}), true},
      // Hardware without staged batch: shown as continuous flow, sent only when chosen.
      {"forbidden, only opened", kBatchOnForbiddingHardware, "SA", {}, false},
      {"forbidden, continuous flow set up", kBatchOnForbiddingHardware, "M",
       Bytes({{sm::kBatchSelector, 0}, {sm::kMeteringMode, 1}, {sm::kConfigBits, 0x00}}), false},
      {"forbidden, continuous flow chosen", kBatchOnForbiddingHardware, "CA",
       Bytes({{sm::kBatchSelector, 0}, {sm::kMeteringMode, 1}, {sm::kConfigBits, 0x00}}), false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    link::LinkShared shared;
    Report(shared, c.dryer);
    platform::ScriptedPrompter prompter;
    DryingMode dialog(shared);
    Press(dialog, c.keys, prompter);
    EXPECT_EQ(dialog.StagedBatchShown(), c.staged_shown);
    EXPECT_EQ(NextFrame(shared), c.wire);
    EXPECT_EQ(shared.dryer_state.Get(sm::kBatchSelector), c.dryer.selector) << "never local";
    EXPECT_TRUE(prompter.Clean()) << prompter.Problems();
  }
}

TEST(DryingMode, ClosesOrOpensTheSetupOfTheChosenMode) {
  struct Case {
    Dryer dryer;
    const char* keys;
    Outcome outcome;
  };
  const Case cases[] = {
      {kContinuousMoisture, "M", Outcome::kOpenContinuousFlowSetup},
      {kContinuousMoisture, "SM", Outcome::kOpenStagedBatchSetup},
      {kBatchDual, "M", Outcome::kOpenStagedBatchSetup},
      {kBatchOnForbiddingHardware, "M", Outcome::kOpenContinuousFlowSetup},
      {kBatchDual, "C", Outcome::kKeepOpen},
      {kBatchDual, "A", Outcome::kClosed},
      {kBatchDual, "X", Outcome::kClosed},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.keys);
    link::LinkShared shared;
    Report(shared, c.dryer);
    platform::ScriptedPrompter prompter;
    DryingMode dialog(shared);
    EXPECT_EQ(Press(dialog, c.keys, prompter), c.outcome);
  }
}

TEST(DryingMode, SendsNothingBeforeTheDryerHasReportedAndSaysSo) {
  link::LinkShared shared;
  platform::ScriptedPrompter prompter{platform::Answer::kOk, platform::Answer::kOk};
  DryingMode dialog(shared);
  EXPECT_EQ(Press(dialog, "SM", prompter), Outcome::kKeepOpen) << "no setup opens";
  EXPECT_EQ(Press(dialog, "A", prompter), Outcome::kClosed);
  EXPECT_FALSE(shared.pending.AnyRaised());
  EXPECT_EQ(prompter.CountAsked(kNotConnectedText), 2U);
  EXPECT_TRUE(prompter.Clean()) << prompter.Problems();
}

TEST(DryingMode, HelpExplainsTheScreenAndChangesNothing) {
  link::LinkShared shared;
  Report(shared, kContinuousMoisture);
  platform::ScriptedPrompter prompter{platform::Answer::kCancel};
  DryingMode dialog(shared);
  EXPECT_EQ(dialog.Press(id::kHelp, prompter), Outcome::kKeepOpen);
  ASSERT_EQ(prompter.CountAsked(kDryingModeHelpText), 1U);
  EXPECT_EQ(prompter.Last()->caption, "Drying Mode Selection");
  EXPECT_EQ(prompter.Last()->buttons, platform::Buttons::kOkCancel);
  EXPECT_FALSE(shared.pending.AnyRaised());
  EXPECT_TRUE(prompter.Clean()) << prompter.Problems();
}

}  // namespace
}  // namespace orvandry::setup
