// The timer board: what its panels say, and which timer each button edits within which limits.
#include "setup/timer_select.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QTimer>
#include <cstdint>
#include <limits>
#include <sstream>

#include "link/status_map.h"
#include "platform/clock.h"
#include "platform/picture_button.h"
#include "platform/recording_canvas.h"
#include "platform/scripted_prompter.h"
#include "platform/settings_store.h"
#include "setup/setup_subsystem.h"
#include "setup/timer_entry_dialog.h"
#include "setup/timer_select_screen.h"
#include "shell/main_window.h"

namespace orvandry::setup {
namespace {

namespace sm = link::status_map;
namespace tid = timer_entry_id;
using link::Rec;
using platform::Colour;
using platform::Point;
using platform::Rect;
using platform::Rgb;

constexpr Colour kBlue = Rgb(0, 0, 255);
constexpr Colour kRed = Rgb(255, 0, 0);
constexpr Colour kBlack = Rgb(0, 0, 0);
constexpr Colour kGreen = Rgb(17, 125, 10);
constexpr Colour kPurple = Rgb(176, 0, 255);
constexpr Colour kDarkBlue = Rgb(16, 0, 192);

// The controller's timers as the panel tests see them.
void Report(link::LinkShared& shared) {
  shared.first_frame_accepted = true;
  shared.dryer_state.SetTime(sm::kLoadStartupDelay, 2, 0);
  shared.dryer_state.SetTime(sm::kFillTimerReload, 8, 5);
  shared.dryer_state.SetTime(sm::kFanStartDelay, 0, 3);
  shared.dryer_state.SetTime(sm::kCoolDownTimer, 45, 30);
  shared.dryer_state.SetTime(sm::kUnloadCleanoutDelay, 1, 0);
  shared.previous_load_duration = 7 * 60 + 9;
}

std::string Drawn(const platform::RecordingCanvas& canvas) {
  std::ostringstream out;
  for (const std::string& t : canvas.Texts()) out << '"' << t << "\" ";
  return out.str();
}

TEST(TimerSelectPaint, EachPanelDrawsItsTextsInPlaceAndColour) {
  struct Line {
    const char* text;
    Point at;  // TextAt's point, or the top-left of the value's box
    Colour colour;
  };
  struct Case {
    TimerPanel panel;
    std::vector<Line> lines;
  };
  const Case cases[] = {
      {TimerPanel::kLoadDelay,
       {{"Reload Value", {215, 10}, kBlue},
        {"002 Minutes", {215, 25}, kRed},
        {"00 Seconds", {215, 40}, kRed},
        {"Sets the minimum time delay between dryer calling", {5, 70}, kBlack},
        {"for grain and the start of the load motor.", {5, 90}, kBlack},
        {"[Default = 2 Minute]", {5, 125}, kPurple},
        {"[Range is 30 Seconds to 10 Minutes]", {5, 140}, kDarkBlue}}},
      {TimerPanel::kOutOfGrain,
       {{"Reload Value", {215, 10}, kBlue},
        {"008 Minutes", {215, 25}, kRed},
        {"05 Seconds", {215, 40}, kRed},
        {"Value for previous load operation", {5, 60}, kGreen},
        {"was 007 Minutes and 09 Seconds.", {5, 75}, kGreen},
        {"Sets maximum time allowed for dryer to fill.", {5, 100}, kBlack},
        {"[Default = 8 Minutes]", {5, 125}, kPurple},
        {"[Range is 0 to 30 Minutes]", {5, 140}, kDarkBlue}}},
      {TimerPanel::kFan,
       {{"Reload Value", {215, 3}, kBlue},
        {"000 Minutes", {215, 18}, kRed},
        {"03 Seconds", {215, 33}, kRed},
        {"Time delay between multiple fan startup", {5, 58}, kBlack},
        {"045 Minutes", {215, 95}, kRed},
        {"30 Seconds", {215, 110}, kRed},
        {"Time period fans will run after a shutdown", {5, 135}, kBlack}}},
      {TimerPanel::kUnloadDelay,
       {{"Reload Value", {215, 10}, kBlue},
        {"001 Minutes", {215, 25}, kRed},
        {"00 Seconds", {215, 40}, kRed},
        {"Sets the amount of time unload auger(s) run after", {5, 70}, kBlack},
        {"unload system is turned off.", {5, 90}, kBlack},
        {"[Default = 1 Minute]", {5, 125}, kPurple},
        {"[Range is 0 to 10 Minutes]", {5, 140}, kDarkBlue}}},
  };
  link::LinkShared shared;
  Report(shared);
  for (const Case& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.panel));
    platform::RecordingCanvas canvas({kTimerPanelWidth, kTimerPanelHeight});
    PaintTimerPanel(canvas, c.panel, shared);
    std::size_t expected = c.lines.size();
    if (c.panel == TimerPanel::kFan) ++expected;  // the second "Reload Value"
    EXPECT_EQ(canvas.Texts().size(), expected) << Drawn(canvas);
    for (const Line& line : c.lines) {
      const platform::TextCall* t = canvas.FindText(line.text);
      ASSERT_NE(t, nullptr) << line.text << " among " << Drawn(canvas);
      EXPECT_EQ(t->at, line.at) << line.text;
      EXPECT_EQ(t->colour, line.colour) << line.text;
      // The value boxes are 85 x 15.
      if (t->rect) {
        EXPECT_EQ(t->rect->w, 85);
        EXPECT_EQ(t->rect->h, 15);
      }
    }
  }
  // The second "Reload Value" of the fan panel sits over the cool-down timer.
  platform::RecordingCanvas fan({kTimerPanelWidth, kTimerPanelHeight});
  PaintTimerPanel(fan, TimerPanel::kFan, shared);
  const auto texts = fan.All<platform::TextCall>();
  ASSERT_GE(texts.size(), 5U);
  EXPECT_EQ(texts[4]->text, "Reload Value");
  EXPECT_EQ(texts[4]->at, (Point{215, 80}));
}

