// The temperature selection screen: which setpoint buttons show, the controller's values beside
// them, what each button opens, and the screen and entry dialog in the running main window.
#include "setup/temp_select.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QTimer>
#include <functional>
#include <set>
#include <vector>

#include "link/status_map.h"
#include "platform/clock.h"
#include "platform/picture_button.h"
#include "platform/recording_canvas.h"
#include "platform/scripted_prompter.h"
#include "platform/settings_store.h"
#include "setup/setup_subsystem.h"
#include "setup/temp_select_screen.h"
#include "setup/temperature_entry_dialog.h"
#include "shell/main_window.h"

namespace orvandry::setup {
namespace {

using link::Rec;
using shell::Win;
namespace sm = link::status_map;
namespace id = temp_select_id;

struct DryerSetup {
  int mode = 0;  // byte 8
  bool dual = false;
  int fan_code = 0;
  bool one_plenum = false;
};

void Report(link::LinkShared& shared, const DryerSetup& s) {
  shared.first_frame_accepted = true;
  shared.dryer_state.Set(sm::kBatchSelector, static_cast<std::uint8_t>(s.mode));
  shared.dryer_state.Set(sm::kConfigBits, s.dual ? 0x02 : 0x00);
  shared.dryer_state.Set(sm::kFanCountCode, static_cast<std::uint8_t>(s.fan_code));
  shared.dryer_state.Set(sm::kHardwareOptions, s.one_plenum ? 0x20 : 0x00);
}

// Distinct values for every temperature the screen shows: plenum k setpoint 180 + k, plenum
// lows 160 + k, grain setpoint 105, high 120, low 100.
void ReportTemperatures(link::LinkShared& shared) {
  for (int k = 1; k <= 6; ++k)
    shared.dryer_state.SetT16(sm::PlenumSetpoint(k), static_cast<std::int16_t>(180 + k));
  shared.dryer_state.SetT16(sm::kPlenum1LowTemp, 161);
  shared.dryer_state.SetT16(sm::kPlenum2LowTemp, 162);
  shared.dryer_state.SetT16(sm::kGrainTempSetpoint, 105);
  shared.dryer_state.SetT16(sm::kGrainHighTemp, 120);
  shared.dryer_state.SetT16(sm::kGrainLowTemp, 100);
}

std::set<int> VisibleButtons(const TempSelect& select) {
  std::set<int> shown;
  for (const TempButtonDef& def : kTempButtons)
    if (select.Visible(def.id)) shown.insert(def.id);
  return shown;
}

// Rows apply in order to one screen: a drying mode other than 0 and 1 keeps the buttons as they
// were.
TEST(TempSelect, ShowsTheButtonsOfTheDryersLayout) {
  struct Case {
    DryerSetup setup;
    std::set<int> shown;
  };
  const std::vector<Case> cases = {
      {{3, false, 4, false},
       {id::kPlenum1, id::kPlenum2, id::kPlenum3, id::kPlenum4, id::kPlenum5, id::kPlenum6,
        id::kGrainTemp}},  // nothing laid out yet: the continuous-flow layout
      {{0, false, 0, false}, {id::kPlenum1, id::kGrainTemp}},
      {{0, false, 2, false}, {id::kPlenum1, id::kPlenum2, id::kPlenum3, id::kGrainTemp}},
      {{0, false, 4, true},
       {id::kPlenum1, id::kPlenum4, id::kPlenum5, id::kPlenum6, id::kGrainTemp}},
      {{1, false, 2, true}, {id::kPlenum1, id::kPlenum2, id::kPlenum3, id::kGrainTemp}},
      {{1, true, 0, false}, {id::kPlenum1Low, id::kPlenum1High, id::kGrainHigh, id::kGrainLow}},
      {{1, true, 4, false},
       {id::kPlenum1Low, id::kPlenum1High, id::kPlenum2Low, id::kPlenum2High, id::kGrainHigh,
        id::kGrainLow}},
      {{3, false, 0, true},
       {id::kPlenum1Low, id::kPlenum1High, id::kPlenum2Low, id::kPlenum2High, id::kGrainHigh,
        id::kGrainLow}},
  };
  link::LinkShared shared;
  TempSelect select(shared);
  for (std::size_t i = 0; i < cases.size(); ++i) {
    Report(shared, cases[i].setup);
    select.Refresh();
    EXPECT_EQ(VisibleButtons(select), cases[i].shown) << "row " << i;
  }
}

// The values drawn are the controller's, beside the buttons shown, in the display's unit.
TEST(TempSelect, DrawsTheControllersValueBesideEachShownButton) {
  struct Case {
    DryerSetup setup;
    bool celsius;
    std::vector<std::string> plenum;  // "x,y text"
    std::vector<std::string> grain;
  };
  const std::vector<Case> cases = {
      {{0, false, 0, false},
       false,
       {"180,140  181 \xB0"
        "F "},
       {"200,42  105 \xB0"
        "F "}},
      {{0, false, 1, false},
       true,
       {"180,140   82 \xB0"
        "C ",
        "180,75   83 \xB0"
        "C "},
       {"200,42   40 \xB0"
        "C "}},
      {{1, true, 1, false},
       false,
       {"180,140  161 \xB0"
        "F ",
        "180,75  181 \xB0"
        "F ",
        "500,140  162 \xB0"
        "F ",
        "500,75  182 \xB0"
        "F "},
       {"200,25  120 \xB0"
        "F ",
        "200,75  100 \xB0"
        "F "}},
      // Grain Temp edits the grain high temperature in drying mode 3 and shows it.
      {{3, false, 0, false},
       false,
       {"180,140  181 \xB0"
        "F "},
       {"200,42  120 \xB0"
        "F "}},
  };
  for (const Case& c : cases) {
    link::LinkShared shared;
    Report(shared, c.setup);
    ReportTemperatures(shared);
    shared.si_units = c.celsius ? 1 : 0;
    TempSelect select(shared);
    select.Refresh();
    for (TempPanel panel : {TempPanel::kPlenum, TempPanel::kGrain}) {
      std::vector<std::string> drawn;
      for (const TempSelect::DrawnValue& v : select.Values(panel))
        drawn.push_back(std::to_string(v.at.x) + "," + std::to_string(v.at.y) + " " + v.text);
      std::sort(drawn.begin(), drawn.end());
      std::vector<std::string> expected = panel == TempPanel::kPlenum ? c.plenum : c.grain;
      std::sort(expected.begin(), expected.end());
      EXPECT_EQ(drawn, expected) << c.setup.mode;
    }
  }
}

TEST(TempSelect, TheGrainPanelNoteFollowsTheUnit) {
  link::LinkShared shared;
  TempSelect select(shared);
  select.Refresh();
  for (bool si : {false, true}) {
    platform::RecordingCanvas canvas;
    PaintTempPanel(canvas, select, TempPanel::kGrain, si);
    const std::vector<std::string> f = {"EACH 5 DEGREE CHANGE IN TEMPERATURE SETPOINT",
                                        "IS EQUAL TO 1 POINT CHANGE IN MOISTURE"};
    const std::vector<std::string> c = {"EACH 2.5 DEGREE CHANGE IN TEMPERATURE",
                                        "SETPOINT IS EQUAL TO 1 POINT CHANGE", "IN MOISTURE"};
    ASSERT_NE(canvas.FindText("Increase temperature setpoint to decrease moisture"), nullptr);
    for (const std::string& text : si ? c : f) {
      const platform::TextCall* call = canvas.FindText(text);
      ASSERT_NE(call, nullptr) << text;
      EXPECT_EQ(call->colour, platform::Rgb(255, 0, 0));
    }
    EXPECT_EQ(canvas.FindText((si ? f : c).front()), nullptr);
  }
}

// What a button opens; opening itself sends nothing.
TEST(TempSelect, ButtonsOpenTheirTemperatureOrNothing) {
  struct Case {
    DryerSetup setup;
    int button;
    int offset;  // -1: nothing opens
    int min, max, fallback;
  };
  const std::vector<Case> cases = {
      {{0, false, 3, false}, id::kPlenum4, static_cast<int>(sm::PlenumSetpoint(4)), 50, 250, 180},
      {{0, false, 2, false}, id::kPlenum4, -1, 0, 0, 0},
      {{0, false, 3, false}, id::kPlenum5, -1, 0, 0, 0},
      {{0, false, 4, false}, id::kPlenum6, static_cast<int>(sm::PlenumSetpoint(6)), 50, 250, 180},
      {{1, true, 0, false}, id::kPlenum2Low, -1, 0, 0, 0},
      {{1, true, 0, false}, id::kPlenum2High, -1, 0, 0, 0},
      {{1, true, 1, false}, id::kPlenum2Low, sm::kPlenum2LowTemp, 50, 250, 180},
      {{1, true, 0, false},
       id::kPlenum1High,
       static_cast<int>(sm::PlenumSetpoint(1)),
       50,
       250,
       180},
      {{1, true, 0, false}, id::kPlenum1Low, sm::kPlenum1LowTemp, 50, 250, 180},
      {{0, false, 0, false}, id::kGrainTemp, sm::kGrainTempSetpoint, 50, 160, 105},
      {{3, false, 0, false}, id::kGrainTemp, sm::kGrainHighTemp, 50, 180, 120},
      {{1, true, 0, false}, id::kGrainHigh, sm::kGrainHighTemp, 50, 180, 120},
      {{1, true, 0, false}, id::kGrainLow, sm::kGrainLowTemp, 50, 180, 105},
  };
  for (const Case& c : cases) {
    link::LinkShared shared;
    Report(shared, c.setup);
    ReportTemperatures(shared);
    TempSelect select(shared);
    const std::optional<shell::DialogRequest> request = select.OpenRequest(c.button);
    if (c.offset < 0) {
      EXPECT_FALSE(request) << c.button;
      continue;
    }
    ASSERT_TRUE(request) << c.button;
    EXPECT_EQ(request->template_id, 101);
    EXPECT_EQ(static_cast<int>(request->offset), c.offset) << c.button;
    EXPECT_EQ(request->min, c.min);
    EXPECT_EQ(request->max, c.max);
    EXPECT_EQ(request->fallback, c.fallback);
    EXPECT_FALSE(shared.pending.AnyRaised());
    EXPECT_EQ(shared.request.GetT16(request->offset), 0) << "opening writes nothing";
  }
}

// The screen in the running main window: the buttons follow the dryer, a touch opens the entry
// dialog, ACCEPT sends the record and the screen keeps showing the controller's value.
class TempSelectScreenTest : public ::testing::Test {
 protected:
  TempSelectScreenTest() {
    Report(shared, {});
    ReportTemperatures(shared);
    window.show();
    window.screen().OnCommand(shell::command::kTemps);
  }
  TempSelectScreen& Screen() {
    return *static_cast<TempSelectScreen*>(window.Window(Win::kTempSelect));
  }
  // Runs `drive` on the modal entry dialog once it is up.
  void WhenDialogOpens(std::function<void(TemperatureEntryDialog&)> drive) {
    QTimer::singleShot(0, [this, drive] {
      auto* dialog = qobject_cast<TemperatureEntryDialog*>(QApplication::activeModalWidget());
      ASSERT_NE(dialog, nullptr);
      opened = true;
      drive(*dialog);
      if (dialog->isVisible()) dialog->reject();
    });
  }
  void Press(TemperatureEntryDialog& dialog, std::initializer_list<int> ids) {
    for (int control : ids) dialog.Button(control)->click();
  }
  void Save(const QImage& image, const char* name) {
    const QString dir = qEnvironmentVariable("ORVANDRY_SCREENSHOT_DIR");
    if (!dir.isEmpty()) image.save(QDir(dir).filePath(QString::fromLatin1(name) + ".png"));
  }

