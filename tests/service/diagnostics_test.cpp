// The diagnostics dialog and its two I/O test dialogs: what the airswitch, metering and sensor
// controls put on the wire (and what they leave alone), and which bits tick which boxes.
#include "service/diagnostics.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "link/status_map.h"
#include "service/diagnostics_dialogs.h"
#include "platform/prompter.h"
#include "tests/service/service_fixture.h"

namespace orvandry::service {
namespace {

namespace sm = link::status_map;
namespace id = diagnostics_id;
using platform::Answer;
using testing::Bytes;
using testing::NextFrame;
using testing::WireRecords;

constexpr const char* kEnableQ = "Do you wish to ENABLE airswitch testing?";
constexpr const char* kDisableQ = "Do you wish to DISABLE airswitch testing?";
constexpr const char* kConfirmQ = "Pressing YES will DISABLE all airswitch testing!  Proceed?";
constexpr const char* kRecycle = "You must recycle power to enable the Disable Airswitch option.";

class DiagnosticsTest : public testing::ServiceTest {
 protected:
  // Burner mode bytes 101..106 as the dryer reports them, with the fan count code.
  void Report(std::uint8_t fan_code, const std::array<std::uint8_t, 6>& modes_101_106,
              std::uint8_t byte148 = 0, std::uint8_t byte118 = 0, std::uint8_t byte49 = 0) {
    frame[sm::kFanCountCode] = fan_code;
    for (std::size_t i = 0; i < 6; ++i) frame[101 + i] = modes_101_106[i];
    frame[148] = byte148;
    frame[118] = byte118;
    frame[sm::kOptionByte] = byte49;
    Take();
  }
  std::vector<std::string> Asked() const {
    std::vector<std::string> texts;
    for (const auto& q : prompter.Questions()) texts.push_back(q.text);
    return texts;
  }
};

// The airswitch button works on the fitted fan/heaters' bytes only: a bit on an absent one's byte
// neither makes testing read as disabled nor is ever cleared or set.
TEST_F(DiagnosticsTest, AirswitchTestingChangesOnlyTheFittedFanHeatersBytes) {
  struct Case {
    const char* name;
    std::uint8_t fan_code;
    std::array<std::uint8_t, 6> modes;  // bytes 101..106
    std::uint8_t byte148;
    std::vector<Answer> answers;
    std::vector<std::string> asked;
    WireRecords wire;
  };
  const std::vector<Case> cases = {
      {"one fan count code 1: bytes 105-106 only",
       1,
       {1, 1, 1, 1, 1, 1},
       0,
       {Answer::kYes, Answer::kYes},
       {kDisableQ, kConfirmQ},
       Bytes({{105, 0x05}, {106, 0x05}})},
      {"code 4: all six",
       4,
       {0, 1, 3, 0, 1, 3},
       0,
       {Answer::kYes, Answer::kYes},
       {kDisableQ, kConfirmQ},
       Bytes({{101, 0x04}, {102, 0x05}, {103, 0x07}, {104, 0x04}, {105, 0x05}, {106, 0x07}})},
      {"code 0: byte 106",
       0,
       {0, 0, 0, 0, 0, 0},
       0,
       {Answer::kYes, Answer::kYes},
       {kDisableQ, kConfirmQ},
       Bytes({{106, 0x04}})},
      {"a stray bit on absent fan/heater 6 does not read as disabled",
       1,
       {0x05, 1, 1, 1, 1, 1},
       0,
       {Answer::kYes, Answer::kYes},
       {kDisableQ, kConfirmQ},
       Bytes({{105, 0x05}, {106, 0x05}})},
      {"ENABLE clears the fitted bytes and leaves the absent one's bit",
       1,
       {0x05, 1, 1, 1, 0x05, 0x05},
       0,
       {Answer::kYes},
       {kEnableQ},
       Bytes({{105, 0x01}, {106, 0x01}})},
      {"ENABLE declined", 1, {1, 1, 1, 1, 0x05, 1}, 0, {Answer::kCancel}, {kEnableQ}, {}},
      {"the confirmation declined",
       1,
       {1, 1, 1, 1, 1, 1},
       0,
       {Answer::kYes, Answer::kNo},
       {kDisableQ, kConfirmQ},
       {}},
      {"the disable option locked until a power recycle",
       2,
       {1, 1, 1, 1, 1, 1},
       0x08,
       {Answer::kOk},
       {kRecycle},
       {}},
      {"an unknown fan count code changes nothing",
       7,
       {1, 1, 1, 1, 1, 1},
       0,
       {Answer::kOk},
       {"The dryer reports no fan/heater count this display knows.\nAirswitch testing was not "
        "changed."},
       {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    shared.pending.Lower(link::Rec::kOptionByte);
    for (int fan = 1; fan <= 6; ++fan) shared.pending.Lower(link::BurnerModeRec(fan));
    Report(c.fan_code, c.modes, c.byte148);
    prompter = {};
    for (Answer a : c.answers) prompter.Script(a);
    Diagnostics diagnostics(shared);
    diagnostics.Open();
    EXPECT_FALSE(diagnostics.Follow()) << "nothing automatic here";
    EXPECT_EQ(diagnostics.Press(id::kAirswitch, prompter), Diagnostics::Outcome::kKeepOpen);
    EXPECT_EQ(Asked(), c.asked);
    EXPECT_EQ(NextFrame(shared), c.wire);
    EXPECT_TRUE(prompter.Clean()) << prompter.Problems();
  }
}

// The controller locks the disable option while the technician is still answering: nothing is
// disabled, the recycle message says why.
TEST_F(DiagnosticsTest, ALockArrivingDuringTheQuestionsStopsTheDisable) {
  class LockingPrompter final : public platform::Prompter {
   public:
    explicit LockingPrompter(std::function<void()> lock) : lock_(std::move(lock)) {}
    std::vector<std::string> asked;

   protected:
    Answer DoAsk(std::string_view text, std::string_view, platform::Buttons,
                 platform::Icon) override {
      asked.emplace_back(text);
      if (text == kConfirmQ) lock_();
      return text == kRecycle ? Answer::kOk : Answer::kYes;
    }

   private:
    std::function<void()> lock_;
  };
  Report(1, {1, 1, 1, 1, 1, 1});
  LockingPrompter locking([this] {
    frame[148] = 0x08;
    Take();
  });
  Diagnostics diagnostics(shared);
  diagnostics.Open();
  diagnostics.Press(id::kAirswitch, locking);
  EXPECT_EQ(locking.asked, (std::vector<std::string>{kDisableQ, kConfirmQ, kRecycle}));
  EXPECT_TRUE(NextFrame(shared).empty());
}

// Opening (and every later report) turns testing back on by itself only while the controller has
// locked the disable option until a power recycle and does not hold it with byte 118 bit 0x20.
TEST_F(DiagnosticsTest, TestingLockedUntilARecycleIsReenabledWithoutAQuestion) {
  struct Case {
    std::uint8_t byte148, byte118;
    bool sent;
    const char* caption;
    bool indicator;
  };
  const Case cases[] = {
      {0x08, 0x00, true, "DISABLE Testing", false},
      {0x08, 0x20, false, "ENABLE Testing", true},
      {0x00, 0x00, false, "ENABLE Testing", true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(int(c.byte148) * 256 + c.byte118);
    for (int fan = 1; fan <= 6; ++fan) shared.pending.Lower(link::BurnerModeRec(fan));
    Report(1, {0x05, 1, 1, 1, 0x05, 0x05}, c.byte148, c.byte118);
    Diagnostics diagnostics(shared);
    diagnostics.Open();
    EXPECT_EQ(diagnostics.Follow(), c.sent);
    EXPECT_FALSE(diagnostics.Follow()) << "sent once, not on every repaint";
    EXPECT_EQ(NextFrame(shared), c.sent ? Bytes({{105, 0x01}, {106, 0x01}}) : WireRecords{});
    EXPECT_STREQ(diagnostics.AirswitchCaption(), c.caption);
    EXPECT_EQ(diagnostics.AirswitchIndicator(), c.indicator);
    EXPECT_TRUE(prompter.Questions().empty());
  }
}

// The metering roll sensor shutdown flips bit 0x20 of byte 49 on Yes and keeps the other bits;
// the metering speed source is the display's own setting and sends nothing.
TEST_F(DiagnosticsTest, MeteringSensorAndSpeedSource) {
  struct Case {
    std::uint8_t byte49;
    Answer answer;
    WireRecords wire;
  };
  const Case cases[] = {
      {0x10, Answer::kYes, Bytes({{49, 0x30}})},
      {0x31, Answer::kYes, Bytes({{49, 0x11}})},
      {0x10, Answer::kNo, {}},
      {0x30, Answer::kCancel, {}},
  };
  for (const Case& c : cases) {
    shared.pending.Lower(link::Rec::kOptionByte);
    Report(1, {1, 1, 1, 1, 1, 1}, 0, 0, c.byte49);
    prompter = {c.answer};
    Diagnostics diagnostics(shared);
    diagnostics.Open();
    diagnostics.Press(id::kMeteringSensor, prompter);
    EXPECT_EQ(NextFrame(shared), c.wire) << int(c.byte49);
    EXPECT_NE(prompter.Last()->text.find((c.byte49 & 0x20) ? "ENABLE the unload metering sensor"
                                                           : "DISABLE the unload metering"),
              std::string::npos);
  }

  Diagnostics diagnostics(shared);
  diagnostics.Open();
  for (const auto& [answer, screen] : {std::pair{Answer::kYes, true},
                                       {Answer::kCancel, true},
                                       {Answer::kYes, false},
                                       {Answer::kNo, false}}) {
    prompter = {answer};
    diagnostics.Press(id::kSpeedViaScreen, prompter);
    EXPECT_EQ(diagnostics.ScreenSetsSpeed(), screen);
  }
  EXPECT_EQ(prompter.Last()->caption, " SET METERING SPEED VIA DISPLAY?");
  EXPECT_TRUE(NextFrame(shared).empty());
}

TEST_F(DiagnosticsTest, NothingIsSentBeforeTheDryerHasReported) {
  prompter = {Answer::kYes, Answer::kYes, Answer::kOk};
  frame[sm::kFanCountCode] = 1;  // not taken in
  Diagnostics diagnostics(shared);
  diagnostics.Open();
  diagnostics.Press(id::kAirswitch, prompter);
  EXPECT_TRUE(NextFrame(shared).empty());
  EXPECT_TRUE(prompter.Clean()) << prompter.Problems();
  EXPECT_EQ(prompter.Last()->caption, platform::kNotConnectedCaption);
}

// The dialog: every button opens its dialog or acts, the indicator follows the dryer, every
// button is touchable.
TEST_F(DiagnosticsTest, TheDialogOpensItsDialogsAndShowsTheAirswitchState) {
  Report(1, {1, 1, 1, 1, 0x05, 1}, 0, 0, 0x20);
  Diagnostics diagnostics(shared);
  diagnostics.Open();
  std::vector<int> opened;
  DiagnosticsDialog dialog(nullptr, diagnostics, prompter, [&](int t) { opened.push_back(t); });
  dialog.Follow();
  for (int control : {id::kLightOutputs, id::kSwitchWiring, id::kMeterRolls, id::kCalibrate})
    dialog.Button(control)->click();
  EXPECT_EQ(opened, (std::vector<int>{202, 203, 252, 223}));
  EXPECT_EQ(dialog.Button(id::kAirswitch)->text(), "ENABLE Testing");
  EXPECT_TRUE(dialog.ControlAs<QCheckBox>(id::kAirswitchDisabled)->isChecked());
  ExpectTouchable(dialog);
  Save(dialog, "service_168_diagnostics");

  prompter = {Answer::kYes};
  dialog.Button(id::kAirswitch)->click();
  EXPECT_EQ(NextFrame(shared), Bytes({{105, 0x01}}));
  frame[105] = 0x01;
  Take();
  dialog.Follow();
  EXPECT_EQ(dialog.Button(id::kAirswitch)->text(), "DISABLE Testing");
  EXPECT_FALSE(dialog.ControlAs<QCheckBox>(id::kAirswitchDisabled)->isChecked());

  prompter = {Answer::kOk};
  dialog.Button(id::kHelp)->click();
  EXPECT_EQ(prompter.Last()->caption, "EXIT - Exits this screen");
  EXPECT_EQ(prompter.Last()->text.rfind("Each Button is described below", 0), 0U);
}

TEST_F(DiagnosticsTest, TheIoTestBoxesFollowTheirBits) {
  LightOutputsDialog lights(nullptr, shared, prompter);
  SwitchTestDialog switches(nullptr, shared);
  struct Case {
    std::size_t byte;
    std::uint8_t value;
    std::vector<int> ticked;  // every other box of that dialog is clear
    bool light;
  };
  const std::vector<Case> cases = {
      {239, 0x81, {1047, 1068}, true},   // J1-01 SPARE, J1-08 BURNER 3 activated
      {240, 0x09, {1076, 1073}, true},   // START, FAN 1 activated
      {178, 0x08, {1058}, true},         // FAN 1 shorted
      {177, 0x02, {1046}, true},         // BURNER 6 shorted
      {182, 0x81, {1045, 1046}, false},  // BURNER 6 ON and BURNER 6 AUTO
      {183, 0x41, {1068, 1129}, false},  // START, MR RIGHT
      {225, 0x81, {1133, 1140}, false},  // the dryer type switch ends
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.byte);
    frame = {};
    frame[c.byte] = c.value;
    Take();
    lights.Refresh();
    switches.Refresh();
    std::vector<int> ticked;
    for (QCheckBox* box :
         (c.light ? static_cast<QWidget&>(lights) : switches).findChildren<QCheckBox*>())
      if (box->isChecked()) ticked.push_back(platform::ControlIdOf(*box).value_or(-1));
    std::sort(ticked.begin(), ticked.end());
    std::vector<int> expected = c.ticked;
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(ticked, expected);
  }
  frame = {};
  frame[239] = 0x55;
  frame[178] = 0x08;
  frame[180] = 0x15;
  frame[182] = 0xA8;
  Take();
  lights.Refresh();
  switches.Refresh();
  ExpectTouchable(lights);
  ExpectTouchable(switches);
  Save(lights, "service_202_light_outputs");
  Save(switches, "service_203_switch_test");

  prompter = {Answer::kOk};
  lights.findChild<QPushButton*>("HELP")->click();
  EXPECT_EQ(prompter.Last()->caption, "Diagnostics/ Check light outputs Help");
  EXPECT_NE(prompter.Last()->text.find("Please check the lights wiring."), std::string::npos);
}

}  // namespace
}  // namespace orvandry::service
