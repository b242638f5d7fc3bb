// The auto-start wizard: its pages, the adjusters and their limits, what ACCEPT puts on the wire
// (and that nothing else does), the board's Auto Start button, hold-to-repeat and the pages as an
// operator sees them.
#include "setup/auto_start.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <optional>
#include <string>
#include <vector>

#include "link/status_map.h"
#include "platform/clock.h"
#include "platform/picture_button.h"
#include "platform/recording_canvas.h"
#include "platform/scripted_prompter.h"
#include "platform/settings_store.h"
#include "resources/picture_library.h"
#include "setup/auto_start_window.h"
#include "setup/setup_select_screen.h"
#include "setup/setup_subsystem.h"
#include "setup/timer_entry.h"
#include "shell/main_window.h"
#include "wire_records.h"

namespace orvandry::setup {
namespace {

using link::Rec;
using Page = AutoStart::Page;
using testing::NextFrame;
using testing::WireRecords;
namespace sm = link::status_map;
namespace id = auto_start_id;

constexpr int kNext = id::kNext, kBack = id::kBack, kCancel = id::kCancel;
constexpr int kUp = id::kIncrease, kDown = id::kDecrease;

void Report(link::LinkShared& shared, std::uint8_t mode, int incoming, int desired) {
  shared.dryer_state.Set(sm::kAutoStartMode, mode);
  shared.dryer_state.SetLe16(sm::kAutoStartValue1, static_cast<std::uint16_t>(incoming));
  shared.dryer_state.SetLe16(sm::kAutoStartValue2, static_cast<std::uint16_t>(desired));
  shared.first_frame_accepted = true;
}

class AutoStartTest : public ::testing::Test {
 protected:
  void Press(AutoStart& wizard, const std::vector<int>& ids) {
    for (int control : ids) wizard.Press(control, prompter);
  }
  link::LinkShared shared;
  platform::ScriptedPrompter prompter;
};

TEST_F(AutoStartTest, PagesFollowNextBackAndCancel) {
  struct Case {
    std::vector<int> presses;
    Page page;
    bool back, adjusters, accept;
  };
  const std::vector<Case> cases = {
      {{}, Page::kWelcome, false, false, false},
      {{kNext}, Page::kIncoming, true, true, false},
      {{kNext, kNext}, Page::kDesired, true, true, false},
      {{kNext, kNext, kNext}, Page::kHeatMode, true, true, false},
      {{kNext, kNext, kNext, kNext}, Page::kSummary, true, false, true},
      {{kNext, kNext, kBack}, Page::kIncoming, true, true, false},
      {{kNext, kBack}, Page::kWelcome, false, false, false},
      {{kBack, kBack}, Page::kWelcome, false, false, false},
      {{kNext, kNext, kNext, kNext, kCancel}, Page::kWelcome, false, false, false},
      {{kNext, kNext, kNext, kNext, kBack}, Page::kHeatMode, true, true, false},
  };
  Report(shared, 0, 100, 150);
  for (const Case& c : cases) {
    AutoStart wizard(shared);
    for (int control : c.presses) wizard.Press(control, prompter);
    EXPECT_EQ(wizard.CurrentPage(), c.page) << c.presses.size();
    EXPECT_EQ(wizard.BackShown(), c.back) << c.presses.size();
    EXPECT_EQ(wizard.AdjustersShown(), c.adjusters) << c.presses.size();
    EXPECT_EQ(wizard.OnSummary(), c.accept) << c.presses.size();
  }
  EXPECT_FALSE(shared.pending.AnyRaised());
  EXPECT_TRUE(prompter.Clean()) << prompter.Problems();
}

// ACCEPT sends the mode byte armed and the two moistures low byte first, in one frame; the third
// value (285-286) has no record and never goes out. The adjusters stay within 0..999.
TEST_F(AutoStartTest, AcceptSendsTheEditedValuesLowByteFirstAndArmed) {
  struct Case {
    const char* what;
    std::uint8_t mode;
    int incoming, desired;
    std::vector<int> presses;  // from the welcome page, ending on the summary
    WireRecords wire;
  };
  const std::vector<Case> cases = {
      {"255 tenths",
       0,
       254,
       150,
       {kNext, kUp, kNext, kNext, kNext},
       {{279, {0x01}}, {281, {0xFF, 0x00}}}},
      {"desired and dry and cool",
       0,
       200,
       150,
       {kNext, kNext, kDown, kDown, kNext, kDown, kNext},
       {{279, {0x03}}, {283, {0x94, 0x00}}}},
      {"full heat chosen back", 0x02, 200, 150, {kNext, kNext, kNext, kUp, kNext}, {{279, {0x01}}}},
      {"never below 0",
       0,
       1,
       0,
       {kNext, kDown, kDown, kDown, kNext, kDown, kNext, kNext},
       {{279, {0x01}}, {281, {0x00, 0x00}}}},
      {"never above 999",
       0,
       998,
       999,
       {kNext, kUp, kUp, kUp, kNext, kUp, kNext, kNext},
       {{279, {0x01}}, {281, {0xE7, 0x03}}}},
      {"an out-of-range value is brought into range by a press",
       0,
       0xFFFF,
       1200,
       {kNext, kUp, kNext, kDown, kNext, kNext},
       {{279, {0x01}}, {281, {0x00, 0x00}}, {283, {0xE7, 0x03}}}},
      {"up and down again sends only the arming",
       0,
       120,
       150,
       {kNext, kUp, kUp, kDown, kDown, kNext, kNext, kNext},
       {{279, {0x01}}}},
  };
  for (const Case& c : cases) {
    link::LinkShared shared;
    Report(shared, c.mode, c.incoming, c.desired);
    AutoStart wizard(shared);
    Press(wizard, c.presses);
    ASSERT_TRUE(wizard.OnSummary()) << c.what;
    EXPECT_FALSE(shared.pending.AnyRaised()) << c.what << ": nothing before ACCEPT";
    EXPECT_EQ(wizard.Press(kNext, prompter), AutoStart::Outcome::kClose) << c.what;
    EXPECT_EQ(wizard.CurrentPage(), Page::kWelcome) << c.what;
    EXPECT_EQ(NextFrame(shared), c.wire) << c.what;
  }
  EXPECT_TRUE(prompter.Clean()) << prompter.Problems();
}

TEST_F(AutoStartTest, NothingIsSentButByAccept) {
  Report(shared, 0, 180, 150);
  shared.request.Set(sm::kAutoStartValue1, 0x55);  // whatever the request image held stays
  struct Case {
    const char* what;
    std::vector<int> presses;
  };
  const std::vector<Case> cases = {
      {"cancel on the summary", {kNext, kUp, kNext, kUp, kNext, kDown, kNext, kCancel}},
      {"adjusting on every page", {kNext, kUp, kDown, kDown, kNext, kUp, kNext, kDown, kUp}},
      {"help", {kNext, id::kHelp}},
  };
  for (const Case& c : cases) {
    AutoStart wizard(shared);
    if (c.what == std::string("help")) prompter.Script(platform::Answer::kOk);
    for (int control : c.presses) wizard.Press(control, prompter);
    EXPECT_FALSE(shared.pending.AnyRaised()) << c.what;
    EXPECT_EQ(shared.request.Get(sm::kAutoStartValue1), 0x55) << c.what;
    EXPECT_EQ(shared.request.Get(sm::kAutoStartMode), 0) << c.what;
  }
  ASSERT_NE(prompter.Last(), nullptr);
  EXPECT_EQ(prompter.Last()->text, kAutoStartHelpText);
  EXPECT_TRUE(prompter.Clean()) << prompter.Problems();
}

TEST_F(AutoStartTest, BackToTheWelcomePageDropsTheEditsAndTakesTheDryersValuesAgain) {
  Report(shared, 0, 180, 150);
  AutoStart wizard(shared);
  Press(wizard, {kNext, kUp, kUp, kBack});
  Report(shared, 0, 170, 150);  // the dryer moved meanwhile
  Press(wizard, {kNext});
  EXPECT_EQ(wizard.Incoming(), 170);
}

// A change still on its way is where the wizard starts, so ACCEPT never sends the old value back.
TEST_F(AutoStartTest, StartsFromAChangeStillOnItsWay) {
  Report(shared, 0, 180, 150);
  const std::uint8_t requested[] = {0x0A, 0x01};  // 266
  shared.RequestWrite(Rec::kAutoStartValue2, sm::kAutoStartValue2, requested, 2);
  AutoStart wizard(shared);
  Press(wizard, {kNext, kNext});
  EXPECT_EQ(wizard.Desired(), 266);
  Press(wizard, {kNext, kNext, kNext});
  const WireRecords wire = NextFrame(shared);
  EXPECT_EQ(wire.at(283), (std::vector<std::uint8_t>{0x0A, 0x01}));
}

TEST_F(AutoStartTest, AcceptBeforeTheDryersFirstReportSendsNothingAndSaysSo) {
  AutoStart wizard(shared);
  prompter.Script(platform::Answer::kOk);
  Press(wizard, {kNext, kUp, kNext, kNext, kNext});
  EXPECT_EQ(wizard.Press(kNext, prompter), AutoStart::Outcome::kStay);
  EXPECT_FALSE(shared.pending.AnyRaised());
  EXPECT_EQ(wizard.CurrentPage(), Page::kWelcome);
  ASSERT_NE(prompter.Last(), nullptr);
  EXPECT_EQ(prompter.Last()->text, kNotConnectedText);
  EXPECT_TRUE(prompter.Clean()) << prompter.Problems();
}

TEST_F(AutoStartTest, ArmedAutoStartOnlyOffersToDisarm) {
  struct Case {
    std::uint8_t mode;
    std::optional<platform::Answer> answer;
    bool opens;
    WireRecords wire;
  };
  const std::vector<Case> cases = {
      {0x00, std::nullopt, true, {}},
      {0x02, std::nullopt, true, {}},
      {0x03, platform::Answer::kYes, false, {{279, {0x02}}}},
      {0x01, platform::Answer::kNo, false, {}},
      {0x01, platform::Answer::kCancel, false, {}},
  };
  for (const Case& c : cases) {
    link::LinkShared shared;
    Report(shared, c.mode, 0, 0);
    platform::ScriptedPrompter prompter;
    if (c.answer) prompter.Script(*c.answer);
    EXPECT_EQ(AutoStartOpens(shared, prompter), c.opens) << int(c.mode);
    EXPECT_EQ(NextFrame(shared), c.wire) << int(c.mode);
    EXPECT_TRUE(prompter.Clean()) << prompter.Problems();
    if (c.answer) {
      EXPECT_EQ(prompter.Last()->text, kDisableAutoStartText);
      EXPECT_EQ(prompter.Last()->caption, kAutoStartCaption);
      EXPECT_EQ(prompter.Last()->buttons, platform::Buttons::kYesNoCancel);
    }
  }
}

TEST_F(AutoStartTest, PagesDrawTheirBannerValueAndFrame) {
  Report(shared, 0x02, 255, 150);
  AutoStart wizard(shared);
  struct Case {
    int picture;
    const char* text;
    platform::Font font;
  };
  const std::vector<Case> cases = {
      {533, "Press NEXT to Continue", {16, 400}},
      {543, "25.5", {72, 900}},
      {544, "15.0", {72, 900}},
      {553, "DRY and COOL", {50, 900}},
      {542, "Incoming Moisture:    25.5", {20, 900}},
  };
  for (const Case& c : cases) {
    platform::RecordingCanvas canvas({596, 406});
    PaintAutoStart(canvas, wizard);
    EXPECT_EQ(canvas.CountPicture(c.picture), 1U) << c.picture;
    const platform::TextCall* text = canvas.FindText(c.text);
    ASSERT_NE(text, nullptr) << c.picture;
    EXPECT_EQ(text->font, c.font) << c.text;
    EXPECT_EQ(text->colour, platform::Bgr(0x008000)) << c.text;
    if (c.picture == 542) {
      EXPECT_NE(canvas.FindText("Desired Moisture Out: 15.0"), nullptr);
      EXPECT_NE(canvas.FindText("DRY and COOL"), nullptr);
    }
    wizard.Press(kNext, prompter);
  }
  EXPECT_EQ(FormatTenths(-1), "-0.1");
}

// The wizard in the running display: the board's button, the faces, hold-to-repeat, screenshots.
class AutoStartWindowTest : public ::testing::Test {
 protected:
  AutoStartWindowTest() {
    Report(shared, 0, 183, 150);
    window.show();
    window.screen().OnCommand(shell::command::kSetup);
  }
  AutoStartWindow& Wizard() {
    return *static_cast<AutoStartWindow*>(window.Window(shell::Win::kAutoStart));
  }
  QWidget& Board() { return *window.Window(shell::Win::kSetupSelect); }
  void OpenFromBoard() {
    static_cast<SetupSelectScreen&>(Board()).Button(setup_select_id::kAutoStart)->click();
  }
  void Save(const char* name) {
    const QString dir = qEnvironmentVariable("ORVANDRY_SCREENSHOT_DIR");
    if (!dir.isEmpty())
      window.grab().toImage().save(QDir(dir).filePath(QString::fromLatin1(name) + ".png"));
  }

