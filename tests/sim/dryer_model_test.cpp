#include "sim/dryer_model.h"

#include <gtest/gtest.h>

#include <array>
#include <set>

#include "link/status_map.h"

namespace orvandry::sim {
namespace {

namespace sm = link::status_map;
using Phase = DryerModel::BurnerPhase;

// The simulated dryer is only useful if the display shows what a real one would: a two-fan dryer
// whose burners purge, ignite and fire up to their setpoints and then ride them, with the status
// bytes agreeing with what the burners do.
TEST(DryerModel, ATwoFanDryerFiresUpToItsSetpointsAndReportsItsBurnersTruthfully) {
  DryerModel model;
  EXPECT_EQ(model.table()[sm::kFanCountCode], 1);
  EXPECT_EQ(model.fan_heaters(), 2);
  EXPECT_EQ(GetT16(model.table(), sm::kPlenumSetpoint1), 180);
  EXPECT_EQ(GetT16(model.table(), sm::PlenumSetpoint(2)), 170);
  EXPECT_NE(model.table()[sm::kDryerStateBits] & 0x40, 0);

  std::vector<Phase> seen;
  for (int i = 0; i < 4 * 60; ++i) {
    model.Step(0.25);
    const Phase phase = model.burner_phase(1);
    if (seen.empty() || seen.back() != phase) seen.push_back(phase);
    const std::uint8_t status = model.table()[sm::BurnerStatus(1)];
    const std::uint8_t output = model.table()[sm::FanHeaterStatus(1)];
    EXPECT_EQ((status & 0x01) != 0, phase == Phase::kPurging);
    EXPECT_EQ((status & 0x02) != 0, phase == Phase::kIgniting);
    EXPECT_EQ((output & 0x02) != 0, phase == Phase::kFiring);
    EXPECT_NE(output & 0x01, 0) << "fan runs throughout";
  }
  EXPECT_EQ(seen, (std::vector<Phase>{Phase::kPurging, Phase::kIgniting, Phase::kFiring}));

  model.Step(600);
  EXPECT_NEAR(GetT16(model.table(), sm::kPlenumReading1), 180, 8);
  EXPECT_NEAR(GetT16(model.table(), sm::PlenumReading(2)), 170, 8);
  EXPECT_EQ(model.table()[sm::FanHeaterStatus(3)], 0) << "no third fan/heater";

  // Up to temperature, the burner rides the setpoint between high and low fire.
  bool high = false;
  bool low = false;
  for (int i = 0; i < 4 * 120; ++i) {
    model.Step(0.25);
    const std::uint8_t output = model.table()[sm::FanHeaterStatus(1)];
    if ((output & 0x02) != 0) ((output & 0x04) != 0 ? high : low) = true;
  }
  EXPECT_TRUE(high);
  EXPECT_TRUE(low);
}

// In staged batch the batch timers count down one after the other, a second at a time, and the
// batch starts over from the reload values once it has unloaded; the unload timer drives the
// unloading.
TEST(DryerModel, StagedBatchTimersCountDownInTurnAndReload) {
  using Stage = DryerModel::BatchStage;
  struct Case {
    bool dual;
    std::vector<Stage> stages;
  };
  const Case cases[] = {
      {false, {Stage::kDry, Stage::kCool, Stage::kUnload, Stage::kDry}},
      {true, {Stage::kDry, Stage::kLowHeatDry, Stage::kCool, Stage::kUnload, Stage::kDry}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.dual);
    DryerModel model;
    Table& t = model.table();
    t[sm::kBatchSelector] = 1;
    if (c.dual) t[sm::kConfigBits] |= 0x02;
    SetTime(t, sm::kDryTimerReload, 3);
    SetTime(t, sm::kLoHeatDryTimerReload, 2);
    SetTime(t, sm::kCoolTimerReload, 2);
    SetTime(t, sm::kUnloadTimerReload, 2);
    SetTime(t, sm::kDryTimerRunning, 3);
    SetTime(t, sm::kLoHeatDryTimerRunning, 2);
    SetTime(t, sm::kCoolTimerRunning, 2);
    SetTime(t, sm::kUnloadTimerRunning, 2);
    std::vector<Stage> seen{model.batch_stage()};
    std::vector<unsigned> dry;
    for (int second = 0; second < 10 && seen.size() < c.stages.size(); ++second) {
      model.Step(1.0);
      dry.push_back(GetTime(t, sm::kDryTimerRunning));
      if (seen.back() != model.batch_stage()) seen.push_back(model.batch_stage());
      EXPECT_EQ((t[sm::kUnloadBits] & 0x01) != 0, model.batch_stage() == Stage::kUnload);
    }
    EXPECT_EQ(seen, c.stages);
    EXPECT_EQ((std::vector<unsigned>(dry.begin(), dry.begin() + 3)),
              (std::vector<unsigned>{2, 1, 0}));
    for (std::size_t running :
         {sm::kDryTimerRunning, sm::kCoolTimerRunning, sm::kUnloadTimerRunning})
      EXPECT_EQ(GetTime(t, running), running == sm::kDryTimerRunning ? 3U : 2U) << running;
  }
}

// The display switches the drying mode by writing byte 8 while the dryer runs: a switch to staged
// batch starts a fresh batch from the reload values, a switch back ends the batch's unloading.
TEST(DryerModel, ASwitchOfTheDryingModeStartsAFreshBatchOrTheContinuousCycle) {
  using Stage = DryerModel::BatchStage;
  DryerModel model;
  Table& t = model.table();
  model.Step(30.0);
  ASSERT_FALSE(model.staged_batch());
  SetTime(t, sm::kDryTimerReload, 20 * 60);
  SetTime(t, sm::kDryTimerRunning, 3);
  t[sm::kBatchSelector] = 1;
  model.Step(1.0);
  EXPECT_EQ(model.batch_stage(), Stage::kDry);
  EXPECT_EQ(GetTime(t, sm::kDryTimerRunning), 20U * 60U - 1U) << "reloaded, then one second";
  EXPECT_EQ(t[sm::kUnloadBits] & 0x01, 0) << "a drying batch does not unload";
  SetTime(t, sm::kDryTimerRunning, 1);
  SetTime(t, sm::kCoolTimerRunning, 1);
  model.Step(3.0);
  ASSERT_EQ(model.batch_stage(), Stage::kUnload);
  t[sm::kBatchSelector] = 0;
  model.Step(1.0);
  EXPECT_FALSE(model.staged_batch());
  EXPECT_EQ(t[sm::kUnloadBits] & 0x01, 0) << "continuous flow starts with its pause";
}

// The display's I/O test and calibration dialogs are watched live against the simulator: the
// light outputs follow the fans and burners, the panel test flips switches and shorts FAN 1, the
// sensors report with the calibration offsets applied, and a print order is taken once.
TEST(DryerModel, ThePanelLightsSwitchesSensorsAndPrinterAnswerTheDisplay) {
  DryerModel model;
  model.Step(60);
  Table& t = model.table();
  EXPECT_EQ(t[240] & 0x08, 0x08) << "FAN 1 light on while fan 1 runs";
  EXPECT_EQ((t[240] & 0x10) != 0, model.burner_phase(1) == Phase::kFiring) << "BURNER 1 light";
  EXPECT_EQ(t[239] & 0x04, 0) << "FAN 6 is not fitted";
  EXPECT_EQ(t[180] & 0x05, 0x05) << "BURNER 1 and FAN 2 switches on AUTO";
  EXPECT_EQ(t[178] & 0x08, 0) << "nothing shorted";

  std::set<int> flipped;
  const std::array<std::uint8_t, 3> rest = {t[180], t[181], t[182]};
  model.SetPanelTest(true);
  for (int s = 0; s < 30; ++s) {
    model.Step(1);
    for (int b = 0; b < 3; ++b)
      for (int bit = 0; bit < 8; ++bit)
        if (((t[180 + b] ^ rest[b]) >> bit) & 1) flipped.insert(b * 8 + bit);
    EXPECT_EQ(t[178] & 0x08, 0x08);
  }
  EXPECT_EQ(flipped.size(), 24U) << "every switch input of 180-182 flips in turn";
  model.SetPanelTest(false);
  model.Step(1);
  EXPECT_EQ(t[178] & 0x08, 0);

  const unsigned dry = GetBe16(t, sm::kOutgoingMoisture);
  SetBe16(t, 232, static_cast<std::uint16_t>(-50));  // dry moisture offset -5.0
  model.Step(0.25);
  EXPECT_NEAR(static_cast<int>(GetBe16(t, sm::kOutgoingMoisture)), static_cast<int>(dry) - 50, 2);

  for (const bool disabled : {true, false}) {
    const int before = model.summaries_printed();
    t[217] = disabled ? 0x40 : 0x00;
    t[218] = 0x20;
    model.Step(1);
    EXPECT_EQ(t[218] & 0x20, 0) << "the order is taken";
    EXPECT_EQ(model.summaries_printed(), before + (disabled ? 0 : 1));
  }
}

// SAVE SETTINGS keeps the dryer's settings; RESTORE SETTINGS brings them back, leaving live
// values alone; both command bits clear once done, so the display's record can end.
TEST(DryerModel, SavesAndRestoresItsSettingsOnTheDisplaysCommand) {
  DryerModel model;
  Table& t = model.table();
  t[sm::kBushelCalibration] = 95;
  t[sm::kDisplaySettings] |= 0x02;
  model.Step(0.25);
  EXPECT_EQ(t[sm::kDisplaySettings] & 0x03, 0);
  t[sm::kBushelCalibration] = 120;
  t[sm::kRemoteConnection] = 0xA6;
  SetU32(t, sm::kBushelCounter, 7200);
  t[sm::kDisplaySettings] |= 0x01;
  model.Step(0.25);
  EXPECT_EQ(t[sm::kDisplaySettings] & 0x03, 0);
  EXPECT_EQ(t[sm::kBushelCalibration], 95);
  EXPECT_EQ(t[sm::kRemoteConnection], 0xA1);
  EXPECT_GE(GetU32(t, sm::kBushelCounter), 7200U) << "the counter is no setting";
}

}  // namespace
}  // namespace orvandry::sim
