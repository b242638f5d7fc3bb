// The burner mode and burner differential dialogs: how their buttons edit the six bytes, what
// ACCEPT puts on the wire (and what it leaves alone), and how each dialog looks.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QTimer>
#include <array>
#include <map>
#include <optional>
#include <vector>

#include "link/status_intake.h"
#include "link/status_map.h"
#include "platform/child_window.h"
#include "platform/clock.h"
#include "platform/control_id.h"
#include "platform/picture_button.h"
#include "platform/recording_canvas.h"
#include "platform/scripted_prompter.h"
#include "platform/settings_store.h"
#include "setup/burner_differential.h"
#include "setup/burner_differential_dialog.h"
#include "setup/burner_mode.h"
#include "setup/burner_mode_dialog.h"
#include "setup/setup_select.h"
#include "setup/setup_subsystem.h"
#include "setup/timer_entry.h"
#include "shell/main_window.h"
#include "tests/setup/wire_records.h"

namespace orvandry::setup {
namespace {

namespace sm = link::status_map;
using testing::Bytes;
using testing::NextFrame;
using testing::WireRecords;

// Six bytes by fan/heater 1..6 at index 0..5.
using SixBytes = std::array<std::uint8_t, 6>;

class BurnerTest : public ::testing::Test {
 protected:
  // The dryer reports its burner modes and differentials through the real intake.
  void Report(const SixBytes& modes, const SixBytes& differentials = {1, 1, 1, 1, 1, 1}) {
    for (int fan = 1; fan <= 6; ++fan) {
      frame[sm::BurnerMode(fan)] = modes[static_cast<std::size_t>(fan - 1)];
      frame[sm::BurnerDifferential(fan)] = differentials[static_cast<std::size_t>(fan - 1)];
    }
    Take();
  }
  void Take() { link::StatusIntake(shared, nullptr).Run(frame.data()); }
  // The screens' controls: one press each.
  template <class Logic>
  void Press(Logic& logic, std::initializer_list<int> ids) {
    for (int control : ids) EXPECT_EQ(logic.Press(control, prompter), Logic::Outcome::kKeepOpen);
  }
  void Save(QWidget& widget, const char* name) {
    const QString dir = qEnvironmentVariable("ORVANDRY_SCREENSHOT_DIR");
    if (!dir.isEmpty()) widget.grab().save(QDir(dir).filePath(QString::fromLatin1(name) + ".png"));
  }
  // Every button of the dialog lies inside the client area, is touchable and overlaps no other.
  void ExpectTouchable(platform::Dialog& dialog, int min_touch) {
    const platform::Rect c = dialog.ClientRect();
    const QRect client(c.x, c.y, c.w, c.h);
    const QList<QPushButton*> buttons = dialog.findChildren<QPushButton*>();
    ASSERT_FALSE(buttons.empty());
    for (QPushButton* b : buttons) {
      const int control = platform::ControlIdOf(*b).value_or(-1);
      EXPECT_TRUE(client.contains(b->geometry())) << control;
      EXPECT_GE(b->width(), min_touch) << control;
      EXPECT_GE(b->height(), min_touch) << control;
      for (QPushButton* other : buttons) {
        if (other != b) {
          EXPECT_FALSE(b->geometry().intersects(other->geometry())) << control;
        }
      }
    }
  }