TEST(TimerSelectPaint, PreviousLoadLineKeepsEveryDigitWithinItsLength) {
  struct Case {
    std::uint32_t seconds;
    const char* text;
  };
  const Case cases[] = {
      {0, "was 000 Minutes and 00 Seconds."},
      {999 * 60 + 59, "was 999 Minutes and 59 Seconds."},
      // A day-long load: four digits of minutes, and the full stop gives way.
      {86400, "was 1440 Minutes and 00 Seconds"},
      {1000 * 60 + 7, "was 1000 Minutes and 07 Seconds"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(PreviousLoadLine(c.seconds), c.text) << c.seconds;
  }
  // Whatever the count, the line stays within its length.
  EXPECT_EQ(PreviousLoadLine(std::numeric_limits<std::uint32_t>::max()).size(),
            kPreviousLoadLineLength);
}

TEST(TimerSelectPaint, FillPanelSaysWhenThePreviousLoadWasNotTimed) {
  link::LinkShared shared;
  Report(shared);
  shared.dryer_state.Set(sm::kStatusBits179, 0x08);
  platform::RecordingCanvas canvas({kTimerPanelWidth, kTimerPanelHeight});
  PaintTimerPanel(canvas, TimerPanel::kOutOfGrain, shared);
  const platform::TextCall* first = canvas.FindText("Previous Load Timer is only");
  const platform::TextCall* second = canvas.FindText("functional when load is in Auto");
  ASSERT_TRUE(first && second) << Drawn(canvas);
  EXPECT_EQ(first->at, (Point{5, 60}));
  EXPECT_EQ(second->at, (Point{5, 75}));
  EXPECT_EQ(second->colour, kGreen);
  EXPECT_EQ(canvas.FindTextContaining("was "), nullptr);
}

// The board as the shell builds it, through the setup subsystem.
class TimerSelectScreenTest : public ::testing::Test {
 protected:
  TimerSelectScreenTest() {
    Report(shared);
    window.show();
    window.screen().OnCommand(shell::command::kTimers);
  }
  TimerSelectScreen* Screen() {
    return qobject_cast<TimerSelectScreen*>(window.Window(shell::Win::kTimerSelect));
  }
  // Presses the timer's button and, in the dialog it opens, the keys: "M<d>" minutes digit,
  // "S<d>" seconds digit, "D" DEFAULT, "A" ACCEPT, "C" CANCEL.
  void EditTimer(int button_id, const std::string& keys) {
    bool opened = false;
    QTimer::singleShot(0, [&] {
      auto* dialog = qobject_cast<TimerEntryDialog*>(QApplication::activeModalWidget());
      if (dialog == nullptr) return;
      opened = true;
      std::istringstream in(keys);
      for (std::string key; in >> key;) {
        const int digit = key.size() > 1 ? key[1] - '0' : 0;
        const int id = key[0] == 'M'   ? tid::kMinutesDigits[digit]
                       : key[0] == 'S' ? tid::kSecondsDigits[digit]
                       : key[0] == 'D' ? tid::kDefault
                       : key[0] == 'A' ? tid::kAccept
                                       : tid::kCancel;
        if (dialog->isVisible()) dialog->Button(id)->click();
      }
      if (dialog->isVisible()) dialog->reject();
    });
    platform::PictureButton* button = Screen()->TimerButton(button_id);
    ASSERT_NE(button, nullptr);
    button->click();
    EXPECT_TRUE(opened) << "no timer entry dialog opened";
  }

  link::LinkShared shared;
  shell::Settings settings;
  platform::ScriptedPrompter prompter;
  platform::MemorySettingsStore store;
  platform::FakeClock clock;
  SetupSubsystem setup;
  shell::MainWindow window{shared, settings, prompter, store, clock, {&setup}};
};

TEST_F(TimerSelectScreenTest, PanelsAndButtonsSitInPlaceAndAreTouchSized) {
  ASSERT_NE(Screen(), nullptr);
  const Rect client = Screen()->ClientRect();
  for (const TimerPanelDef& def : kTimerPanels) {
    TimerPanelWindow* panel = Screen()->Panel(def.panel);
    ASSERT_NE(panel, nullptr);
    EXPECT_EQ(panel->objectName().toStdString(), def.class_name);
    EXPECT_EQ(panel->Caption().toStdString(), def.caption);
    EXPECT_EQ(panel->geometry(), QRect(client.x + def.x, client.y + def.y, 314, 190));
    EXPECT_FALSE(panel->geometry().intersects(Screen()->ExitButton()->geometry()));
    EXPECT_LE(panel->geometry().right(), client.x + client.w - 1) << def.class_name;
  }
  for (const TimerButtonDef& def : kTimerButtons) {
    platform::PictureButton* button = Screen()->TimerButton(def.id);
    ASSERT_NE(button, nullptr) << def.id;
    EXPECT_EQ(button->parentWidget(), Screen()->Panel(def.panel));
    const Rect inside = Screen()->Panel(def.panel)->ClientRect();
    EXPECT_EQ(button->geometry(), QRect(inside.x + def.x, inside.y + def.y, 200, 50));
    EXPECT_TRUE(button->parentWidget()->rect().contains(button->geometry())) << def.id;
  }
}

TEST_F(TimerSelectScreenTest, EachButtonEditsItsTimerWithinItsLimits) {
  struct Case {
    int button;
    Rec record;
    const char* keys;
    bool written;
    std::uint8_t minutes, seconds;
  };
  namespace id = timer_select_id;
  const Case cases[] = {
      {id::kLoadDelay, Rec::kLoadStartupDelay, "D A", true, 2, 0},
      {id::kLoadDelay, Rec::kLoadStartupDelay, "M1 M0 S0 A", true, 10, 0},
      {id::kLoadDelay, Rec::kLoadStartupDelay, "M1 M0 S0 S1 A", false, 0, 0},
      {id::kLoadDelay, Rec::kLoadStartupDelay, "M0 S2 S9 A", false, 0, 0},
      {id::kOutOfGrain, Rec::kFillTimer, "D A", true, 8, 0},
      {id::kOutOfGrain, Rec::kFillTimer, "M3 M0 S0 A", true, 30, 0},
      {id::kOutOfGrain, Rec::kFillTimer, "M3 M0 S1 A", false, 0, 0},
      {id::kFanDelay, Rec::kFanStartDelay, "D A", true, 0, 3},
      {id::kFanDelay, Rec::kFanStartDelay, "M0 S2 S5 A", true, 0, 25},
      {id::kFanDelay, Rec::kFanStartDelay, "M0 S2 S6 A", false, 0, 0},
      {id::kFanDelay, Rec::kFanStartDelay, "M0 S0 A", false, 0, 0},
      {id::kCoolDown, Rec::kCoolDownTimer, "D A", true, 0, 0},
      {id::kCoolDown, Rec::kCoolDownTimer, "M6 M0 S0 A", true, 60, 0},
      {id::kCoolDown, Rec::kCoolDownTimer, "M6 M0 S1 A", false, 0, 0},
      {id::kUnloadDelay, Rec::kUnloadCleanoutDelay, "D A", true, 1, 0},
      {id::kUnloadDelay, Rec::kUnloadCleanoutDelay, "M1 M0 S0 A", true, 10, 0},
      {id::kUnloadDelay, Rec::kUnloadCleanoutDelay, "M1 M0 S1 A", false, 0, 0},
      // Cancelling sends nothing.
      {id::kUnloadDelay, Rec::kUnloadCleanoutDelay, "M5 C", false, 0, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.button) + " " + c.keys);
    const std::size_t offset = link::RecordOf(c.record).target_offset();
    shared.request.SetTime(offset, 0, 0);
    const bool refused = !c.written && std::string(c.keys).back() == 'A';
    if (refused) prompter.Script(platform::Answer::kOk);
    const std::size_t warned = prompter.CountAsked("The value entered is out of range.");
    EditTimer(c.button, c.keys);
    EXPECT_EQ(shared.pending.IsRaised(c.record), c.written);
    EXPECT_EQ(shared.pending.AnyRaised(), c.written) << "only the button's own timer";
    EXPECT_EQ(shared.request.Get(offset), c.minutes);
    EXPECT_EQ(shared.request.Get(offset + 1), c.seconds);
    EXPECT_EQ(prompter.CountAsked("The value entered is out of range."),
              warned + (refused ? 1 : 0));
    EXPECT_TRUE(prompter.Clean()) << prompter.Problems();
    shared.pending.Lower(c.record);
  }
}

