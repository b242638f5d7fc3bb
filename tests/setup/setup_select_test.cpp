// The hardware setup board in the running main window: its buttons, what each opens, the buttons
// that follow the dryer's options, and the way to the extended board and back.
#include "setup/setup_select.h"

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
#include "setup/hardware_setup_dialog.h"
#include "setup/setup_select_screen.h"
#include "setup/setup_subsystem.h"
#include "shell/main_window.h"

namespace orvandry::setup {
namespace {

using link::Rec;
using shell::Win;
namespace sm = link::status_map;
namespace id = setup_select_id;

// Stands in for the subsystems that own the board's dialogs: it takes every template but the
// hardware setup's and remembers what was opened over what.
class DialogRecorder final : public shell::Subsystem {
 public:
  bool OpenDialog(const shell::DialogRequest& request) override {
    if (!owns || request.template_id == hardware_id::kTemplate) return false;
    opened.push_back({request.template_id, request.parent});
    return true;
  }
  struct Opened {
    int template_id;
    QWidget* parent;
  };
  bool owns = true;
  std::vector<Opened> opened;
};

class SetupSelectTest : public ::testing::Test {
 protected:
  SetupSelectTest() {
    shared.first_frame_accepted = true;
    window.show();
    window.screen().OnCommand(shell::command::kSetup);
  }
  SetupSelectScreen& Board() {
    return *static_cast<SetupSelectScreen*>(window.Window(Win::kSetupSelect));
  }
  // What one press of the button opened (nothing: no template).
  std::optional<int> PressOpens(int button_id) {
    recorder.opened.clear();
    Board().Button(button_id)->click();
    if (recorder.opened.empty()) return std::nullopt;
    EXPECT_EQ(recorder.opened.size(), 1U);
    EXPECT_EQ(recorder.opened.back().parent, &Board()) << "dialogs open over the board";
    return recorder.opened.back().template_id;
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
  DialogRecorder recorder;
  SetupSubsystem setup;
  shell::MainWindow window{shared, settings, prompter, store, clock, {&recorder, &setup}};
};

TEST_F(SetupSelectTest, EveryButtonHasItsPlaceAndFaces) {
  ASSERT_TRUE(Board().isVisible());
  EXPECT_EQ(Board().objectName(), "SETUP_SELECTION_WINDOW");
  EXPECT_EQ(Board().Caption(), " SELECT HARDWARE SETUP PARAMETER TO MODIFY - 03");
  const platform::Rect client = Board().ClientRect();
  const QRect exit = Board().ExitButton()->geometry();
  std::vector<QRect> taken = {exit};
  for (const SetupButtonDef& def : kSetupButtons) {
    platform::PictureButton* button = Board().Button(def.id);
    ASSERT_NE(button, nullptr) << def.id;
    EXPECT_EQ(button->objectName(), def.window_text);
    EXPECT_EQ(button->geometry(), QRect(client.x + def.x, client.y + def.y, 175, 50)) << def.id;
    for (const QRect& other : taken) EXPECT_FALSE(button->geometry().intersects(other)) << def.id;
    taken.push_back(button->geometry());
    for (int face : {def.normal_face, def.pressed_face}) {
      ASSERT_TRUE(resources::SharedPictures().Has(face)) << face;
      EXPECT_EQ(resources::SharedPictures().NaturalSize(face), QSize(175, 50)) << face;
    }
  }
  EXPECT_TRUE(resources::SharedPictures().Has(kBurnerModeGreyedFace));
  // The board's own buttons sit where they always have.
  const std::vector<std::pair<int, QPoint>> fixed = {
      {id::kDryingMode, {10, 20}},         {id::kMcSetup, {10, 90}},
      {id::kBurnerMode, {222, 160}},       {id::kUnloadParameters, {222, 20}},
      {id::kPlenumTempManager, {222, 90}}, {id::kCalibrateMoisture, {440, 20}},
      {id::kExtendedSetup, {440, 90}}};
  for (const auto& [button, at] : fixed)
    EXPECT_EQ(Board().Button(button)->pos(), QPoint(client.x, client.y) + at) << button;
}

TEST_F(SetupSelectTest, ButtonsOpenTheirDialogsOverTheBoardAndSendNothing) {
  struct Case {
    int button;
    std::uint8_t mode = 0;     // byte 8 as reported
    std::uint8_t options = 0;  // byte 225
    std::optional<std::uint8_t> mode_on_its_way = std::nullopt;
    std::optional<int> opens = std::nullopt;
  };
  const std::vector<Case> cases = {
      {.button = id::kDryingMode, .opens = 512},
      {.button = id::kMcSetup, .opens = 515},
      {.button = id::kMcSetup, .mode = 1, .opens = 516},
      {.button = id::kMcSetup, .mode_on_its_way = 1, .opens = 516},
      {.button = id::kMcSetup, .mode = 1, .mode_on_its_way = 0, .opens = 515},
      {.button = id::kBurnerMode, .opens = 177},
      {.button = id::kBurnerMode, .options = 0x20, .opens = std::nullopt},
      {.button = id::kUnloadParameters, .opens = 513},
      {.button = id::kPlenumTempManager, .opens = 514},
      {.button = id::kCalibrateMoisture, .opens = 223},
      {.button = id::kBphCal, .opens = 226},
      {.button = id::kDiagnostics, .opens = 168},
      {.button = id::kTimeDate, .opens = 199},
      {.button = id::kDataLogger, .opens = 258},
      {.button = id::kRemoteConnection, .opens = 206},
  };
  for (const Case& c : cases) {
    shared.dryer_state.Set(sm::kBatchSelector, c.mode);
    shared.dryer_state.Set(sm::kHardwareOptions, c.options);
    shared.pending.Lower(Rec::kBatchSelector);
    if (c.mode_on_its_way) shared.RequestByte(Rec::kBatchSelector, *c.mode_on_its_way);
    EXPECT_EQ(PressOpens(c.button), c.opens) << c.button << " mode " << int(c.mode);
    shared.pending.Lower(Rec::kBatchSelector);
    EXPECT_FALSE(shared.pending.AnyRaised()) << c.button;
    EXPECT_TRUE(Board().isVisible()) << c.button;
  }
  // A dialog nobody has registered yet (diagnostics, for now) opens nothing.
  recorder.owns = false;
  EXPECT_EQ(PressOpens(id::kDiagnostics), std::nullopt);
  EXPECT_FALSE(shared.pending.AnyRaised());
}

TEST_F(SetupSelectTest, TheOnePlenumOptionGreysBurnerModeAndHidesBphCalWithinASecond) {
  platform::PictureButton* burner = Board().Button(id::kBurnerMode);
  platform::PictureButton* bph = Board().Button(id::kBphCal);
  QApplication::processEvents();
  ASSERT_TRUE(bph->isVisible());
  for (std::uint8_t options : {0x20, 0x00, 0x6F, 0x40}) {
    const bool one_plenum = (options & 0x20) != 0;
    shared.dryer_state.Set(sm::kHardwareOptions, options);
    window.OneSecondTick();
    EXPECT_EQ(bph->isVisible(), !one_plenum) << int(options);
    EXPECT_EQ(burner->NormalFace(), one_plenum ? kBurnerModeGreyedFace : 4405) << int(options);
    EXPECT_EQ(burner->PressedFace(), one_plenum ? kBurnerModeGreyedFace : 4404) << int(options);
    if (options == 0x20) Save(Board().grab().toImage(), "setup_select_one_plenum");
  }
  Save(Board().grab().toImage(), "setup_select");
}

TEST_F(SetupSelectTest, ExtendedSetupSwapsTheBoardsAndItsExitComesBack) {
  Board().Button(id::kExtendedSetup)->click();
  EXPECT_FALSE(Board().isVisible());
  EXPECT_TRUE(window.Window(Win::kExtendedSetupSelect)->isVisible());
  EXPECT_FALSE(window.Window(Win::kDryerPic)->isVisible()) << "the main screen stays hidden";
  window.Window(Win::kExtendedSetupSelect)->findChild<platform::PictureButton*>("EXIT")->click();
  EXPECT_TRUE(Board().isVisible());
  EXPECT_FALSE(shared.pending.AnyRaised());
}

// Template 164 belongs to the setup subsystem: the shell opens it, ACCEPT/EXIT sends.
TEST_F(SetupSelectTest, TheShellOpensTheHardwareDialogAndItsAcceptSends) {
  bool opened = false;
  QTimer::singleShot(0, [&] {
    auto* dialog = qobject_cast<HardwareSetupDialog*>(QApplication::activeModalWidget());
    ASSERT_NE(dialog, nullptr);
    opened = true;
    EXPECT_EQ(dialog->parentWidget(), &Board());
    dialog->Button(hardware_id::kFuelSelect)->click();
    dialog->Button(hardware_id::kAccept)->click();
  });
  EXPECT_TRUE(window.OpenDialog(
      {.template_id = hardware_id::kTemplate, .parent_window = Win::kSetupSelect}));
  EXPECT_TRUE(opened);
  EXPECT_TRUE(shared.pending.IsRaised(Rec::kFuel));
  EXPECT_EQ(shared.request.Get(sm::kFuelCode), 1);
  // The presses asked the poll tick to repaint the dryer views once the dryer has had time.
  int ticks = 0;
  while (ticks < 40 && !window.poll_ticker().Tick(shared).repaint_setup_views) ++ticks;
  EXPECT_EQ(ticks, link::PollTicker::kSetupRepaintDelay);
}

// Leaving the board never sends the dryer's old drying mode over a change still on its way.
TEST_F(SetupSelectTest, ExitKeepsADryingModeChangeOnItsWay) {
  shared.RequestByte(Rec::kBatchSelector, 1);
  Board().ExitButton()->click();
  EXPECT_FALSE(Board().isVisible());
  EXPECT_TRUE(shared.pending.IsRaised(Rec::kBatchSelector));
  EXPECT_EQ(shared.request.Get(sm::kBatchSelector), 1);
}

}  // namespace
}  // namespace orvandry::setup
