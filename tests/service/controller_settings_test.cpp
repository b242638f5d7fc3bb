// The service dialogs that change the dryer's settings: what each press puts in the request image
// and which records it raises, and that the dialogs sharing bytes 238 and 293 never undo each
// other's bits (a requested bushel-counter clear survives every other dialog).
#include <gtest/gtest.h>

#include <array>

#include "link/command_builder.h"
#include "link/status_intake.h"
#include "link/status_map.h"
#include "platform/scripted_prompter.h"
#include "service/meter_output.h"
#include "service/remote_connection.h"
#include "service/sampler_setup.h"
#include "platform/prompter.h"
#include "service/unload_bushels.h"
#include "service/user_settings.h"

namespace orvandry::service {
namespace {

namespace sm = link::status_map;
using link::Rec;
using platform::Answer;

class ControllerSettingsTest : public ::testing::Test {
 protected:
  ControllerSettingsTest() { frame[sm::kDryerActivity] = sm::kDryerActivityPreset; }
  // The dryer reports `frame` through the real intake.
  void Take() { intake.Run(frame.data()); }
  std::uint8_t Requested(std::size_t offset) const { return shared.request.Get(offset); }
  bool Raised(Rec rec) const { return shared.pending.IsRaised(rec); }
  // The next CommandFrame goes out (placing one-shot and command bits).
  void Send() {
    std::array<std::uint8_t, link::kMaxCommandFrameSize> tx{};
    link::BuildCommandFrame(shared, tx.data());
  }

