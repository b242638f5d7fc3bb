// The extended setup board: which buttons show, what each press puts on the wire, the panel's
// units following the dryer, and the board in the running main window.
#include "setup/extended_setup.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QTimer>
#include <optional>
#include <vector>

#include "link/status_map.h"
#include "platform/clock.h"
#include "platform/picture_button.h"
#include "platform/scripted_prompter.h"
#include "platform/settings_store.h"
#include "resources/picture_library.h"
#include "setup/extended_setup_screen.h"
#include "setup/hardware_setup_dialog.h"
#include "setup/setup_select_screen.h"
#include "setup/setup_subsystem.h"
#include "setup/timer_entry.h"
#include "shell/main_window.h"
#include "tests/setup/wire_records.h"

namespace orvandry::setup {
namespace {

using link::Rec;
using platform::Answer;
using shell::Win;
using testing::NextFrame;
using testing::WireRecords;
namespace sm = link::status_map;
namespace id = extended_id;
using Clock = std::chrono::steady_clock;

struct Options {
  std::uint8_t mode = 0;      // byte 8
  std::uint8_t sampler = 0;   // byte 293
  std::uint8_t status = 0;    // byte 183
  std::uint8_t hardware = 0;  // byte 225
};

void SetOptions(link::LinkShared& shared, const Options& o) {
  shared.dryer_state.Set(sm::kBatchSelector, o.mode);
  shared.dryer_state.Set(sm::kSamplerConfig, o.sampler);
  shared.dryer_state.Set(sm::kOptionBits183, o.status);
  shared.dryer_state.Set(sm::kHardwareOptions, o.hardware);
}

class ExtendedSetupLogic : public ::testing::Test {
 protected:
  ExtendedSetupLogic() {
    shared.first_frame_accepted = true;
    // Every button on offer unless a case says otherwise.
    SetOptions(shared, {.mode = 1, .sampler = 0x80, .status = 0x06});
  }
  link::LinkShared shared;
  platform::ScriptedPrompter prompter;
  Clock::time_point now{};
  ExtendedSetup board{shared, prompter, [this] { return now; }};
};

TEST_F(ExtendedSetupLogic, ConditionalButtonsFollowTheDryersOptions) {
  struct Case {
    Options options;
    bool batches, sampler, dryer_model, reverse;
  };
  const std::vector<Case> cases = {
      {{}, false, false, false, false},
      {{.mode = 1}, true, false, false, false},
      {{.mode = 3}, true, false, false, false},
      {{.sampler = 0x80}, false, true, false, false},
      {{.sampler = 0x7F}, false, false, false, false},
      {{.status = 0x04}, false, false, true, false},
      {{.status = 0x02}, false, false, false, true},
      {{.status = 0x02, .hardware = 0x20}, false, false, false, false},
      {{.status = 0x02, .hardware = 0xDF}, false, false, false, true},
      {{.mode = 1, .sampler = 0xFF, .status = 0xFF}, true, true, true, true},
  };
  for (const Case& c : cases) {
    SetOptions(shared, c.options);
    const std::string at = ::testing::PrintToString(
        std::vector<int>{c.options.mode, c.options.sampler, c.options.status, c.options.hardware});
    EXPECT_EQ(board.Visible(id::kBatches), c.batches) << at;
    EXPECT_EQ(board.Visible(id::kSamplerCycleRate), c.sampler) << at;
    EXPECT_EQ(board.Visible(id::kDryerModel), c.dryer_model) << at;
    EXPECT_EQ(board.Visible(id::kMeterRollReverse), c.reverse) << at;
    for (int always : {id::kDiagnostics, id::kDifferential, id::kPrinterSetup, id::kBphCalibration,
                       id::kTimeDate, id::kTempScale, id::kDataLogger, id::kUserDefaults})
      EXPECT_TRUE(board.Visible(always)) << always << " " << at;
    // A hidden button does nothing, even pressed in the moment before it disappears.
    if (!c.reverse) {
      EXPECT_EQ(board.Press(id::kMeterRollReverse), ExtendedPress{}) << at;
    }
    if (!c.batches) {
      EXPECT_EQ(board.Press(id::kBatches), ExtendedPress{}) << at;
    }
  }
  EXPECT_TRUE(prompter.Questions().empty());
  EXPECT_FALSE(shared.pending.AnyRaised());
}

TEST_F(ExtendedSetupLogic, DialogButtonsOpenTheirTemplatesAndSendNothing) {
  const std::vector<std::pair<int, int>> opens = {
      {id::kDiagnostics, 168},      {id::kDifferential, 170},   {id::kPrinterSetup, 322},
      {id::kSamplerCycleRate, 556}, {id::kBphCalibration, 226}, {id::kTimeDate, 199},
      {id::kDryerModel, 164},       {id::kDataLogger, 258},     {id::kUserDefaults, 479}};
  for (const auto& [button, template_id] : opens)
    EXPECT_EQ(board.Press(button), (ExtendedPress{ExtendedPress::Action::kOpenDialog, template_id}))
        << button;
  EXPECT_FALSE(shared.pending.AnyRaised());
  EXPECT_TRUE(prompter.Questions().empty());
}

// Each acting button: its question, and what the next CommandFrame carries after the answer.
TEST_F(ExtendedSetupLogic, ActingButtonsSendOnlyTheOperatorsChangeOnYes) {
  struct Case {
    const char* what;
    int button;
    std::uint8_t si = 0;        // the panel's units before
    std::uint8_t reported = 0;  // the dryer's byte (266, 49, or 221 high byte)
    std::uint8_t stale = 0;     // an old requested byte at the same offset, not raised
    Answer answer = Answer::kYes;
    const char* text = "";
    const char* caption = "";
    platform::Buttons buttons = platform::Buttons::kYesNoCancel;
    WireRecords wire;  // the next frame's records
    std::uint8_t si_after = 0;
  };
  using platform::Buttons;
  const std::vector<Case> cases = {
      // Only bit 0x80 changes; the view and safety bits are the dryer's, the command bits clear
      // and an old request copy (0x43) never goes out.
      {"to SI",
       id::kTempScale,
       0,
       0x31,
       0x43,
       Answer::kYes,
       kToSiText,
       kToSiCaption,
       Buttons::kYesNoCancel,
       {{266, {0xB0}}},
       1},
      {"to English",
       id::kTempScale,
       1,
       0xE0,
       0x00,
       Answer::kYes,
       kToEnglishText,
       kToEnglishCaption,
       Buttons::kYesNoCancel,
       {{266, {0x60}}},
       0},
      {"to SI declined",
       id::kTempScale,
       0,
       0x00,
       0,
       Answer::kNo,
       kToSiText,
       kToSiCaption,
       Buttons::kYesNoCancel,
       {},
       0},
      {"to English cancelled",
       id::kTempScale,
       1,
       0x80,
       0,
       Answer::kCancel,
       kToEnglishText,
       kToEnglishCaption,
       Buttons::kYesNoCancel,
       {},
       1},
      {"reverse on",
       id::kMeterRollReverse,
       0,
       0x05,
       0xFF,
       Answer::kYes,
       kReverseOnText,
       kReverseCaption,
       Buttons::kYesNoCancel,
       {{49, {0x15}}},
       0},
      {"reverse off",
       id::kMeterRollReverse,
       0,
       0x93,
       0x00,
       Answer::kYes,
       kReverseOffText,
       kReverseCaption,
       Buttons::kYesNoCancel,
       {{49, {0x83}}},
       0},
      {"reverse declined",
       id::kMeterRollReverse,
       0,
       0x10,
       0,
       Answer::kCancel,
       kReverseOffText,
       kReverseCaption,
       Buttons::kYesNoCancel,
       {},
       0},
      {"clear batches",
       id::kBatches,
       0,
       0x01,
       0x07,
       Answer::kYes,
       kBatchCounterText,
       kBatchCounterCaption,
       Buttons::kYesNo,
       {{221, {0x00, 0x00}}},
       0},
      {"keep batches",
       id::kBatches,
       0,
       0x01,
       0,
       Answer::kNo,
       kBatchCounterText,
       kBatchCounterCaption,
       Buttons::kYesNo,
       {},
       0},
  };
  for (const Case& c : cases) {
    link::LinkShared fresh;
    fresh.first_frame_accepted = true;
    SetOptions(fresh, {.mode = 1, .sampler = 0x80, .status = 0x06});
    const std::size_t offset = c.button == id::kTempScale          ? sm::kDisplaySettings
                               : c.button == id::kMeterRollReverse ? sm::kOptionByte
                                                                   : sm::kBatchCounter;
    fresh.dryer_state.Set(offset, c.reported);
    fresh.dryer_state.Set(sm::kBatchCounter + 1, 0x2C);
    fresh.request.Set(offset, c.stale);
    fresh.si_units = c.si;
    platform::ScriptedPrompter asked{c.answer};
    ExtendedSetup b(fresh, asked, [this] { return now; });
    const ExtendedPress press = b.Press(c.button);
    EXPECT_EQ(press.action,
              c.wire.empty() ? ExtendedPress::Action::kNothing : ExtendedPress::Action::kSent)
        << c.what;
    ASSERT_EQ(asked.Questions().size(), 1U) << c.what;
    EXPECT_EQ(asked.Last()->text, c.text) << c.what;
    EXPECT_EQ(asked.Last()->caption, c.caption) << c.what;
    EXPECT_EQ(asked.Last()->buttons, c.buttons) << c.what;
    EXPECT_EQ(fresh.si_units.load(), c.si_after) << c.what;
    EXPECT_EQ(fresh.pending.AnyRaised(), !c.wire.empty()) << c.what;
    EXPECT_EQ(NextFrame(fresh), c.wire) << c.what;
    EXPECT_TRUE(asked.Clean()) << c.what << asked.Problems();
  }
}

TEST_F(ExtendedSetupLogic, AChangeOnItsWayIsWhatThePressStartsFrom) {
  // The reverse option activated a moment ago but not yet reported: the next press offers to
  // deactivate it and sends the byte without it, keeping the other pending bits.
  shared.dryer_state.Set(sm::kOptionByte, 0x01);
  shared.RequestByte(Rec::kOptionByte, 0x13);
  // The safety enables of the staged batch setup are on their way in 266: a units switch keeps
  // them.
  shared.dryer_state.Set(sm::kDisplaySettings, 0x00);
  shared.RequestByte(Rec::kDisplaySettings, 0x30);
  prompter.Script(Answer::kYes);
  prompter.Script(Answer::kYes);
  EXPECT_EQ(board.Press(id::kMeterRollReverse).action, ExtendedPress::Action::kSent);
  EXPECT_EQ(prompter.Last()->text, kReverseOffText);
  EXPECT_EQ(board.Press(id::kTempScale).action, ExtendedPress::Action::kSent);
  const WireRecords wire = NextFrame(shared);
  EXPECT_EQ(wire.at(49), std::vector<std::uint8_t>{0x03});
  EXPECT_EQ(wire.at(266), std::vector<std::uint8_t>{0xB0});
  EXPECT_TRUE(prompter.Clean()) << prompter.Problems();
}

TEST_F(ExtendedSetupLogic, BeforeTheDryerHasAnsweredNothingIsAskedOrSent) {
  shared.first_frame_accepted = false;
  for (int button : {id::kTempScale, id::kMeterRollReverse, id::kBatches}) {
    prompter.Script(Answer::kOk);
    EXPECT_EQ(board.Press(button).action, ExtendedPress::Action::kNotConnected) << button;
    EXPECT_EQ(prompter.Last()->caption, kNotConnectedCaption) << button;
  }
  EXPECT_EQ(shared.si_units.load(), 0) << "the panel's units stay with the dryer's";
  EXPECT_FALSE(shared.pending.AnyRaised());
  EXPECT_TRUE(prompter.Clean()) << prompter.Problems();
}

// The panel switches at once; a frame that still reports the old units is believed only once it
// can answer the switch, and from then on the panel shows what the dryer reports.
TEST_F(ExtendedSetupLogic, ThePanelShowsTheDryersUnitsOnceAFrameAnswersTheSwitch) {
  EXPECT_FALSE(board.FollowDryerUnits()) << "agreeing: nothing to do";
  prompter.Script(Answer::kYes);
  ASSERT_EQ(board.Press(id::kTempScale).action, ExtendedPress::Action::kSent);
  ASSERT_EQ(shared.si_units.load(), 1);
  struct Step {
    int after_ms;
    std::uint8_t reported;
    std::uint8_t shown;
  };
  for (const Step& s : std::vector<Step>{{0, 0x00, 1},
                                         {350, 0x00, 1},
                                         {999, 0x00, 1},
                                         {1000, 0x00, 0},  // the dryer did not take it
                                         {1400, 0x80, 1},  // until it did
                                         {5000, 0x00, 0}}) {
    now = Clock::time_point{} + std::chrono::milliseconds(s.after_ms);
    shared.dryer_state.Set(sm::kDisplaySettings, s.reported);
    board.FollowDryerUnits();
    EXPECT_EQ(shared.si_units.load(), s.shown) << s.after_ms;
  }
  EXPECT_TRUE(shared.pending.IsRaised(Rec::kDisplaySettings)) << "still on its way";
}

// The board in the running main window. The recorder stands in for the owners of every dialog the
// board opens but the hardware setup, whose real dialog a test opens.
class DialogRecorder final : public shell::Subsystem {
 public:
  bool OpenDialog(const shell::DialogRequest& request) override {
    if (request.template_id == extended_template::kHardwareSetup) return false;
    opened.push_back({request.template_id, request.parent});
    return true;
  }
  std::vector<std::pair<int, QWidget*>> opened;
};

class ExtendedBoardTest : public ::testing::Test {
 protected:
  ExtendedBoardTest() {
    shared.first_frame_accepted = true;
    window.show();
    window.screen().OnCommand(shell::command::kSetup);
    static_cast<SetupSelectScreen*>(window.Window(Win::kSetupSelect))
        ->Button(setup_select_id::kExtendedSetup)
        ->click();
  }
  ExtendedSetupScreen& Board() {
    return *static_cast<ExtendedSetupScreen*>(window.Window(Win::kExtendedSetupSelect));
  }
  void Save(const char* name) {
    const QString dir = qEnvironmentVariable("ORVANDRY_SCREENSHOT_DIR");
    if (!dir.isEmpty())
      Board().grab().toImage().save(QDir(dir).filePath(QString::fromLatin1(name) + ".png"));
  }