  link::LinkShared shared;
  std::array<std::uint8_t, link::kStateSize> frame{};
  platform::ScriptedPrompter prompter;
};

namespace mode_id = burner_mode_id;
namespace diff_id = burner_differential_id;

TEST_F(BurnerTest, SelectStepsOneGroupAndTheAllButtonsTickEveryGroup) {
  struct Case {
    std::uint8_t byte;  // fan/heater 2 as reported
    std::vector<int> presses;
    BurnerChoice after;
  };
  const int select2 = mode_id::kSelect[1];
  const std::vector<Case> cases = {
      {0x00, {select2}, BurnerChoice::kOnOff},
      {0x01, {select2}, BurnerChoice::kAuto},
      {0x03, {select2}, BurnerChoice::kHiLo},
      {0x00, {select2, select2, select2}, BurnerChoice::kHiLo},
      {0x02, {select2}, BurnerChoice::kNone},  // nothing ticked: nothing to step from
      {0x02, {mode_id::kAllOnOff}, BurnerChoice::kOnOff},
      {0x03, {mode_id::kAllHiLo}, BurnerChoice::kHiLo},
      {0x00, {mode_id::kAllAuto}, BurnerChoice::kAuto},
  };
  for (const Case& c : cases) {
    Report({0x00, c.byte, 0x00, 0x00, 0x00, 0x00});
    BurnerMode mode(shared);
    mode.Open();
    for (int control : c.presses) mode.Press(control, prompter);
    EXPECT_EQ(mode.Choice(2), c.after) << int(c.byte) << " " << c.presses.front();
    EXPECT_EQ(mode.Choice(1), c.presses.front() == select2 ? BurnerChoice::kHiLo : c.after)
        << "SELECT touches its own group only";
    EXPECT_FALSE(shared.pending.AnyRaised()) << "nothing goes before ACCEPT";
  }
}

// ACCEPT sends the bytes the operator changed, each with its other bits as the dryer has them;
// a burner reading 2 that nobody touched stays 2 and is not sent.
TEST_F(BurnerTest, BurnerModeAcceptPutsTheChangedBytesOnTheWire) {
  struct Case {
    const char* name;
    SixBytes dryer;
    std::vector<int> presses;
    WireRecords wire;  // by offset: fan/heater k at 107 - k
  };
  const std::vector<Case> cases = {
      {"nothing changed", {0x00, 0x01, 0x03, 0x00, 0x00, 0x00}, {}, {}},
      {"SELECT #1 keeps the airswitch bit",
       {0x04, 0x00, 0x00, 0x00, 0x00, 0x00},
       {mode_id::kSelect[0]},
       Bytes({{106, 0x05}})},
      {"SELECT #6 round to where it was",
       {0, 0, 0, 0, 0, 0x01},
       {mode_id::kSelect[5], mode_id::kSelect[5], mode_id::kSelect[5]},
       {}},
      {"a burner reading 2 is left alone when another changes",
       {0x02, 0x00, 0x00, 0x00, 0x00, 0x00},
       {mode_id::kSelect[3]},
       Bytes({{103, 0x01}})},
      {"ALL AUTO sends only what was not AUTO, bits kept",
       {0x03, 0x02, 0x84, 0x03, 0x01, 0x03},
       {mode_id::kAllAuto},
       Bytes({{105, 0x03}, {104, 0x87}, {102, 0x03}})},
      {"ALL HI/LO then a SELECT, one frame",
       {0x01, 0x01, 0x01, 0x01, 0x01, 0x01},
       {mode_id::kAllHiLo, mode_id::kSelect[2]},
       Bytes({{106, 0}, {105, 0}, {103, 0}, {102, 0}, {101, 0}})},
  };
  for (const Case& c : cases) {
    Report(c.dryer);
    BurnerMode mode(shared);
    mode.Open();
    for (int control : c.presses) mode.Press(control, prompter);
    EXPECT_EQ(mode.Press(mode_id::kAccept, prompter), BurnerMode::Outcome::kAccepted) << c.name;
    EXPECT_EQ(NextFrame(shared), c.wire) << c.name;
    EXPECT_TRUE(prompter.Questions().empty()) << c.name;
    frame.fill(0);
    Take();  // a new round: the dryer's echo lowers what was sent
    for (int fan = 1; fan <= 6; ++fan) shared.pending.Lower(link::BurnerModeRec(fan));
  }
}

TEST_F(BurnerTest, BurnerModeCancelAndANoLinkAcceptSendNothing) {
  Report({0, 0, 0, 0, 0, 0});
  BurnerMode mode(shared);
  mode.Open();
  Press(mode, {mode_id::kAllAuto});
  EXPECT_EQ(mode.Press(mode_id::kCancel, prompter), BurnerMode::Outcome::kCancelled);
  EXPECT_TRUE(NextFrame(shared).empty());

  link::LinkShared fresh;  // no frame taken in yet
  BurnerMode early(fresh);
  early.Open();
  early.Press(mode_id::kAllOnOff, prompter);
  EXPECT_EQ(early.Press(mode_id::kAccept, prompter), BurnerMode::Outcome::kCancelled);
  EXPECT_FALSE(fresh.pending.AnyRaised());
  EXPECT_EQ(prompter.CountAsked(kNotConnectedText), 1U);
}

// A change on its way is the starting point, and a byte the dryer changes while the dialog is
// open is not sent back with its old value.
TEST_F(BurnerTest, BurnerModeNeverSendsAValueTheOperatorDidNotChoose) {
  Report({0x00, 0x00, 0x00, 0x00, 0x00, 0x00});
  shared.RequestByte(link::BurnerModeRec(5), 0x03);  // e.g. diagnostics, not yet echoed
  BurnerMode mode(shared);
  mode.Open();
  EXPECT_EQ(mode.Choice(5), BurnerChoice::kAuto);
  frame[sm::BurnerMode(4)] = 0x01;  // the dryer changes #4 while the dialog is open
  Take();
  Press(mode, {mode_id::kSelect[0]});
  mode.Press(mode_id::kAccept, prompter);
  EXPECT_EQ(NextFrame(shared), Bytes({{106, 0x01}, {102, 0x03}}));
}

TEST_F(BurnerTest, BurnerModeDialogShowsTheGroupsInTheirColumnsAndFollowsThePresses) {
  Report({0x00, 0x01, 0x03, 0x02, 0x00, 0x01});
  BurnerMode mode(shared);
  mode.Open();
  BurnerModeDialog dialog(nullptr, mode, prompter);
  EXPECT_EQ(dialog.Caption(), "Select Burner Mode - 10");
  ExpectTouchable(dialog, BurnerModeDialog::kMinTouch);
  // #3, #2, #1 down the left; #6, #5, #4 down the right; each group holds its controls.
  const auto box = [&](int fan) { return dialog.Box(mode_id::kGroup[fan - 1])->geometry(); };
  for (auto [upper, lower] : {std::pair{3, 2}, {2, 1}, {6, 5}, {5, 4}}) {
    EXPECT_EQ(box(upper).x(), box(lower).x());
    EXPECT_LT(box(upper).bottom(), box(lower).top());
  }
  EXPECT_LT(box(1).right(), box(4).left());
  for (int fan = 1; fan <= 6; ++fan) {
    const auto i = static_cast<std::size_t>(fan - 1);
    EXPECT_EQ(dialog.Box(mode_id::kGroup[i])->title(), QStringLiteral("Fan/Heater #%1").arg(fan));
    for (int control :
         {mode_id::kSelect[i], mode_id::kHiLo[i], mode_id::kOnOff[i], mode_id::kAuto[i]})
      EXPECT_TRUE(box(fan).contains(dialog.Control(control)->geometry())) << control;
  }
  const auto ticked = [&](int fan) {
    const auto i = static_cast<std::size_t>(fan - 1);
    std::vector<bool> t;
    for (int control : {mode_id::kHiLo[i], mode_id::kOnOff[i], mode_id::kAuto[i]})
      t.push_back(dialog.Indicator(control)->isChecked());
    return t;
  };
  EXPECT_EQ(ticked(1), (std::vector<bool>{true, false, false}));
  EXPECT_EQ(ticked(3), (std::vector<bool>{false, false, true}));
  EXPECT_EQ(ticked(4), (std::vector<bool>{false, false, false})) << "2 ticks nothing";
  dialog.show();
  QApplication::processEvents();
  Save(dialog, "burner_mode");
  dialog.Button(mode_id::kSelect[0])->click();
  EXPECT_EQ(ticked(1), (std::vector<bool>{false, true, false}));
  dialog.Button(mode_id::kAccept)->click();
  EXPECT_FALSE(dialog.isVisible());
  EXPECT_EQ(dialog.Outcome(), BurnerMode::Outcome::kAccepted);
  EXPECT_EQ(NextFrame(shared), Bytes({{106, 0x01}}));
}

TEST_F(BurnerTest, DifferentialButtonsStoreIntoTheSelectedPlenumAtOnce) {
  struct Case {
    const char* name;
    std::vector<int> presses;
    WireRecords wire;  // by offset: plenum k at 101 - k
  };
  const auto plenum = [](int n) { return diff_id::kPlenum[static_cast<std::size_t>(n - 1)]; };
  const auto degrees = [](int n) { return diff_id::kDegrees[static_cast<std::size_t>(n - 1)]; };
  const std::vector<Case> cases = {
      {"before any plenum button: plenum 1", {degrees(3)}, Bytes({{100, 3}})},
      {"a plenum picked afterwards keeps its own value",
       {plenum(2), degrees(4), plenum(5), plenum(6)},
       Bytes({{99, 4}})},
      {"the last press counts", {plenum(6), degrees(5), degrees(3)}, Bytes({{95, 3}})},
      {"each plenum its own",
       {plenum(3), degrees(4), plenum(4), degrees(5)},
       Bytes({{98, 4}, {97, 5}})},
      {"back to the dryer's value", {plenum(4), degrees(5), degrees(2)}, {}},
  };
  for (const Case& c : cases) {
    Report({}, {2, 2, 1, 2, 2, 2});
    BurnerDifferential differential(shared);
    differential.Open();
    EXPECT_EQ(differential.Selected(), 1);
    for (int control : c.presses) differential.Press(control, prompter);
    EXPECT_TRUE(NextFrame(shared).empty()) << "nothing goes before ACCEPT / EXIT";
    EXPECT_EQ(differential.Press(diff_id::kAccept, prompter),
              BurnerDifferential::Outcome::kAccepted);
    EXPECT_EQ(NextFrame(shared), c.wire) << c.name;
    for (int n = 1; n <= 6; ++n) shared.pending.Lower(link::BurnerDifferentialRec(n));
  }
}

TEST_F(BurnerTest, DifferentialCancelSendsNothingAndHelpAsks) {
  Report({}, {1, 1, 1, 1, 1, 1});
  BurnerDifferential differential(shared);
  differential.Open();
  prompter.Script(platform::Answer::kOk);
  Press(differential, {diff_id::kDegrees[4], diff_id::kHelp});
  ASSERT_NE(prompter.Last(), nullptr);
  EXPECT_EQ(prompter.Last()->caption, "EXIT - Exits this screen");
  EXPECT_EQ(prompter.Last()->text, kBurnerDifferentialHelpText);
  EXPECT_EQ(prompter.Last()->buttons, platform::Buttons::kOkCancel);
  EXPECT_EQ(differential.Press(diff_id::kCancel, prompter),
            BurnerDifferential::Outcome::kCancelled);
  EXPECT_TRUE(NextFrame(shared).empty());
  EXPECT_TRUE(prompter.Clean()) << prompter.Problems();
}

// Six lines, the selected one red; always °F, also in SI units (a differential is a span).
TEST_F(BurnerTest, DifferentialLinesAreDrawnWhereTheirButtonsAreInDegreesF) {
  Report({}, {1, 2, 3, 4, 5, 12});
  shared.si_units.store(1);
  BurnerDifferential differential(shared);
  differential.Open();
  differential.Press(diff_id::kPlenum[3], prompter);
  platform::RecordingCanvas canvas(BurnerDifferentialDialog::kClientSize);
  differential.Paint(canvas);
  struct Line {
    const char* text;
    platform::Point at;
    platform::Colour colour;
  };
  const platform::Colour red = platform::Rgb(255, 0, 0), blue = platform::Rgb(0, 0, 255);
  const Line lines[] = {
      {"PLENUM 6:  12 \xB0"
       "F ",
       {197, 20},
       blue},
      {"PLENUM 5:   5 \xB0"
       "F ",
       {197, 112},
       blue},
      {"PLENUM 4:   4 \xB0"
       "F ",
       {197, 205},
       red},
      {"PLENUM 3:   3 \xB0"
       "F ",
       {15, 20},
       blue},
      {"PLENUM 2:   2 \xB0"
       "F ",
       {15, 112},
       blue},
      {"PLENUM 1:   1 \xB0"
       "F ",
       {15, 205},
       blue},
  };
  ASSERT_EQ(canvas.Count<platform::TextCall>(), 6U) << canvas.Describe();
  for (const Line& l : lines) {
    const platform::TextCall* t = canvas.FindText(l.text);
    ASSERT_NE(t, nullptr) << l.text << "\n" << canvas.Describe();
    EXPECT_EQ(t->at, l.at) << l.text;
    EXPECT_EQ(t->colour, l.colour) << l.text;
    EXPECT_EQ(t->font, (platform::Font{15, 900}));
  }
}

TEST_F(BurnerTest, DifferentialDialogPutsEachPlenumButtonUnderItsLine) {
  Report({}, {3, 2, 1, 5, 4, 3});
  BurnerDifferential differential(shared);
  differential.Open();
  BurnerDifferentialDialog dialog(nullptr, differential, prompter);
  EXPECT_EQ(dialog.Caption(), "MODIFYING BURNER DIFFERENTIAL SETTINGS - 15");
  ExpectTouchable(dialog, BurnerDifferentialDialog::kMinTouch);
  const platform::Rect c = dialog.ClientRect();
  for (int n = 1; n <= 6; ++n) {
    QPushButton* button = dialog.Button(diff_id::kPlenum[static_cast<std::size_t>(n - 1)]);
    EXPECT_EQ(button->text(), QStringLiteral("PLENUM #%1").arg(n));
    const platform::Point line = DifferentialLineAt(n);
    EXPECT_GT(button->y() - c.y, line.y + 15) << "below its line";
    EXPECT_LT(button->y() - c.y, line.y + 40) << "and close to it";
    EXPECT_LE(button->x() - c.x, line.x);
  }
  EXPECT_EQ(dialog.Button(diff_id::kDegrees[0])->text(), "+/- 1 DEGREES");
  EXPECT_EQ(dialog.Button(diff_id::kAccept)->text(), "ACCEPT / EXIT");
  dialog.show();
  dialog.Button(diff_id::kPlenum[4])->click();
  dialog.Button(diff_id::kDegrees[1])->click();
  QApplication::processEvents();
  Save(dialog, "burner_differential");
  dialog.Button(diff_id::kAccept)->click();
  EXPECT_FALSE(dialog.isVisible());
  EXPECT_EQ(NextFrame(shared), Bytes({{96, 2}}));
}

// Both templates belong to the setup subsystem: the board's Burner Mode button opens 177 over the
// board, and 170 opens over whatever the opener names; each sends through its own ACCEPT.
TEST_F(BurnerTest, TheSetupSubsystemOpensBothDialogsOverTheirOpener) {
  Report({0x00, 0x00, 0x00, 0x00, 0x00, 0x00}, {1, 1, 1, 1, 1, 1});
  shell::Settings settings;
  platform::MemorySettingsStore store;
  platform::FakeClock clock;
  SetupSubsystem setup;
  shell::MainWindow window{shared, settings, prompter, store, clock, {&setup}};
  window.show();
  window.screen().OnCommand(shell::command::kSetup);
  QWidget* board = window.Window(shell::Win::kSetupSelect);
  QWidget* extended = window.Window(shell::Win::kExtendedSetupSelect);

  bool mode_opened = false;
  QTimer::singleShot(0, [&] {
    auto* dialog = qobject_cast<BurnerModeDialog*>(QApplication::activeModalWidget());
    ASSERT_NE(dialog, nullptr);
    mode_opened = true;
    EXPECT_EQ(dialog->parentWidget(), board);
    dialog->Button(mode_id::kAllAuto)->click();
    dialog->Button(mode_id::kAccept)->click();
  });
  board->findChild<platform::PictureButton*>("BURNER MODE")->click();
  EXPECT_TRUE(mode_opened);

  bool differential_opened = false;
  QTimer::singleShot(0, [&] {
    auto* dialog = qobject_cast<BurnerDifferentialDialog*>(QApplication::activeModalWidget());
    ASSERT_NE(dialog, nullptr);
    differential_opened = true;
    EXPECT_EQ(dialog->parentWidget(), extended);
    dialog->Button(diff_id::kDegrees[4])->click();
    dialog->Button(diff_id::kAccept)->click();
  });
  EXPECT_TRUE(window.OpenDialog(
      {.template_id = diff_id::kTemplate, .parent_window = shell::Win::kExtendedSetupSelect}));
  EXPECT_TRUE(differential_opened);
  EXPECT_EQ(NextFrame(shared),
            Bytes({{100, 5}, {101, 3}, {102, 3}, {103, 3}, {104, 3}, {105, 3}, {106, 3}}));
}

}  // namespace
}  // namespace orvandry::setup
