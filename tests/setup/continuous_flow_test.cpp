// The continuous flow setup's rules, as the bytes its choices put on the wire.
#include "setup/continuous_flow.h"

#include <gtest/gtest.h>

#include <string>

#include "link/status_map.h"
#include "platform/scripted_prompter.h"
#include "tests/setup/wire_records.h"

namespace orvandry::setup {
namespace {

namespace id = continuous_flow_id;
namespace sm = link::status_map;
using Outcome = ContinuousFlow::Outcome;
using testing::Bytes;
using testing::NextFrame;
using testing::WireRecords;

struct Dryer {
  std::uint8_t mode = 1;
  std::uint8_t drying = 0;
  std::uint8_t display = 0;
  std::int16_t max_grain = 150;
};

void Report(link::LinkShared& shared, const Dryer& dryer) {
  shared.first_frame_accepted = true;
  shared.dryer_state.Set(sm::kMeteringMode, dryer.mode);
  shared.dryer_state.Set(sm::kDryingMode, dryer.drying);
  shared.dryer_state.Set(sm::kDisplaySettings, dryer.display);
  shared.dryer_state.SetT16(sm::kMoistureControlValue, dryer.max_grain);
}

// One letter per control: T M 2 5(temperature) V F(moisture five) a(uto centering) u(pper sensor)
// s(afety) A(CCEPT) X(CANCEL).
int Control(char k) {
  switch (k) {
    case 'T':
      return id::kTemperature;
    case 'M':
      return id::kMoisture;
    case '2':
      return id::kTempTwoSpeed;
    case '5':
      return id::kTempFiveSpeed;
    case 'V':
      return id::kVariable;
    case 'F':
      return id::kMoistureFiveSpeed;
    case 'a':
      return id::kAutoCentering;
    case 'u':
      return id::kUpperSensorSelect;
    case 's':
      return id::kSafetyToggle;
    case 'A':
      return id::kAccept;
    default:
      return id::kCancel;
  }
}

Outcome Press(ContinuousFlow& setup, const std::string& keys, platform::Prompter& prompter) {
  Outcome outcome = Outcome::kKeepOpen;
  for (char k : keys) outcome = setup.Press(Control(k), prompter);
  return outcome;
}

TEST(ContinuousFlow, ChoicesGoOutOnAcceptOnlyAndSchemesAsTheWholeByte) {
  struct Case {
    const char* name;
    Dryer dryer;
    const char* keys;
    WireRecords wire;
  };
  const Case cases[] = {
      {"moisture", {}, "MA", Bytes({{sm::kMeteringMode, 4}})},
      {"moisture variable", {}, "MVA", Bytes({{sm::kMeteringMode, 3}})},
      {"temperature five-speed", {0x04}, "T5A", Bytes({{sm::kMeteringMode, 5}})},
      {"the other bits go with the scheme", {0xA1}, "5A", Bytes({{sm::kMeteringMode, 5}})},
      {"back to where it was", {0x04}, "TFMA", {}},
      {"a moisture option under temperature", {}, "VFA", {}},
      {"a temperature option under moisture", {0x03}, "5A", {}},
      {"not accepted", {}, "MV", {}},
      {"cancelled", {}, "MVX", {}},
      {"auto centering", {0x05, 0x01}, "aA", Bytes({{sm::kDryingMode, 0x81}})},
      {"auto centering outside five-speed", {0x01, 0x01}, "aA", {}},
      {"upper sensor", {0x01, 0x81}, "uA", Bytes({{sm::kDryingMode, 0x80}})},
      {"upper sensor cancelled", {0x01, 0x81}, "uX", {}},
      {"safety on", {0x01, 0, 0x80}, "sA", Bytes({{sm::kDisplaySettings, 0xB0}})},
      {"safety off", {0x01, 0, 0xB0}, "sA", Bytes({{sm::kDisplaySettings, 0x80}})},
      {"safety off, tested on 0x20 alone",
       {0x01, 0, 0x20},
       "sA",
       Bytes({{sm::kDisplaySettings, 0x00}})},
      {"together",
       {0x01, 0x00, 0x00},
       "M5FauAX",
       Bytes({{sm::kMeteringMode, 4}, {sm::kDryingMode, 0x81}})},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    link::LinkShared shared;
    Report(shared, c.dryer);
    platform::ScriptedPrompter prompter;
    ContinuousFlow setup(shared);
    Press(setup, c.keys, prompter);
    EXPECT_EQ(NextFrame(shared), c.wire);
    EXPECT_TRUE(prompter.Clean()) << prompter.Problems();
  }
}

TEST(ContinuousFlow, ASchemeItDoesNotOfferShowsAsTwoSpeedAndIsLeftAlone) {
  for (std::uint8_t mode : {0x00, 0x02, 0x22, 0x06, 0x07}) {
    SCOPED_TRACE(static_cast<int>(mode));
    link::LinkShared shared;
    Report(shared, {mode});
    platform::ScriptedPrompter prompter;
    ContinuousFlow setup(shared);
    EXPECT_TRUE(setup.TemperatureScheme());
    EXPECT_FALSE(setup.FiveSpeed());
    EXPECT_FALSE(setup.Variable());
    EXPECT_TRUE(NextFrame(shared).empty()) << "opening sends nothing";
    setup.Press(id::kUpperSensorSelect, prompter);
    EXPECT_EQ(setup.Press(id::kAccept, prompter), Outcome::kAccepted);
    EXPECT_EQ(NextFrame(shared), Bytes({{sm::kDryingMode, 0x01}})) << "the scheme stays";
    // Chosen by the operator, two-speed goes out.
    link::LinkShared fresh;
    Report(fresh, {mode});
    ContinuousFlow chosen(fresh);
    chosen.Press(id::kTempTwoSpeed, prompter);
    chosen.Press(id::kAccept, prompter);
    EXPECT_EQ(NextFrame(fresh), Bytes({{sm::kMeteringMode, 0x01}}));
  }
}

TEST(ContinuousFlow, ShowsEachSchemeWithItsOptionsAndTheFiveSpeedGroup) {
  struct Case {
    std::uint8_t mode;
    bool temperature;
    bool five;
    bool variable;
  };
  const Case cases[] = {
      {1, true, false, false}, {5, true, true, false},    {3, false, false, true},
      {4, false, true, false}, {0x85, true, true, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.mode));
    link::LinkShared shared;
    Report(shared, {c.mode});
    ContinuousFlow setup(shared);
    EXPECT_EQ(setup.TemperatureScheme(), c.temperature);
    EXPECT_EQ(setup.FiveSpeedGroupEnabled(), c.five);
    EXPECT_EQ(setup.Variable(), c.variable);
  }
}

TEST(ContinuousFlow, FiveSpeedSetupSendsTheChosenSchemeFirstAndOpensOnlyForFiveSpeed) {
  link::LinkShared shared;
  Report(shared, {0x01});
  platform::ScriptedPrompter prompter;
  ContinuousFlow setup(shared);
  EXPECT_EQ(setup.Press(id::kFiveSpeedSetup, prompter), Outcome::kKeepOpen) << "two-speed";
  EXPECT_TRUE(NextFrame(shared).empty());
  setup.Press(id::kMoisture, prompter);
  EXPECT_EQ(setup.Press(id::kFiveSpeedSetup, prompter), Outcome::kOpenFiveSpeedSetup);
  EXPECT_EQ(setup.Mode(), 4);
  EXPECT_EQ(NextFrame(shared), Bytes({{sm::kMeteringMode, 4}}));
  EXPECT_EQ(setup.Press(id::kAccept, prompter), Outcome::kAccepted);
  EXPECT_EQ(NextFrame(shared), Bytes({{sm::kMeteringMode, 4}})) << "on its way, nothing new";
}

TEST(ContinuousFlow, TheLimitIsEditedOnlyWhileEnabledAndShownInTheDisplaysUnit) {
  struct Case {
    std::uint8_t display;
    bool si;
    Outcome outcome;
    const char* shown;
  };
  const Case cases[] = {
      {0x30, false, Outcome::kOpenMaxGrainTemp, "150 F"},
      {0x20, true, Outcome::kOpenMaxGrainTemp, "65 C"},
      {0x10, false, Outcome::kKeepOpen, "150 F"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.shown);
    link::LinkShared shared;
    Report(shared, {0x01, 0, c.display, 150});
    shared.si_units = c.si;
    platform::ScriptedPrompter prompter;
    ContinuousFlow setup(shared);
    EXPECT_EQ(setup.Press(id::kMaxGrainTemp, prompter), c.outcome);
    EXPECT_EQ(setup.MaxGrainTempText(), c.shown);
  }
  EXPECT_EQ(kMaxGrainTempLimits.min, 100);
  EXPECT_EQ(kMaxGrainTempLimits.max, 200);
  EXPECT_EQ(kMaxGrainTempLimits.default_value, 150);
}

TEST(ContinuousFlow, ShowsALimitTheEntryDialogHasSentOnItsWay) {
  link::LinkShared shared;
  Report(shared, {0x01, 0, 0x30, 150});
  ContinuousFlow setup(shared);
  link::SettingEdit entry(shared);
  entry.Load(link::Rec::kMoistureControlValue);
  entry.SetT16(sm::kMoistureControlValue, 180);
  ASSERT_EQ(entry.Commit(link::Rec::kMoistureControlValue), link::CommitResult::kSent);
  setup.ReloadMaxGrainTemp();
  EXPECT_EQ(setup.MaxGrainTempText(), "180 F");
}

TEST(ContinuousFlow, HelpAndNoConnection) {
  link::LinkShared shared;
  platform::ScriptedPrompter prompter{platform::Answer::kOk, platform::Answer::kOk};
  ContinuousFlow setup(shared);
  EXPECT_EQ(setup.Press(id::kHelp, prompter), Outcome::kKeepOpen);
  ASSERT_NE(prompter.Last(), nullptr);
  EXPECT_EQ(prompter.Last()->caption, "Select Drying Criteria Help");
  EXPECT_EQ(prompter.Last()->text, kContinuousFlowHelpText);
  setup.Press(id::kMoisture, prompter);
  EXPECT_EQ(setup.Press(id::kAccept, prompter), Outcome::kCancelled) << "the drying mode stays";
  EXPECT_EQ(prompter.Last()->caption, " NO CONNECTION TO DRYER");
  EXPECT_FALSE(shared.pending.AnyRaised());
  EXPECT_TRUE(prompter.Clean()) << prompter.Problems();
}

}  // namespace
}  // namespace orvandry::setup