  link::LinkShared shared;
  shell::Settings settings;
  platform::ScriptedPrompter prompter;
  platform::MemorySettingsStore store;
  platform::FakeClock clock;
  DialogRecorder recorder;
  SetupSubsystem setup;
  shell::MainWindow window{shared, settings, prompter, store, clock, {&recorder, &setup}};
};

TEST_F(ExtendedBoardTest, EveryButtonHasItsPlaceFacesAndDialog) {
  ASSERT_TRUE(Board().isVisible());
  EXPECT_EQ(Board().objectName(), "EXTENDED_SETUP_SELECTION_WINDOW_NEW");
  EXPECT_EQ(Board().Caption(), " SELECT SETUP PARAMETER TO MODIFY - 06");
  SetOptions(shared, {.mode = 1, .sampler = 0x80, .status = 0x06});
  window.OneSecondTick();
  shared.pending.Lower(Rec::kClock);  // the tick's own clock record
  const platform::Rect client = Board().ClientRect();
  std::vector<QRect> taken = {Board().ExitButton()->geometry()};
  for (const ExtendedButtonDef& def : kExtendedButtons) {
    platform::PictureButton* button = Board().Button(def.id);
    ASSERT_NE(button, nullptr) << def.id;
    EXPECT_TRUE(button->isVisible()) << def.id;
    EXPECT_EQ(button->objectName(), def.window_text);
    EXPECT_EQ(button->geometry(), QRect(client.x + def.x, client.y + def.y, 175, 50)) << def.id;
    EXPECT_TRUE(QRect(0, 0, 640, 475).contains(button->geometry())) << def.id;
    for (const QRect& other : taken) EXPECT_FALSE(button->geometry().intersects(other)) << def.id;
    taken.push_back(button->geometry());
    for (int face : {def.normal_face, def.pressed_face})
      EXPECT_EQ(resources::SharedPictures().NaturalSize(face), QSize(175, 50)) << face;
    recorder.opened.clear();
    if (def.template_id == 0) continue;
    // 164 is the setup subsystem's own: the recorder stands in for the others.
    if (def.template_id == extended_template::kHardwareSetup) continue;
    button->click();
    ASSERT_EQ(recorder.opened.size(), 1U) << def.id;
    EXPECT_EQ(recorder.opened[0].first, def.template_id);
    EXPECT_EQ(recorder.opened[0].second, &Board()) << "dialogs open over the board";
  }
  EXPECT_FALSE(shared.pending.AnyRaised());
  Save("extended_setup_all");
}

TEST_F(ExtendedBoardTest, TheSecondTickHidesWhatTheDryerDoesNotOffer) {
  SetOptions(shared, {.mode = 1, .sampler = 0x80, .status = 0x06});
  window.OneSecondTick();
  SetOptions(shared, {.status = 0x02, .hardware = 0x20});
  window.OneSecondTick();
  for (int hidden : {id::kBatches, id::kSamplerCycleRate, id::kDryerModel, id::kMeterRollReverse})
    EXPECT_FALSE(Board().Button(hidden)->isVisible()) << hidden;
  EXPECT_TRUE(Board().Button(id::kTempScale)->isVisible());
  Save("extended_setup_continuous_flow");
  Board().ExitButton()->click();
  EXPECT_FALSE(Board().isVisible());
  EXPECT_TRUE(window.Window(Win::kSetupSelect)->isVisible()) << "Exit goes back to the setup board";
}

TEST_F(ExtendedBoardTest, TempScaleSwitchesThePanelAtOnceAndAnEarlyFrameLeavesItSo) {
  prompter.Script(Answer::kYes);
  Board().Button(id::kTempScale)->click();
  EXPECT_EQ(shared.si_units.load(), 1) << "at once";
  EXPECT_EQ(NextFrame(shared), (WireRecords{{266, {0x80}}}));
  // A frame delivered right after the switch left the dryer before the record reached it.
  window.OnIntakeFinished({});
  QApplication::processEvents();
  EXPECT_EQ(shared.si_units.load(), 1);
  EXPECT_TRUE(shared.pending.IsRaised(Rec::kDisplaySettings));
  EXPECT_TRUE(prompter.Clean()) << prompter.Problems();
}

TEST_F(ExtendedBoardTest, DryerModelOpensTheHardwareSetupDialogOverTheBoard) {
  SetOptions(shared, {.status = 0x04});
  window.OneSecondTick();
  bool opened = false;
  QTimer::singleShot(0, [&] {
    auto* dialog = qobject_cast<HardwareSetupDialog*>(QApplication::activeModalWidget());
    ASSERT_NE(dialog, nullptr);
    opened = true;
    EXPECT_EQ(dialog->parentWidget(), &Board());
    dialog->Button(hardware_id::kAccept)->click();
  });
  Board().Button(id::kDryerModel)->click();
  EXPECT_TRUE(opened);
  EXPECT_TRUE(recorder.opened.empty());
}

// Units the dryer reports with no switch of the panel's waiting for an answer show from the next
// delivery of frames.
TEST_F(ExtendedBoardTest, FramesDeliveredToTheShellReachTheBoard) {
  shared.dryer_state.Set(sm::kDisplaySettings, 0x80);
  window.OnIntakeFinished({});
  QApplication::processEvents();
  EXPECT_EQ(shared.si_units.load(), 1);
  EXPECT_FALSE(shared.pending.AnyRaised());
}

}  // namespace
}  // namespace orvandry::setup