  link::LinkShared shared;
  link::StatusIntake intake{shared, nullptr};
  std::array<std::uint8_t, link::kStateSize> frame{};
  platform::ScriptedPrompter prompter;
};

TEST_F(ControllerSettingsTest, RemoteConnectionSendsTypeAndRingsAndKeepsTheHighBits) {
  struct Case {
    const char* what;
    std::uint8_t reported;
    std::initializer_list<int> presses;
    std::uint8_t expected;
  };
  namespace id = remote_id;
  for (const Case& c :
       {Case{"0xA0 + MODEM + 10 RINGS", 0xA0, {id::kModem, id::kRings[2]}, 0xA6},
        Case{"back to direct serial, 1 ring", 0x57, {id::kDirectSerial, id::kRings[0]}, 0x50},
        Case{"15 rings, type kept", 0x04, {id::kRings[3]}, 0x07},
        Case{"ETHERNET is not offered", 0x00, {id::kEthernet}, 0x00}}) {
    frame[sm::kRemoteConnection] = c.reported;
    Take();
    RemoteConnection logic(shared);
    logic.Open();
    for (int press : c.presses)
      EXPECT_EQ(logic.Press(press, prompter), RemoteConnection::Outcome::kKeepOpen);
    EXPECT_EQ(logic.Press(id::kAccept, prompter), RemoteConnection::Outcome::kAccepted) << c.what;
    EXPECT_EQ(Requested(sm::kRemoteConnection), c.expected) << c.what;
    EXPECT_TRUE(Raised(Rec::kRemoteConnection)) << c.what;
    frame[sm::kRemoteConnection] = c.expected;
    Take();
    EXPECT_FALSE(Raised(Rec::kRemoteConnection)) << c.what << ": lowered by the echo";
  }
  RemoteConnection logic(shared);
  logic.Open();
  logic.Press(id::kModem, prompter);
  EXPECT_EQ(logic.Press(id::kCancel, prompter), RemoteConnection::Outcome::kCancelled);
  EXPECT_FALSE(Raised(Rec::kRemoteConnection));
}

TEST_F(ControllerSettingsTest, UserSettingsCommandStaysRaisedUntilTheDryerReportsIt) {
  struct Case {
    int button;
    std::uint8_t bit;
  };
  for (const Case& c :
       {Case{user_settings_id::kSave, 0x02}, Case{user_settings_id::kRestore, 0x01}}) {
    frame[sm::kDisplaySettings] = 0x80;  // SI units
    Take();
    UserSettings logic(shared);
    logic.Open();
    EXPECT_EQ(logic.Press(c.button, prompter), UserSettings::Outcome::kSent);
    EXPECT_EQ(Requested(sm::kDisplaySettings), 0x80 | c.bit);
    EXPECT_TRUE(Raised(Rec::kDisplaySettings));
    Take();
    EXPECT_TRUE(Raised(Rec::kDisplaySettings)) << "the command has not gone out yet";
    Send();
    EXPECT_EQ(Requested(sm::kDisplaySettings), 0x80) << "the command goes out once";
    frame[sm::kDisplaySettings] = 0x00;  // the dryer still reports its old byte
    Take();
    EXPECT_TRUE(Raised(Rec::kDisplaySettings));
    frame[sm::kDisplaySettings] = 0x80;
    Take();
    EXPECT_FALSE(Raised(Rec::kDisplaySettings));
  }
  UserSettings logic(shared);
  logic.Open();
  EXPECT_EQ(logic.Press(user_settings_id::kCancel, prompter), UserSettings::Outcome::kCancelled);
  EXPECT_FALSE(Raised(Rec::kDisplaySettings));
  // Before the dryer's first report nothing goes, and the technician is told.
  link::LinkShared cold;
  UserSettings early(cold);
  early.Open();
  prompter.Script(Answer::kOk);
  EXPECT_EQ(early.Press(user_settings_id::kSave, prompter), UserSettings::Outcome::kCancelled);
  EXPECT_FALSE(cold.pending.AnyRaised());
  EXPECT_EQ(prompter.Last()->text, platform::kNotConnectedText);
  EXPECT_TRUE(prompter.Clean()) << prompter.Problems();
}

TEST_F(ControllerSettingsTest, BushelCalibrationStepsWithinItsLimitsAndTheTotalIsInWholeBushels) {
  struct Case {
    std::uint8_t reported;
    int button;
    int presses;
    int expected;
  };
  namespace id = bushels_id;
  for (const Case& c : {Case{150, id::kIncrease, 1, 150}, Case{50, id::kDecrease, 1, 50},
                        Case{100, id::kDecrease, 10, 90}, Case{100, id::kIncrease, 10, 110}}) {
    frame[sm::kBushelCalibration] = c.reported;
    Take();
    UnloadBushels logic(shared);
    logic.Open();
    for (int i = 0; i < c.presses; ++i) logic.Press(c.button, prompter);
    EXPECT_EQ(logic.Calibration(), c.expected);
    EXPECT_EQ(logic.Press(id::kAccept, prompter), UnloadBushels::Outcome::kAccepted);
    EXPECT_EQ(Raised(Rec::kBushelCalibration), c.expected != c.reported) << c.expected;
    if (c.expected != c.reported) {
      EXPECT_EQ(Requested(sm::kBushelCalibration), c.expected);
    }
    frame[sm::kBushelCalibration] = static_cast<std::uint8_t>(c.expected);
    Take();
  }
  struct Total {
    std::uint32_t counts;
    const char* text;
  };
  for (const Total& t :
       {Total{3599, " 0"}, Total{3600000, " 1000"}, Total{0xFFFFFFFFU, " 1193046"}}) {
    for (int i = 0; i < 4; ++i)
      frame[sm::kBushelCounter + i] = static_cast<std::uint8_t>(t.counts >> (8 * i));
    Take();
    UnloadBushels logic(shared);
    logic.Open();
    EXPECT_EQ(logic.TotalText(), t.text);
  }
  UnloadBushels logic(shared);
  logic.Open();
  EXPECT_EQ(logic.CalibrationText(), "  110 %");
}

// The clear bit and the meter output test value share byte 238: each dialog sends only its own.
TEST_F(ControllerSettingsTest, BushelClearAndMeterOutputTestKeepEachOthersBitsOfByte238) {
  frame[sm::kMeterOutputVoltage1] = 190;
  frame[sm::kMeterOutputVoltage2] = 32;
  frame[sm::kBushelCounter] = 0x10;
  Take();
  {
    UnloadBushels bushels(shared);
    bushels.Open();
    prompter.Script(Answer::kNo);
    bushels.Press(bushels_id::kClear, prompter);
    EXPECT_FALSE(Raised(Rec::kCommandBits238)) << "only Yes clears";
    prompter.Script(Answer::kYes);
    bushels.Press(bushels_id::kClear, prompter);
    EXPECT_EQ(prompter.Last()->caption, kClearCaption);
    EXPECT_EQ(prompter.Last()->buttons, platform::Buttons::kYesNoCancel);
    EXPECT_EQ(Requested(sm::kCommandBits238), 0x08);
    EXPECT_TRUE(Raised(Rec::kCommandBits238));
  }
  namespace id = meter_output_id;
  MeterOutput meter(shared);
  meter.Open();
  meter.Press(id::kMinUp, prompter);
  EXPECT_EQ(Requested(sm::kMeterOutputVoltage2), 33);
  EXPECT_EQ(Requested(sm::kCommandBits238), 0x08 | 0x02) << "drive the minimum, clear still asked";
  EXPECT_TRUE(Raised(Rec::kMeterOutput237));
  meter.Press(id::kMaxDown, prompter);
  EXPECT_EQ(Requested(sm::kMeterOutputVoltage1), 189);
  EXPECT_EQ(Requested(sm::kCommandBits238), 0x08 | 0x01);
  // The dryer clears its counter; the intake ends the clear while the dialog is still open.
  frame[sm::kBushelCounter] = 0;
  frame[sm::kCommandBits238] = 0x09;
  Take();
  EXPECT_EQ(Requested(sm::kCommandBits238) & 0x08, 0);
  EXPECT_EQ(meter.Press(id::kAccept, prompter), MeterOutput::Outcome::kClosed);
  EXPECT_EQ(Requested(sm::kCommandBits238), 0x00) << "the ended clear is not asked for again";
  EXPECT_TRUE(Raised(Rec::kCommandBits238));

  // A sampler change while a clear is pending leaves byte 238 alone.
  frame[sm::kBushelCounter] = 0x10;
  frame[sm::kCommandBits238] = 0;
  Take();
  UnloadBushels bushels(shared);
  bushels.Open();
  prompter.Script(Answer::kYes);
  bushels.Press(bushels_id::kClear, prompter);
  SamplerSetup sampler(shared);
  sampler.Open();
  sampler.Press(sampler_id::kSelectDelay, prompter);
  EXPECT_EQ(Requested(sm::kCommandBits238), 0x08);
  EXPECT_TRUE(Raised(Rec::kCommandBits238));
  EXPECT_TRUE(prompter.Clean()) << prompter.Problems();
}

TEST_F(ControllerSettingsTest, MeterOutputStepsStopAtTheirLimitsButAlwaysSendTheTestCommand) {
  struct Case {
    const char* what;
    std::uint8_t min, max;
    int button;
    std::size_t offset;
    int expected;
    std::uint8_t drive;
  };
  namespace id = meter_output_id;
  for (const Case& c :
       {Case{"minimum DOWN at 0", 0, 190, id::kMinDown, sm::kMeterOutputVoltage2, 0, 2},
        Case{"minimum UP at 64", 64, 190, id::kMinUp, sm::kMeterOutputVoltage2, 64, 2},
        Case{"maximum UP at 255", 32, 255, id::kMaxUp, sm::kMeterOutputVoltage1, 255, 1},
        Case{"maximum DOWN at 165", 32, 165, id::kMaxDown, sm::kMeterOutputVoltage1, 165, 1}}) {
    link::LinkShared fresh;
    frame[sm::kMeterOutputVoltage2] = c.min;
    frame[sm::kMeterOutputVoltage1] = c.max;
    link::StatusIntake(fresh, nullptr).Run(frame.data());
    MeterOutput meter(fresh);
    meter.Open();
    meter.Press(c.button, prompter);
    EXPECT_EQ(fresh.request.Get(c.offset), c.expected) << c.what;
    EXPECT_EQ(fresh.request.Get(sm::kCommandBits238), c.drive) << c.what;
    EXPECT_TRUE(fresh.pending.IsRaised(c.offset == sm::kMeterOutputVoltage1 ? Rec::kMeterOutput236
                                                                            : Rec::kMeterOutput237))
        << c.what;
    EXPECT_TRUE(fresh.pending.IsRaised(Rec::kCommandBits238)) << c.what;
  }
  link::LinkShared fresh;
  link::StatusIntake(fresh, nullptr).Run(frame.data());
  MeterOutput meter(fresh);
  meter.Open();
  meter.Press(id::kDefault, prompter);
  EXPECT_EQ(fresh.request.Get(sm::kMeterOutputVoltage2), 32);
  EXPECT_EQ(fresh.request.Get(sm::kMeterOutputVoltage1), 190);
  EXPECT_FALSE(fresh.pending.IsRaised(Rec::kCommandBits238)) << "DEFAULT drives no output";
  EXPECT_EQ(MeterOutput::PercentText(190), " 74.51 %");
  EXPECT_EQ(MeterOutput::VoltsText(190), " ~7.5 V");
  EXPECT_EQ(MeterOutput::PercentText(0), " 0.00 %");
  EXPECT_EQ(MeterOutput::VoltsText(255), " ~10.0 V");
}

TEST_F(ControllerSettingsTest, SamplerSelectsStepTheirBitsAndSendAtOnce) {
  namespace id = sampler_id;
  frame[sm::kSamplerConfig] = 0x80 | 0x10 | 0x04;  // cycled sampler; delay 2; max time 2
  Take();
  SamplerSetup sampler(shared);
  sampler.Open();
  EXPECT_FALSE(sampler.SwitchesToGrainTemp());
  EXPECT_EQ(sampler.Delay(), 2);
  EXPECT_EQ(sampler.MaxTime(), 2);
  sampler.Press(id::kSelectAction, prompter);
  EXPECT_EQ(Requested(sm::kSamplerConfig), 0x80 | 0x20 | 0x10 | 0x04);
  EXPECT_TRUE(Raised(Rec::kSamplerConfig));
  const std::uint8_t before = Requested(sm::kSamplerConfig);
  for (int i = 0; i < 4; ++i) sampler.Press(id::kSelectDelay, prompter);
  EXPECT_EQ(Requested(sm::kSamplerConfig), before) << "four delay SELECTs come back";
  sampler.Press(id::kSelectMaxTime, prompter);
  sampler.Press(id::kSelectMaxTime, prompter);
  EXPECT_EQ(sampler.MaxTime(), 0) << "3 wraps to 0";
  EXPECT_EQ(Requested(sm::kSamplerConfig), 0x80 | 0x20 | 0x10);
  EXPECT_EQ(sampler.Press(id::kAccept, prompter), SamplerSetup::Outcome::kClosed);
}

}  // namespace
}  // namespace orvandry::service
