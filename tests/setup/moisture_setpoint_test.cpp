// The moisture setpoint dialog and its keypad: what typing does, what goes on the wire, and that
// the dialog shows the controller's setpoint.
#include "setup/moisture_setpoint.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QTimer>
#include <array>
#include <sstream>
#include <vector>

#include "link/command_builder.h"
#include "link/frame_constants.h"
#include "link/status_map.h"
#include "platform/clock.h"
#include "platform/recording_canvas.h"
#include "platform/scripted_prompter.h"
#include "platform/settings_store.h"
#include "setup/moisture_setpoint_dialog.h"
#include "setup/setup_subsystem.h"
#include "setup/timer_entry.h"
#include "shell/main_window.h"

namespace orvandry::setup {
namespace {

namespace id = moisture_id;
namespace sm = link::status_map;
using link::Rec;
using Outcome = MoistureKeypad::Outcome;
using platform::Rect;

// "155A": digits, "D" DELETE, "A" ACCEPT, "C" CANCEL; returns the last outcome.
Outcome Type(MoistureKeypad& pad, const std::string& keys) {
  Outcome outcome = Outcome::kKeepOpen;
  for (char k : keys) {
    const int control = k == 'D'   ? id::kDelete
                        : k == 'A' ? id::kAccept
                        : k == 'C' ? id::kCancel
                                   : id::kDigits[k - '0'];
    outcome = pad.Press(control);
  }
  return outcome;
}

void Reported(link::LinkShared& shared, std::uint16_t tenths) {
  shared.first_frame_accepted = true;
  shared.dryer_state.SetBe16(sm::kMoistureSetpoint, tenths);
}

TEST(MoistureKeypad, TypesAtMostThreeDigitsAndAcceptsOnlyATypedValue) {
  struct Case {
    const char* keys;
    Outcome outcome;
    std::uint16_t value;
    const char* shown;
  };
  const Case cases[] = {
      {"", Outcome::kKeepOpen, 142, "14.2 %"},  // before the first key: the value it opened on
      {"155A", Outcome::kAccepted, 155, "15.5 %"},
      {"5", Outcome::kKeepOpen, 5, "00.5 %"},  // the first key starts from 0
      {"1234A", Outcome::kAccepted, 123, "12.3 %"},
      {"00155A", Outcome::kAccepted, 155, "15.5 %"},  // leading zeros are not digits
      {"999A", Outcome::kAccepted, 999, "99.9 %"},
      {"1559DA", Outcome::kAccepted, 15, "01.5 %"},  // the refused 4th digit is not deleted
      {"0A", Outcome::kAccepted, 0, "00.0 %"},
      {"A", Outcome::kCancelled, 142, "14.2 %"},  // nothing typed: nothing changes
      {"DA", Outcome::kCancelled, 0, "00.0 %"},
      {"5DA", Outcome::kCancelled, 0, "00.0 %"},  // typed and deleted again
      {"155C", Outcome::kCancelled, 155, "15.5 %"},
      {"C", Outcome::kCancelled, 142, "14.2 %"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.keys);
    MoistureKeypad pad = MoistureKeypad::Open(142);
    EXPECT_EQ(Type(pad, c.keys), c.outcome);
    EXPECT_EQ(pad.value, c.value);
    EXPECT_EQ(pad.Text(), c.shown);
  }
}

TEST(MoistureSetpoint, AnAcceptedValueGoesOutHighByteFirstAndNothingElseDoes) {
  struct Case {
    const char* keys;
    bool sent;
  };
  const Case cases[] = {
      {"155A", true},
      {"A", false},     // ACCEPT without a digit
      {"155C", false},  // CANCEL
      {"142A", false},  // the value the controller already has
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.keys);
    link::LinkShared shared;
    Reported(shared, 142);
    platform::ScriptedPrompter prompter;
    MoistureSetpoint setpoint(shared);
    MoistureKeypad pad = setpoint.OpenKeypad();
    const Outcome outcome = Type(pad, c.keys);
    EXPECT_EQ(setpoint.Apply(outcome, pad, prompter),
              c.sent ? link::CommitResult::kSent : link::CommitResult::kUnchanged);
    EXPECT_EQ(shared.pending.IsRaised(Rec::kMoistureSetpoint), c.sent);
    EXPECT_EQ(shared.pending.AnyRaised(), c.sent);
    std::array<std::uint8_t, link::kMaxCommandFrameSize> tx{};
    ASSERT_EQ(link::BuildCommandFrame(shared, tx.data()), c.sent);
    if (c.sent) {
      // One record: group 0, id 199, two bytes, 15.5 % as 0x00 0x9B.
      const std::vector<std::uint8_t> record(tx.begin() + 2, tx.begin() + 7);
      EXPECT_EQ(tx[1], 1);
      EXPECT_EQ(record, (std::vector<std::uint8_t>{0, 199, 2, 0x00, 0x9B}));
    }
    EXPECT_EQ(shared.dryer_state.GetBe16(sm::kMoistureSetpoint), 142) << "never written locally";
    EXPECT_TRUE(prompter.Clean()) << prompter.Problems();
  }
}

TEST(MoistureSetpoint, EditsAPendingChangeAndShowsTheControllersValue) {
  link::LinkShared shared;
  Reported(shared, 142);
  platform::ScriptedPrompter prompter;
  MoistureSetpoint setpoint(shared);
  MoistureKeypad pad = setpoint.OpenKeypad();
  setpoint.Apply(Type(pad, "18A"), pad, prompter);
  // Until the controller takes it, the dialog shows 14.2 %; the keypad opens on 1.8 %, and typing
  // the controller's value again is a change that must go out.
  platform::RecordingCanvas canvas({300, 150});
  PaintMoistureSetpoint(canvas, setpoint);
  EXPECT_NE(canvas.FindText("14.2 %"), nullptr);
  MoistureKeypad again = setpoint.OpenKeypad();
  EXPECT_EQ(again.value, 18);
  EXPECT_EQ(setpoint.Apply(Type(again, "142A"), again, prompter), link::CommitResult::kSent);
  EXPECT_EQ(shared.request.GetBe16(sm::kMoistureSetpoint), 142);
  shared.dryer_state.SetBe16(sm::kMoistureSetpoint, 175);
  canvas.Clear();
  PaintMoistureSetpoint(canvas, setpoint);
  EXPECT_NE(canvas.FindText("17.5 %"), nullptr);
}

TEST(MoistureSetpoint, NothingIsSentBeforeTheDryerHasReported) {
  link::LinkShared shared;
  platform::ScriptedPrompter prompter{platform::Answer::kOk};
  MoistureSetpoint setpoint(shared);
  MoistureKeypad pad = setpoint.OpenKeypad();
  EXPECT_EQ(setpoint.Apply(Type(pad, "155A"), pad, prompter), link::CommitResult::kNotConnected);
  EXPECT_FALSE(shared.pending.AnyRaised());
  EXPECT_EQ(prompter.CountAsked(kNotConnectedText), 1U);
  EXPECT_TRUE(prompter.Clean()) << prompter.Problems();
}

bool Overlap(Rect a, Rect b) {
  return a.x < b.Right() && b.x < a.Right() && a.y < b.Bottom() && b.y < a.Bottom();
}

TEST(MoistureDialogs, ControlsAreTouchSizedInsideTheClientAreaAndApart) {
  struct Layout {
    std::vector<int> ids;
    platform::Size client;
    Rect value_box;
    Rect (*rect)(int);
  };
  std::vector<int> keypad_ids(std::begin(id::kDigits), std::end(id::kDigits));
  keypad_ids.insert(keypad_ids.end(), {id::kDelete, id::kAccept, id::kCancel});
  const Layout layouts[] = {
      {keypad_ids, MoistureKeypadDialog::kClientSize, kMoistureKeypadValueBox,
       &MoistureKeypadDialog::ControlRect},
      {{id::kModify, id::kExit},
       MoistureSetpointDialog::kClientSize,
       kMoistureSetpointValueBox,
       &MoistureSetpointDialog::ControlRect},
  };
  for (const Layout& layout : layouts) {
    const Rect client{0, 0, layout.client.w, layout.client.h};
    for (int control : layout.ids) {
      SCOPED_TRACE(control);
      const Rect r = layout.rect(control);
      EXPECT_GE(r.w, 40);
      EXPECT_GE(r.h, 40);
      EXPECT_TRUE(client.Contains({r.x, r.y}) && client.Contains({r.Right() - 1, r.Bottom() - 1}));
      EXPECT_FALSE(Overlap(r, layout.value_box));
      for (int other : layout.ids) {
        if (other != control) {
          EXPECT_FALSE(Overlap(r, layout.rect(other))) << other;
        }
      }
    }
  }
}

TEST(MoistureDialogs, KeypadTouchesCloseWithTheTypedValue) {
  struct Case {
    std::vector<int> touches;
    Outcome outcome;
    std::uint16_t value;
  };
  const Case cases[] = {
      {{id::kDigits[1], id::kDigits[5], id::kDigits[5], id::kAccept}, Outcome::kAccepted, 155},
      {{id::kAccept}, Outcome::kCancelled, 142},
      {{id::kDigits[9], id::kCancel}, Outcome::kCancelled, 9},
  };
  for (const Case& c : cases) {
    MoistureKeypad pad = MoistureKeypad::Open(142);
    MoistureKeypadDialog dialog(nullptr, pad);
    for (int control : c.touches) dialog.Button(control)->click();
    dialog.Button(id::kDigits[3])->click();  // a touch after closing changes nothing
    EXPECT_EQ(dialog.Outcome(), c.outcome);
    EXPECT_EQ(pad.value, c.value);
    EXPECT_EQ(dialog.result(),
              c.outcome == Outcome::kAccepted ? QDialog::Accepted : QDialog::Rejected);
  }
}

// Template 225 as the main screen's M/C button opens it, through the shell.
class MoistureThroughShell : public ::testing::Test {
 protected:
  MoistureThroughShell() {
    Reported(shared, 142);
    window.show();
  }
  link::LinkShared shared;
  shell::Settings settings;
  platform::ScriptedPrompter prompter;
  platform::MemorySettingsStore store;
  platform::FakeClock clock;
  SetupSubsystem setup;
  shell::MainWindow window{shared, settings, prompter, store, clock, {&setup}};
};

TEST_F(MoistureThroughShell, TheShellOpensItRightOfCentreAndTheKeypadSendsTheSetpoint) {
  QRect where;
  bool keypad_seen = false;
  QTimer::singleShot(0, [&] {
    auto* dialog = qobject_cast<MoistureSetpointDialog*>(QApplication::activeModalWidget());
    if (dialog == nullptr) return;
    where = dialog->frameGeometry();
    QTimer::singleShot(0, [&] {
      auto* pad = qobject_cast<MoistureKeypadDialog*>(QApplication::activeModalWidget());
      if (pad == nullptr) return;
      keypad_seen = true;
      for (int control : {id::kDigits[1], id::kDigits[5], id::kDigits[5], id::kAccept})
        pad->Button(control)->click();
    });
    dialog->Button(id::kModify)->click();
    dialog->Button(id::kExit)->click();
  });
  shell::DialogRequest request;
  request.template_id = shell::dialog::kMoistureSetpoint;
  request.parent_window = shell::Win::kLineGraph;  // as the M/C button opens it
  ASSERT_TRUE(window.OpenDialog(request));
  ASSERT_TRUE(where.isValid()) << "no moisture setpoint dialog opened";
  EXPECT_TRUE(keypad_seen);
  EXPECT_TRUE(shared.pending.IsRaised(Rec::kMoistureSetpoint));
  EXPECT_EQ(shared.request.Get(sm::kMoistureSetpoint), 0x00);
  EXPECT_EQ(shared.request.Get(sm::kMoistureSetpoint + 1), 0x9B);
  // Right of the centre, and whole on the panel.
  EXPECT_GT(where.center().x(), window.frameGeometry().center().x() + 100);
  EXPECT_TRUE(window.frameGeometry().contains(where));
}

TEST_F(MoistureThroughShell, Screenshots) {
  const QString dir = qEnvironmentVariable("ORVANDRY_SCREENSHOT_DIR");
  if (dir.isEmpty()) GTEST_SKIP() << "ORVANDRY_SCREENSHOT_DIR not set";
  MoistureSetpointDialog dialog(&window, shared, prompter);
  dialog.show();
  dialog.grab().save(dir + "/moisture_setpoint.png");
  MoistureKeypad pad = MoistureKeypad::Open(142);
  MoistureKeypadDialog keypad(&window, pad);
  keypad.show();
  for (int control : {id::kDigits[1], id::kDigits[5], id::kDigits[5]})
    keypad.Button(control)->click();
  keypad.grab().save(dir + "/moisture_keypad.png");
}

}  // namespace
}  // namespace orvandry::setup