  link::LinkShared shared;
  shell::Settings settings;
  platform::ScriptedPrompter prompter;
  platform::MemorySettingsStore store;
  platform::FakeClock clock;
  SetupSubsystem setup;
  shell::MainWindow window{shared, settings, prompter, store, clock, {&setup}};
};

TEST_F(AutoStartWindowTest, TheBoardsButtonSwapsInTheWizardAndAcceptSwapsBack) {
  EXPECT_EQ(Wizard().objectName(), "AUTO_START_WINDOW");
  EXPECT_FALSE(Wizard().isVisible());
  OpenFromBoard();
  EXPECT_TRUE(Wizard().isVisible());
  EXPECT_FALSE(Board().isVisible());
  for (const AutoStartButtonDef& b : kAutoStartButtons) {
    platform::PictureButton* button = Wizard().Button(b.id);
    ASSERT_NE(button, nullptr) << b.id;
    EXPECT_EQ(button->objectName(), "SETUP");
    EXPECT_GE(button->width(), 40);
    EXPECT_GE(button->height(), 40);
    for (int face : {b.normal_face, b.pressed_face}) {
      const QSize size(b.width, b.height);
      EXPECT_EQ(resources::SharedPictures().NaturalSize(face), size) << face;
      EXPECT_NE(resources::SharedPictures().Image(face), resources::PlaceholderImage(face, size))
          << face;
    }
  }
  for (int picture : {533, 543, 544, 553, 542}) {
    const QSize size = resources::SharedPictures().NaturalSize(picture);
    EXPECT_EQ(size, picture == 533 ? QSize(589, 222) : QSize(375, 93)) << picture;
    EXPECT_NE(resources::SharedPictures().Image(picture),
              resources::PlaceholderImage(picture, size))
        << picture;
  }
  const std::vector<std::pair<int, const char*>> pages = {{0, "auto_start_0_welcome"},
                                                          {1, "auto_start_1_incoming"},
                                                          {2, "auto_start_2_desired"},
                                                          {3, "auto_start_3_heat_mode"},
                                                          {4, "auto_start_4_summary"}};
  for (const auto& [page, name] : pages) {
    QApplication::processEvents();
    EXPECT_EQ(Wizard().Button(kBack)->isVisible(), page > 0) << page;
    EXPECT_EQ(Wizard().Button(kUp)->isVisible(), page >= 1 && page <= 3) << page;
    EXPECT_EQ(Wizard().Button(kNext)->NormalFace(), page == 4 ? kAcceptFace : 535) << page;
    Save(name);
    if (page == 3) {
      Wizard().Button(kDown)->click();
      Save("auto_start_3_dry_and_cool");
    }
    if (page < 4) Wizard().Button(kNext)->click();
  }
  EXPECT_FALSE(shared.pending.AnyRaised());
  Wizard().Button(kNext)->click();
  EXPECT_FALSE(Wizard().isVisible());
  EXPECT_TRUE(Board().isVisible());
  EXPECT_TRUE(shared.pending.IsRaised(Rec::kAutoStartMode));
  EXPECT_EQ(shared.request.Get(sm::kAutoStartMode), 0x03);
  // Shown again, it starts at the welcome page.
  OpenFromBoard();
  EXPECT_EQ(Wizard().Wizard().CurrentPage(), Page::kWelcome);
  EXPECT_FALSE(Wizard().Button(kBack)->isVisible());
  EXPECT_TRUE(prompter.Clean()) << prompter.Problems();
}

// Held for 1 s: the press itself, nothing for 500 ms, then one step every 100 ms.
TEST_F(AutoStartWindowTest, HeldAdjustersRepeatAfterHalfASecond) {
  OpenFromBoard();
  Wizard().Button(kNext)->click();
  window.HundredMsTick();  // nothing held: the delay is armed
  struct Case {
    int button;
    int start;
    int after_ten_ticks;
  };
  for (const Case& c : {Case{kUp, 183, 188}, Case{kDown, 188, 183}}) {
    platform::PictureButton* button = Wizard().Button(c.button);
    EXPECT_EQ(Wizard().Wizard().Incoming(), c.start);
    button->setDown(true);
    for (int tick = 0; tick < 10; ++tick) window.HundredMsTick();
    button->setDown(false);
    window.HundredMsTick();
    EXPECT_EQ(Wizard().Wizard().Incoming(), c.after_ten_ticks) << c.button;
  }
  // Off the adjusting pages nothing repeats.
  Wizard().Button(kCancel)->click();
  EXPECT_FALSE(Wizard().IsOpen());
  EXPECT_FALSE(shared.pending.AnyRaised());
}

}  // namespace
}  // namespace orvandry::setup
