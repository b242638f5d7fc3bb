// The hardware setup dialog: how each SELECT steps its group, the two layouts, the sampler
// question, and what ACCEPT/EXIT puts on the wire.
#include "setup/hardware_setup.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <array>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "link/status_intake.h"
#include "link/status_map.h"
#include "platform/control_id.h"
#include "platform/scripted_prompter.h"
#include "setup/hardware_setup_dialog.h"
#include "setup/timer_entry.h"

namespace orvandry::setup {
namespace {

namespace sm = link::status_map;
namespace id = hardware_id;
using link::Rec;
using platform::Answer;

// What the dryer reports.
struct Dryer {
  std::uint8_t fans = 0, modules = 0, fuel = 0, load = 0, position = 0;
  std::uint8_t sampler = 0;
  std::uint8_t options = 0;  // hardware option byte 225
  std::uint8_t config = 0;   // byte 257
  std::uint8_t option183 = 0;
};

// The records the dialog may send, with the byte each carries.
const std::map<Rec, std::size_t> kSent = {
    {Rec::kFanCount, sm::kFanCountCode},
    {Rec::kModuleCount, sm::kModuleCountCode},
    {Rec::kFuel, sm::kFuelCode},
    {Rec::kLoadSystem, sm::kLoadSystemCode},
    {Rec::kDryerLength, sm::kDryerLengthCode},
    {Rec::kConfigBits, sm::kConfigBits},
    {Rec::kSamplerConfig, sm::kSamplerConfig},
};

class HardwareSetupTest : public ::testing::Test {
 protected:
  // The dryer reports `d` through the real intake.
  void Report(const Dryer& d) {
    frame[sm::kFanCountCode] = d.fans;
    frame[sm::kModuleCountCode] = d.modules;
    frame[sm::kFuelCode] = d.fuel;
    frame[sm::kLoadSystemCode] = d.load;
    frame[sm::kDryerLengthCode] = d.position;
    frame[sm::kSamplerConfig] = d.sampler;
    frame[sm::kHardwareOptions] = d.options;
    frame[sm::kConfigBits] = d.config;
    frame[sm::kOptionBits183] = d.option183;
    Take();
  }
  void Take() { link::StatusIntake(shared, nullptr).Run(frame.data()); }
  HardwareSetup& Open(const Dryer& d) {
    Report(d);
    return OpenAsIs();
  }
  HardwareSetup& OpenAsIs() {
    setup.emplace(shared);
    setup->Open();
    return *setup;
  }
  void Press(std::initializer_list<int> ids) {
    for (int control : ids) setup->Press(control, prompter);
  }
  // The records raised, with the byte each will carry.
  std::map<Rec, std::uint8_t> Raised() const {
    std::map<Rec, std::uint8_t> raised;
    for (const auto& [rec, offset] : kSent)
      if (shared.pending.IsRaised(rec)) raised[rec] = shared.request.Get(offset);
    return raised;
  }