  link::LinkShared shared;
  shell::Settings settings;
  platform::ScriptedPrompter prompter;
  platform::MemorySettingsStore store;
  platform::FakeClock clock;
  SetupSubsystem setup;
  shell::MainWindow window{shared, settings, prompter, store, clock, {&setup}};
  bool opened = false;
};

TEST_F(TempSelectScreenTest, EveryButtonIsTouchableAndInsideItsPanel) {
  ASSERT_TRUE(Screen().isVisible());
  EXPECT_EQ(Screen().objectName(), "TEMP_SELECT_WINDOW");
  for (const TempButtonDef& def : kTempButtons) {
    platform::PictureButton* button = Screen().Button(def.id);
    ASSERT_NE(button, nullptr) << def.id;
    EXPECT_GE(button->width(), 40);
    EXPECT_GE(button->height(), 40);
    EXPECT_TRUE(button->parentWidget()->rect().contains(button->geometry())) << def.id;
  }
  for (int control : temperature_entry_id::kDigits) {
    EXPECT_GE(TemperatureEntryDialog::ControlRect(control).w, 40);
    EXPECT_GE(TemperatureEntryDialog::ControlRect(control).h, 40);
  }
  for (int control :
       {temperature_entry_id::kDelete, temperature_entry_id::kClear, temperature_entry_id::kDefault,
        temperature_entry_id::kAccept, temperature_entry_id::kCancel}) {
    const platform::Rect r = TemperatureEntryDialog::ControlRect(control);
    EXPECT_GE(std::min(r.w, r.h), 40) << control;
    EXPECT_LE(r.x + r.w, TemperatureEntryDialog::kClientSize.w);
    EXPECT_LE(r.y + r.h, TemperatureEntryDialog::kClientSize.h);
  }
}

TEST_F(TempSelectScreenTest, ButtonsFollowTheDryerOnRepaint) {
  EXPECT_TRUE(Screen().Button(id::kPlenum1)->isVisible());
  EXPECT_FALSE(Screen().Button(id::kPlenum2)->isVisible());
  Report(shared, {1, true, 1, false});
  window.Repaint(Win::kTempSelect);
  QApplication::processEvents();
  EXPECT_FALSE(Screen().Button(id::kPlenum1)->isVisible());
  EXPECT_TRUE(Screen().Button(id::kPlenum2High)->isVisible());
  EXPECT_TRUE(Screen().Button(id::kGrainLow)->isVisible());
  EXPECT_FALSE(Screen().Button(id::kGrainTemp)->isVisible());
}

TEST_F(TempSelectScreenTest, ATouchOpensTheDialogAndAcceptSendsTheRecord) {
  namespace eid = temperature_entry_id;
  WhenDialogOpens([this](TemperatureEntryDialog& dialog) {
    EXPECT_EQ(dialog.Caption(), "Modifying Temperature Setpoint - 22");
    Press(dialog, {eid::kDigits[1], eid::kDigits[9], eid::kDigits[0], eid::kAccept});
  });
  Screen().Button(id::kPlenum1)->click();
  EXPECT_TRUE(opened);
  EXPECT_TRUE(shared.pending.IsRaised(Rec::kPlenumSetpoint1));
  EXPECT_EQ(shared.request.GetT16(sm::PlenumSetpoint(1)), 190);
  // Until the controller reports it, the screen shows its own value.
  EXPECT_EQ(Screen().Logic().Values(TempPanel::kPlenum).at(0).text,
            " 181 \xB0"
            "F ");

  // A plenum the dryer lacks opens nothing.
  opened = false;
  Screen().Button(id::kPlenum6)->click();
  QApplication::processEvents();
  EXPECT_FALSE(opened);
}

// The M/C button's grain entries come through the same dialog.
TEST_F(TempSelectScreenTest, TheShellsRequestForTemplate101EditsTheNamedTemperature) {
  namespace eid = temperature_entry_id;
  shared.dryer_state.SetT16(sm::kGrainTempSetpoint, 90);
  WhenDialogOpens([this](TemperatureEntryDialog& dialog) {
    Press(dialog, {eid::kDefault, eid::kAccept});
  });
  EXPECT_TRUE(window.OpenDialog(shell::DialogRequest{.template_id = 101,
                                                     .parent_window = Win::kTempSelect,
                                                     .offset = sm::kGrainTempSetpoint,
                                                     .max = 160,
                                                     .min = 50,
                                                     .fallback = 105}));
  EXPECT_TRUE(opened);
  EXPECT_TRUE(shared.pending.IsRaised(Rec::kGrainSetpoint));
  EXPECT_EQ(shared.request.GetT16(sm::kGrainTempSetpoint), 105);
}

TEST_F(TempSelectScreenTest, Screenshots) {
  namespace eid = temperature_entry_id;
  struct Shot {
    DryerSetup setup;
    bool celsius;
    const char* screen;
    const char* dialog;
  };
  const std::vector<Shot> shots = {
      {{0, false, 4, false}, false, "temp_select_f", "temperature_entry_f"},
      {{1, true, 1, false}, true, "temp_select_dual_c", "temperature_entry_c"},
  };
  for (const Shot& shot : shots) {
    Report(shared, shot.setup);
    shared.si_units = shot.celsius ? 1 : 0;
    window.Repaint(Win::kTempSelect);
    QApplication::processEvents();
    const QImage image = Screen().grab().toImage();
    // The value beside the first plenum button shows in blue on the panel's grey.
    const TempPanelWindow* panel = Screen().Panel(TempPanel::kPlenum);
    const QPoint origin = panel->geometry().topLeft() +
                          QPoint(panel->ClientRect().x + 180, panel->ClientRect().y + 140);
    int blue = 0;
    for (int x = 0; x < 120; ++x)
      for (int y = 0; y < 30; ++y)
        if (image.pixelColor(origin + QPoint(x, y)) == QColor(0, 0, 255)) ++blue;
    EXPECT_GT(blue, 100) << shot.screen;
    Save(image, shot.screen);
    WhenDialogOpens([&](TemperatureEntryDialog& dialog) {
      Press(dialog, {eid::kDigits[6]});
      Save(dialog.grab().toImage(), shot.dialog);
      Press(dialog, {eid::kCancel});
    });
    Screen().Button(shot.setup.dual ? id::kPlenum1High : id::kPlenum1)->click();
    EXPECT_TRUE(opened);
    opened = false;
  }
  EXPECT_FALSE(shared.pending.AnyRaised());
}

}  // namespace
}  // namespace orvandry::setup