TEST_F(TimerSelectScreenTest, PanelsShowTheControllersValueNotTheRequestedOne) {
  EditTimer(timer_select_id::kFanDelay, "M0 S2 S0 A");
  ASSERT_TRUE(shared.pending.IsRaised(Rec::kFanStartDelay));
  platform::RecordingCanvas canvas({kTimerPanelWidth, kTimerPanelHeight});
  PaintTimerPanel(canvas, TimerPanel::kFan, shared);
  EXPECT_NE(canvas.FindText("03 Seconds"), nullptr) << Drawn(canvas);
  EXPECT_EQ(canvas.FindText("20 Seconds"), nullptr);
  // Reopening while the change is on its way edits the requested value, not the old one.
  EditTimer(timer_select_id::kFanDelay, "A");
  EXPECT_EQ(shared.request.Get(sm::kFanStartDelay + 1), 20);
  EXPECT_TRUE(shared.pending.IsRaised(Rec::kFanStartDelay));
}

TEST_F(TimerSelectScreenTest, Screenshot) {
  const QString dir = qEnvironmentVariable("ORVANDRY_SCREENSHOT_DIR");
  if (dir.isEmpty()) GTEST_SKIP() << "ORVANDRY_SCREENSHOT_DIR not set";
  shared.previous_load_duration = 86400;
  Screen()->grab().save(dir + "/timer_select.png");
  shared.dryer_state.Set(sm::kStatusBits179, 0x08);
  Screen()->grab().save(dir + "/timer_select_untimed.png");
}

}  // namespace
}  // namespace orvandry::setup