  link::LinkShared shared;
  std::array<std::uint8_t, link::kStateSize> frame{};
  platform::ScriptedPrompter prompter;
  std::optional<HardwareSetup> setup;
};

TEST_F(HardwareSetupTest, NumberFhStepsByModulesOrByTheOnePlenumOption) {
  struct Case {
    std::uint8_t options, modules, fans;
    std::array<int, 3> after;  // fan code after one, two, three presses
  };
  const Case cases[] = {
      {0x00, 0, 0, {1, 2, 0}},
      {0x00, 0, 4, {0, 1, 2}},  // a code one module cannot have starts over at One
      {0x00, 1, 0, {2, 3, 2}},
      {0x00, 2, 0, {3, 4, 3}},  // One at opening with three modules: Four, Six, Four
      {0x20, 2, 3, {0, 2, 0}},  // the option allows One and Three whatever the modules
      {0x60, 0, 1, {0, 2, 0}},  // bit 0x20 restricts in the length layout too
      {0x00, 7, 1, {1, 1, 1}},  // an unknown module count: no rule, nothing changes
  };
  for (const Case& c : cases) {
    Open({.fans = c.fans, .modules = c.modules, .options = c.options});
    std::array<int, 3> after{};
    for (int& code : after) {
      Press({id::kFansSelect});
      code = setup->FanCode();
    }
    EXPECT_EQ(after, c.after) << int(c.options) << " " << int(c.modules) << " " << int(c.fans);
    EXPECT_TRUE(Raised().empty()) << "stepping sends nothing";
  }
}

TEST_F(HardwareSetupTest, NumberModulesCyclesAndCorrectsTheFanCount) {
  struct Case {
    std::uint8_t modules, fans, modules_after, fans_after;
  };
  const Case cases[] = {
      {0, 1, 1, 2},  // One module, Two fans -> Two modules, Three
      {0, 0, 1, 2}, {0, 2, 1, 2}, {1, 2, 2, 3}, {1, 3, 2, 3}, {2, 4, 0, 2},
      {2, 3, 0, 2}, {2, 0, 0, 0}, {5, 1, 0, 1},  // an unknown module count starts over at One
  };
  for (const Case& c : cases) {
    Open({.fans = c.fans, .modules = c.modules});
    Press({id::kModulesSelect});
    EXPECT_EQ(setup->Modules(), c.modules_after) << int(c.modules) << "/" << int(c.fans);
    EXPECT_EQ(setup->FanCode(), c.fans_after) << int(c.modules) << "/" << int(c.fans);
  }
}

TEST_F(HardwareSetupTest, LoadFuelAndLengthCycleAndWrap) {
  struct Case {
    int select;
    std::size_t offset;
    std::uint8_t from, to;
  };
  const Case cases[] = {
      {id::kLoadSelect, sm::kLoadSystemCode, 1, 2},
      {id::kLoadSelect, sm::kLoadSystemCode, 2, 0},
      {id::kFuelSelect, sm::kFuelCode, 2, 3},
      {id::kFuelSelect, sm::kFuelCode, 3, 0},
      {id::kLengthSelect, sm::kDryerLengthCode, 13, 14},
      {id::kLengthSelect, sm::kDryerLengthCode, 14, 0},  // "40 ft" -> "8 ft"
      {id::kLengthSelect, sm::kDryerLengthCode, 200, 0},
  };
  for (const Case& c : cases) {
    frame[c.offset] = c.from;
    Take();
    OpenAsIs();
    Press({c.select});
    const std::uint8_t now = c.offset == sm::kLoadSystemCode ? setup->LoadSystem()
                             : c.offset == sm::kFuelCode     ? setup->Fuel()
                                                             : setup->Position();
    EXPECT_EQ(now, c.to) << c.select << " from " << int(c.from);
    frame[c.offset] = 0;
  }
}

TEST_F(HardwareSetupTest, TheLengthButtonSendsTheSamplerAsItStandsInTheDialog) {
  Open({.position = 3, .sampler = 0x85});
  Press({id::kSamplerSelect});  // cycled mode off: no question
  EXPECT_TRUE(Raised().empty());
  Press({id::kLengthSelect});
  EXPECT_EQ(Raised(), (std::map<Rec, std::uint8_t>{{Rec::kSamplerConfig, 0x05}}))
      << "the length itself waits for ACCEPT";
  EXPECT_TRUE(prompter.Questions().empty());
}

TEST_F(HardwareSetupTest, EnablingTheCycledSamplerAsksFirst) {
  struct Case {
    std::uint8_t sampler;
    std::optional<Answer> answer;  // none: no question
    bool on_after;
  };
  const Case cases[] = {
      {0x81, std::nullopt, false},
      {0x01, Answer::kYes, true},
      {0x01, Answer::kNo, false},
      {0x01, Answer::kCancel, false},
  };
  for (const Case& c : cases) {
    platform::ScriptedPrompter asked;
    if (c.answer) asked.Script(*c.answer);
    Open({.sampler = c.sampler});
    setup->Press(id::kSamplerSelect, asked);
    EXPECT_EQ(setup->CycledSampler(), c.on_after) << int(c.sampler);
    ASSERT_EQ(asked.Questions().size(), c.answer ? 1U : 0U);
    if (c.answer) {
      EXPECT_EQ(asked.Last()->text, "Selecting YES requires cycled sampler to be installed!!!");
      EXPECT_EQ(asked.Last()->caption, " ENABLE CYCLED MOISTURE SAMPLER?");
      EXPECT_EQ(asked.Last()->buttons, platform::Buttons::kYesNoCancel);
    }
    EXPECT_TRUE(asked.Clean()) << asked.Problems();
    EXPECT_TRUE(Raised().empty());
  }
}

TEST_F(HardwareSetupTest, TheHardwareOptionChoosesTheLayout) {
  struct Case {
    std::uint8_t options;
    HardwareLayout layout;
    bool restricted;
  };
  const Case cases[] = {
      {0x00, HardwareLayout::kLength, false}, {0x1F, HardwareLayout::kLength, false},
      {0x20, HardwareLayout::kModel, true},   {0x2F, HardwareLayout::kModel, true},
      {0x30, HardwareLayout::kLength, true},  {0xA0, HardwareLayout::kLength, true},
  };
  for (const Case& c : cases) {
    Open({.options = c.options});
    EXPECT_EQ(setup->Layout(), c.layout) << int(c.options);
    EXPECT_EQ(setup->FansRestricted(), c.restricted) << int(c.options);
    const bool model = c.layout == HardwareLayout::kModel;
    EXPECT_STREQ(setup->PositionCaption(), model ? "Model Number" : "Dryer Length (ft)");
    EXPECT_STREQ(setup->FansCaption(), model ? "Number of Fans" : "Number FH");
    EXPECT_STREQ(setup->PositionName(0), model ? kModelNames[0] : "8 ft");
    EXPECT_STREQ(setup->PositionName(10), model ? kModelNames[10] : "28 ft");
    EXPECT_STREQ(setup->PositionName(14), model ? "NOT USED" : "40 ft");
  }
}

TEST_F(HardwareSetupTest, FanChoicesFollowTheModuleCount) {
  const std::vector<std::vector<bool>> allowed = {
      {true, true, true, false, false},
      {false, false, true, true, false},
      {false, false, false, true, true},
  };
  for (std::uint8_t modules = 0; modules < 3; ++modules) {
    Open({.modules = modules});
    for (int code = 0; code < 5; ++code)
      EXPECT_EQ(setup->FanAllowed(code), allowed[modules][code]) << int(modules) << "/" << code;
  }
}

TEST_F(HardwareSetupTest, AcceptSendsWhatChangedAndClearsDualWhereThereIsMoreThanOneFan) {
  struct Case {
    const char* name;
    Dryer dryer;
    std::vector<int> presses;
    std::map<Rec, std::uint8_t> sent;
  };
  const std::vector<Case> cases = {
      {"nothing changed, one fan, DUAL stays", {.config = 0x43}, {}, {}},
      {"two fans, nothing changed: DUAL cleared, other bits kept",
       {.fans = 1, .config = 0x43},
       {},
       {{Rec::kConfigBits, 0x41}}},
      {"two fans, DUAL already clear", {.fans = 1, .config = 0x41}, {}, {}},
      {"fuel", {.fuel = 1}, {id::kFuelSelect}, {{Rec::kFuel, 2}}},
      {"modules correct the fans, which clears DUAL",
       {.fans = 0, .modules = 0, .config = 0x02},
       {id::kModulesSelect},
       {{Rec::kModuleCount, 1}, {Rec::kFanCount, 2}, {Rec::kConfigBits, 0x00}}},
      {"a full cycle back to the start sends nothing",
       {.load = 1},
       {id::kLoadSelect, id::kLoadSelect, id::kLoadSelect},
       {}},
      {"load and length",
       {.load = 0, .position = 4, .sampler = 0x01},
       {id::kLoadSelect, id::kLengthSelect},
       {{Rec::kLoadSystem, 1}, {Rec::kDryerLength, 5}, {Rec::kSamplerConfig, 0x01}}},
      {"sampler on", {.sampler = 0x01}, {id::kSamplerSelect}, {{Rec::kSamplerConfig, 0x81}}},
  };
  for (const Case& c : cases) {
    for (const auto& [rec, offset] : kSent) shared.pending.Lower(rec);
    platform::ScriptedPrompter asked;
    for (int control : c.presses)
      if (control == id::kSamplerSelect) asked.Script(Answer::kYes);
    Open(c.dryer);
    for (int control : c.presses) setup->Press(control, asked);
    EXPECT_EQ(setup->Accept(asked), HardwareSetup::Outcome::kClosed);
    EXPECT_EQ(Raised(), c.sent) << c.name;
    EXPECT_TRUE(asked.Clean()) << asked.Problems();
  }
}

// A change still on its way to the dryer is the starting point: opening and accepting never send
// the dryer's old value over it.
TEST_F(HardwareSetupTest, ChangesOnTheirWayAreKeptAndTheDryersOwnChangesNotUndone) {
  Report({.fans = 1, .fuel = 0, .config = 0x02});
  shared.RequestByte(Rec::kConfigBits, 0x42);  // e.g. the drying mode dialog's change
  shared.RequestByte(Rec::kFanCount, 3);
  OpenAsIs();
  EXPECT_EQ(setup->FanCode(), 3);
  frame[sm::kFuelCode] = 2;  // the dryer changes its fuel while the dialog is open
  Take();
  setup->Accept(prompter);
  EXPECT_EQ(Raised(), (std::map<Rec, std::uint8_t>{{Rec::kConfigBits, 0x40}, {Rec::kFanCount, 3}}));
}

TEST_F(HardwareSetupTest, BeforeTheDryersFirstReportNothingIsSentAndTheOperatorIsTold) {
  OpenAsIs();  // no frame taken in yet
  Press({id::kFuelSelect, id::kLengthSelect});
  setup->Accept(prompter);
  EXPECT_TRUE(Raised().empty());
  EXPECT_EQ(prompter.CountAsked(kNotConnectedText), 1U);

  platform::ScriptedPrompter quiet;
  OpenAsIs();
  setup->Accept(quiet);
  EXPECT_TRUE(quiet.Questions().empty()) << "nothing to send, nothing to say";
}

// The dialog itself: both layouts, every button touchable, presses through the widgets.
class HardwareSetupDialogTest : public HardwareSetupTest {
 protected:
  std::vector<QWidget*> Shown(const HardwareSetupDialog& dialog) {
    std::vector<QWidget*> shown;
    for (QWidget* control : dialog.findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
      if (platform::ControlIdOf(*control) && control->isVisibleTo(&dialog))
        shown.push_back(control);
    return shown;
  }
  void Save(QWidget& widget, const char* name) {
    const QString dir = qEnvironmentVariable("ORVANDRY_SCREENSHOT_DIR");
    if (!dir.isEmpty()) widget.grab().save(QDir(dir).filePath(QString::fromLatin1(name) + ".png"));
  }
};

TEST_F(HardwareSetupDialogTest, EachLayoutShowsItsGroupsApartWithTouchSizedButtons) {
  const std::vector<int> model_hides = {
      id::kModulesBox,    id::kModules[0], id::kModules[1],   id::kModules[2],
      id::kModulesSelect, id::kLoadBox,    id::kLoad[0],      id::kLoad[1],
      id::kLoad[2],       id::kLoadSelect, id::kMeterRollBox, id::kFourInch,
      id::kSevenInch,     id::kFans[1],    id::kFans[3],      id::kFans[4]};
  for (std::uint8_t options : {0x00, 0x24}) {
    const bool model = options == 0x24;
    Open({.options = options});
    HardwareSetupDialog dialog(nullptr, *setup, prompter);
    EXPECT_EQ(dialog.Caption(), "DRYER HARDWARE SETUP - 05 ");
    EXPECT_EQ(dialog.Box(id::kLengthBox)->title(), model ? "Model Number" : "Dryer Length (ft)");
    EXPECT_EQ(dialog.Box(id::kFansBox)->title(), model ? "Number of Fans" : "Number FH");
    EXPECT_EQ(dialog.Indicator(id::kPositions[14])->text(), model ? "NOT USED" : "40 ft");
    std::vector<QWidget*> shown = Shown(dialog);
    for (int hidden : model_hides) {
      const bool visible = dialog.Control(hidden)->isVisibleTo(&dialog);
      EXPECT_EQ(visible, !model) << hidden;
    }
    const QRect client(dialog.ClientRect().x, dialog.ClientRect().y, dialog.ClientRect().w,
                       dialog.ClientRect().h);
    std::vector<QWidget*> boxes, controls;
    for (QWidget* w : shown) (qobject_cast<QGroupBox*>(w) ? boxes : controls).push_back(w);
    for (QWidget* w : shown) {
      const int control = *platform::ControlIdOf(*w);
      EXPECT_TRUE(client.contains(w->geometry())) << control;
      if (auto* button = qobject_cast<QPushButton*>(w)) {
        EXPECT_GE(button->width(), HardwareSetupDialog::kMinTouch) << control;
        EXPECT_GE(button->height(), HardwareSetupDialog::kMinTouch) << control;
      }
    }
    for (QWidget* a : controls) {
      for (QWidget* b : controls) {
        if (a == b) continue;
        EXPECT_FALSE(a->geometry().intersects(b->geometry()))
            << *platform::ControlIdOf(*a) << " overlaps " << *platform::ControlIdOf(*b);
      }
      // Inside a group (below its title), or ACCEPT/EXIT on its own.
      bool framed = *platform::ControlIdOf(*a) == id::kAccept;
      for (QWidget* box : boxes)
        framed = framed || box->geometry().adjusted(2, 14, -2, -2).contains(a->geometry());
      EXPECT_TRUE(framed) << *platform::ControlIdOf(*a);
    }
    dialog.show();
    QApplication::processEvents();
    Save(dialog, model ? "hardware_setup_model" : "hardware_setup_length");
  }
}

TEST_F(HardwareSetupDialogTest, PressesStepTheIndicatorsAndAcceptSendsAndCloses) {
  Open({.fans = 0, .modules = 2, .config = 0x02});
  int presses = 0;
  HardwareSetupDialog dialog(nullptr, *setup, prompter, [&presses] { ++presses; });
  EXPECT_TRUE(dialog.Indicator(id::kFans[0])->isChecked());
  EXPECT_FALSE(dialog.Indicator(id::kFans[0])->isEnabled()) << "One is ticked but greyed";
  EXPECT_TRUE(dialog.Indicator(id::kModules[2])->isChecked());
  dialog.Button(id::kFansSelect)->click();
  EXPECT_TRUE(dialog.Indicator(id::kFans[3])->isChecked());
  EXPECT_FALSE(dialog.Indicator(id::kFans[0])->isChecked());
  dialog.Button(id::kLengthSelect)->click();
  EXPECT_TRUE(dialog.Indicator(id::kPositions[1])->isChecked());
  EXPECT_EQ(Raised(), (std::map<Rec, std::uint8_t>{{Rec::kSamplerConfig, 0x00}}));
  dialog.show();
  dialog.Button(id::kAccept)->click();
  EXPECT_EQ(presses, 3);
  EXPECT_FALSE(dialog.isVisible());
  EXPECT_EQ(dialog.Outcome(), HardwareSetup::Outcome::kClosed);
  EXPECT_EQ(Raised(), (std::map<Rec, std::uint8_t>{{Rec::kFanCount, 3},
                                                   {Rec::kDryerLength, 1},
                                                   {Rec::kConfigBits, 0x00},
                                                   {Rec::kSamplerConfig, 0x00}}));
}

}  // namespace
}  // namespace orvandry::setup
