#include "sim/dryer_model.h"

#include <gtest/gtest.h>

#include "link/status_map.h"

namespace orvandry::sim {
namespace {

namespace sm = link::status_map;
using Phase = DryerModel::BurnerPhase;

TEST(DryerModel, StartsAsATwoFanContinuousFlowLpDryer) {
  DryerModel model;
  const Table& t = model.table();
  EXPECT_EQ(t[sm::kFanCountCode], 1);
  EXPECT_EQ(model.fan_heaters(), 2);
  EXPECT_EQ(t[sm::kFuelCode], 0);
  EXPECT_EQ(t[sm::kBatchSelector], 0);
  EXPECT_EQ(GetT16(t, sm::kPlenumSetpoint1), 180);
  EXPECT_EQ(GetT16(t, sm::PlenumSetpoint(2)), 170);
  EXPECT_NE(t[sm::kDryerStateBits] & 0x40, 0);
  EXPECT_EQ(GetBe16(t, sm::kMoistureSetpoint), 155u);
}

TEST(DryerModel, SameSeedSameDryerHoweverTheTimeIsSliced) {
  DryerModel whole(7);
  DryerModel sliced(7);
  DryerModel other(8);
  whole.Step(120);
  for (int i = 0; i < 480; ++i) sliced.Step(0.25);
  other.Step(120);
  EXPECT_EQ(whole.table(), sliced.table());
  EXPECT_NE(whole.table(), other.table());
  EXPECT_DOUBLE_EQ(whole.elapsed(), 120);
}

TEST(DryerModel, BurnersPurgeIgniteAndFireUpToTheirSetpoints) {
  DryerModel model;
  std::vector<Phase> seen;
  for (int i = 0; i < 4 * 60; ++i) {
    model.Step(0.25);
    const Phase phase = model.burner_phase(1);
    if (seen.empty() || seen.back() != phase) seen.push_back(phase);
    const Table& t = model.table();
    const std::uint8_t status = t[sm::BurnerStatus(1)];
    const std::uint8_t output = t[sm::FanHeaterStatus(1)];
    // What the display reads agrees with the phase.
    EXPECT_EQ((status & 0x01) != 0, phase == Phase::kPurging);
    EXPECT_EQ((status & 0x02) != 0, phase == Phase::kIgniting);
    EXPECT_EQ((output & 0x02) != 0, phase == Phase::kFiring);
    EXPECT_NE(output & 0x01, 0) << "fan runs throughout";
  }
  ASSERT_GE(seen.size(), 3u);
  EXPECT_EQ(seen[0], Phase::kPurging);
  EXPECT_EQ(seen[1], Phase::kIgniting);
  EXPECT_EQ(seen[2], Phase::kFiring);

  model.Step(600);
  EXPECT_NEAR(GetT16(model.table(), sm::kPlenumReading1), 180, 8);
  EXPECT_NEAR(GetT16(model.table(), sm::PlenumReading(2)), 170, 8);
  // Fan/heater 3 does not exist on this dryer.
  EXPECT_EQ(model.table()[sm::FanHeaterStatus(3)], 0);
  EXPECT_NEAR(GetT16(model.table(), sm::PlenumReading(3)), 60, 2);

  // Once up to temperature the burner rides the setpoint between high and low fire.
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

TEST(DryerModel, FollowsASetpointWrittenIntoItsTable) {
  DryerModel model;
  model.Step(300);
  SetT16(model.table(), sm::kPlenumSetpoint1, 140);
  model.Step(300);
  EXPECT_NEAR(GetT16(model.table(), sm::kPlenumReading1), 140, 8);
}

TEST(DryerModel, UnloadsInCyclesAndCountsBushelsOnlyWhileUnloading) {
  DryerModel model;
  int unloading_seconds = 0;
  int idle_seconds = 0;
  bool loaded = false;
  for (int s = 0; s < 900; ++s) {
    const Table before = model.table();
    model.Step(1);
    const Table& t = model.table();
    const bool unloading = (t[sm::kUnloadBits] & 0x01) != 0;
    EXPECT_EQ(unloading, (t[sm::kDryerActivity] & 0x40) != 0);
    const std::uint32_t added = GetU32(t, sm::kBushelCounter) - GetU32(before, sm::kBushelCounter);
    const unsigned rate = GetBe16(t, sm::kUnloadRate);
    if (unloading && (before[sm::kUnloadBits] & 0x01) != 0) {
      ++unloading_seconds;
      // 1/3600 bushel units: a rate in bushels per hour adds that many units a second.
      EXPECT_NEAR(static_cast<double>(added), rate, 60.0);
      EXPECT_GE(rate, 200u);
      EXPECT_LE(rate, 1500u);
      EXPECT_EQ(GetTime(t, sm::kUnloadTimerRunning) + 1, GetTime(before, sm::kUnloadTimerRunning));
      EXPECT_NE(t[sm::kUnloadTextBits] & 0x01, 0);
    } else if (!unloading && (before[sm::kUnloadBits] & 0x01) == 0) {
      ++idle_seconds;
      EXPECT_EQ(added, 0u);
      EXPECT_EQ(rate, 0u);
    }

    const bool loading = (t[sm::kDryerActivity] & 0x80) == 0;
    EXPECT_EQ(loading, (t[sm::kLoadDirectionBits] & 0x80) != 0);
    EXPECT_EQ(loading, (t[sm::kLoadingBits] & 0x01) != 0);
    if (loading && (before[sm::kDryerActivity] & 0x80) == 0) {
      loaded = true;
      EXPECT_EQ(GetTime(t, sm::kFillTimeRemaining) + 1, GetTime(before, sm::kFillTimeRemaining))
          << "the fill timer counts down while loading";
    }
  }
  EXPECT_GT(unloading_seconds, 300);
  EXPECT_GT(idle_seconds, 60);
  EXPECT_TRUE(loaded);
  EXPECT_GT(GetU32(model.table(), sm::kBushelCounter), 3600u * 50);
}

TEST(DryerModel, MoisturesAndGrainTemperaturesDriftWithinReason) {
  DryerModel model;
  unsigned lowest = 1000;
  unsigned highest = 0;
  for (int s = 0; s < 1800; ++s) {
    model.Step(1);
    const Table& t = model.table();
    const unsigned out = GetBe16(t, sm::kOutgoingMoisture);
    lowest = std::min(lowest, out);
    highest = std::max(highest, out);
    EXPECT_GE(GetBe16(t, sm::kIncomingMoisture), 180u);
    EXPECT_LE(GetBe16(t, sm::kIncomingMoisture), 260u);
    EXPECT_LE(out, GetBe16(t, sm::kIncomingMoisture));
  }
  EXPECT_LT(lowest, highest) << "the values move";
  const Table& t = model.table();
  EXPECT_NEAR(GetBe16(t, sm::kOutgoingMoisture), 155, 15) << "settles near the 15.5 % setpoint";
  EXPECT_NEAR(GetBe16(t, sm::kOutgoingGrainTemp) / 10.0, 95, 10);
  EXPECT_NEAR(GetT16(t, sm::kGrainTempSelector0), 95, 10);
}

TEST(DryerModel, AWarningShutsTheDryerDownAndCoolsItOff) {
  DryerModel model;
  model.Step(300);
  model.SetWarningCode(0x0205);
  EXPECT_EQ(model.table()[sm::kWarningId], 0x05);
  EXPECT_EQ(model.table()[sm::kWarningNode], 0x02);
  model.Step(10);
  const Table& t = model.table();
  EXPECT_EQ(t[sm::kDryerStateBits] & 0x40, 0);
  EXPECT_EQ(t[sm::FanHeaterStatus(1)] & 0x02, 0) << "burner off";
  EXPECT_NE(t[sm::FanHeaterStatus(1)] & 0x01, 0) << "fan runs on";
  EXPECT_EQ(t[sm::kStatusTextSelector] & 0x03, 1);
  EXPECT_EQ(GetTime(t, sm::kCoolDownTimeLeft), 5u * 60 - 10);
  EXPECT_EQ(t[sm::kUnloadBits], 0);

  model.Step(300);
  EXPECT_EQ(model.table()[sm::FanHeaterStatus(1)], 0) << "fans stop after the cool-down";
  EXPECT_EQ(model.table()[sm::kStatusTextSelector] & 0x03, 0);
  EXPECT_LT(model.plenum_temperature(1), 150);

  model.SetWarningCode(0);
  model.Step(2);
  EXPECT_NE(model.table()[sm::kDryerStateBits] & 0x40, 0);
  EXPECT_EQ(model.burner_phase(1), Phase::kPurging);
}

}  // namespace
}  // namespace orvandry::sim
