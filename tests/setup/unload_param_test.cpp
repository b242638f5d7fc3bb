// The unload parameters (rates, BPH estimate, the inversion warning) and the plenum temperature
// manager: what each button does, what reaches the wire, and the two dialogs' skins.
#include "setup/unload_param.h"

#include <gtest/gtest.h>

#include <QLabel>
#include <QRadioButton>
#include <array>
#include <map>
#include <string>
#include <vector>

#include "link/command_builder.h"
#include "link/status_map.h"
#include "platform/scripted_prompter.h"
#include "setup/plenum_temp_manager.h"
#include "setup/plenum_temp_manager_dialog.h"
#include "setup/staged_batch_dialog.h"
#include "setup/timer_entry.h"
#include "setup/unload_param_dialog.h"

namespace orvandry::setup {
namespace {

namespace sm = link::status_map;
using platform::Answer;
using platform::Rect;
using Wire = std::map<std::size_t, std::vector<std::uint8_t>>;  // target offset -> data bytes

Wire NextFrame(link::LinkShared& shared) {
  std::array<std::uint8_t, link::kMaxCommandFrameSize> tx{};
  Wire wire;
  if (!link::BuildCommandFrame(shared, tx.data())) return wire;
  for (std::size_t at = 2; at < tx[0] - 2U; at += 3U + tx[at + 2]) {
    wire[tx[at] * 256U + tx[at + 1]].assign(
        tx.begin() + static_cast<std::ptrdiff_t>(at + 3),
        tx.begin() + static_cast<std::ptrdiff_t>(at + 3 + tx[at + 2]));
  }
  return wire;
}

void ReportRates(link::LinkShared& shared, int max, int min) {
  shared.dryer_state.SetBe16(sm::kUnloadRateMax, static_cast<std::uint16_t>(max));
  shared.dryer_state.SetBe16(sm::kUnloadRateMin, static_cast<std::uint16_t>(min));
  shared.dryer_state.Set(sm::kDryerLengthCode, 4);  // 16 ft
  shared.first_frame_accepted = true;
}

bool Overlap(Rect a, Rect b) {
  return a.x < b.Right() && b.x < a.Right() && a.y < b.Bottom() && b.y < a.Bottom();
}

void SaveScreenshot(QWidget& widget, const std::string& name) {
  const QString dir = qEnvironmentVariable("ORVANDRY_SCREENSHOT_DIR");
  if (!dir.isEmpty()) widget.grab().save(dir + "/" + QString::fromStdString(name) + ".png");
}

template <class Dialog>
void ExpectTouchSizedAndApart(const Dialog& dialog, std::initializer_list<int> buttons) {
  const Rect client{0, 0, dialog.ClientRect().w, dialog.ClientRect().h};
  for (int control : buttons) {
    SCOPED_TRACE(control);
    ASSERT_NE(dialog.Button(control), nullptr);
    const Rect r = Dialog::ControlRect(control);
    EXPECT_GE(r.w, Dialog::kMinTouch);
    EXPECT_GE(r.h, Dialog::kMinTouch);
    EXPECT_TRUE(client.Contains({r.x, r.y}) && client.Contains({r.Right() - 1, r.Bottom() - 1}));
    for (int other : buttons) {
      if (other != control) {
        EXPECT_FALSE(Overlap(r, Dialog::ControlRect(other))) << other;
      }
    }
  }
}

// --- the BPH estimate -------------------------------------------------------------------------

TEST(UnloadParameters, BphEstimateAndItsNoteFollowTheDryer) {
  struct Case {
    std::uint8_t hardware;
    std::uint8_t index;
    bool four_inch;
    int percent;
    const char* bph;
    const char* note;
  };
  const Case cases[] = {
      {0x00, 4, false, 80, "1800", ""},  // 16 x 0.8 x 140.62021 = 1799.9
      {0x00, 4, true, 80, "1659", ""},   // 16 x 0.8 x 129.6 = 1658.9
      {0x80, 4, false, 80, "1800", "*Based upon 16ft dryer @ 17.5 RPM."},
      {0x80, 14, false, 100, "5625", "*Based upon 40ft dryer @ 17.5 RPM."},
      {0x00, 15, false, 80, "0", ""},
      {0x20, 6, false, 50, "3200", "*Based upon 6400 BPH capacity."},
      {0x20, 3, false, 50, "1500", "*Based upon 3000 BPH capacity."},
      {0x20, 5, false, 50, "2000", "*Based upon 4000 BPH capacity."},
      {0x20, 8, false, 50, "3500", "*Based upon 7000 BPH capacity."},
      {0x20, 9, false, 50, "4000", "*Based upon 8000 BPH capacity."},
      {0xA0, 6, false, 50, "3200", "*Based upon 20ft dryer @ 17.5 RPM."},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.hardware) + "/" + std::to_string(c.index));
    const BphBasis basis{c.hardware, c.index, c.four_inch};
    EXPECT_EQ(BphText(c.percent, basis), c.bph);
    EXPECT_EQ(BphNote(basis), c.note);
  }
  // Read from the controller's bytes: model index 7, the 4-inch roll bit of 183.
  link::LinkShared shared;
  shared.dryer_state.Set(sm::kDryerLengthCode, 4);
  shared.dryer_state.Set(sm::kOptionBits183, 0x02);
  EXPECT_EQ(BphText(80, BphBasis::From(shared.dryer_state)), "1659");
}

// --- the rates and the inversion warning ------------------------------------------------------

TEST(UnloadParameters, StepsStayWithinZeroToHundred) {
  link::LinkShared shared;
  ReportRates(shared, 100, 0);
  UnloadRateWarning warning;
  UnloadParameters rates(shared, warning);
  rates.Open();
  platform::ScriptedPrompter prompter;
  rates.IncreaseMax();
  rates.DecreaseMin();
  EXPECT_EQ(rates.Max(), 100);
  EXPECT_EQ(rates.Min(), 0);
  rates.DecreaseMax(prompter);
  rates.IncreaseMin(prompter);
  EXPECT_EQ(rates.MaxText(), "99");
  EXPECT_EQ(rates.MinText(), "1");
  EXPECT_EQ(rates.MaxBph(), "2227");  // 16 x 0.99 x 140.62021 = 2227.4
  EXPECT_EQ(rates.Accept(prompter), UnloadParameters::Outcome::kAccepted);
  EXPECT_EQ(NextFrame(shared), (Wire{{sm::kUnloadRateMax, {0, 99}}, {sm::kUnloadRateMin, {0, 1}}}));
  EXPECT_TRUE(prompter.Clean()) << prompter.Problems();
}

// A step that inverts the range asks once per run; ACCEPT asks every time, and NO leaves the
// controller's values alone.
TEST(UnloadParameters, InversionIsReportedOncePerRunButAlwaysOnAccept) {
  link::LinkShared shared;
  ReportRates(shared, 11, 10);
  UnloadRateWarning warning;
  platform::ScriptedPrompter prompter{Answer::kNo};
  UnloadParameters rates(shared, warning);
  rates.Open();
  rates.DecreaseMax(prompter);
  ASSERT_NE(prompter.Last(), nullptr);
  EXPECT_EQ(prompter.Last()->text,
            "The MAXIMUM unload rate must be greater than MINIMUM unload rate.  Set defaults?.");
  EXPECT_EQ(prompter.Last()->caption, " ERROR SETTING MAX / MIN UNLOAD RATES");
  EXPECT_EQ(prompter.Last()->buttons, platform::Buttons::kYesNo);
  rates.DecreaseMax(prompter);
  UnloadParameters again(shared, warning);
  again.Open();
  again.IncreaseMin(prompter);
  again.IncreaseMin(prompter);
  EXPECT_EQ(prompter.Questions().size(), 1U) << "the same run: not asked again";

  prompter.Script(Answer::kNo);
  EXPECT_EQ(again.Accept(prompter), UnloadParameters::Outcome::kCancelled);
  EXPECT_EQ(prompter.Last()->text,
            "The MAXIMUM unload rate must be greater than MINIMUM unload rate.  " +
                std::string(11, '\t') +
                "Set defaults?  Pressing YES will set defaults (Hi = 80% and Low = 10%).   " +
                std::string(11, '\t') + "Pressing NO will not change the previous settings.");
  EXPECT_TRUE(NextFrame(shared).empty());

  // YES: the defaults, of which only what differs from the controller's values goes out.
  prompter.Script(Answer::kYes);
  EXPECT_EQ(again.Accept(prompter), UnloadParameters::Outcome::kAccepted);
  EXPECT_EQ(NextFrame(shared), (Wire{{sm::kUnloadRateMax, {0, 80}}}));
  EXPECT_TRUE(prompter.Clean()) << prompter.Problems();
}

TEST(UnloadParameters, YesToTheStepWarningSetsTheDefaultsAndAcceptSetsTheFlagToo) {
  link::LinkShared shared;
  ReportRates(shared, 50, 49);
  UnloadRateWarning warning;
  platform::ScriptedPrompter prompter{Answer::kYes};
  UnloadParameters rates(shared, warning);
  rates.Open();
  rates.IncreaseMin(prompter);
  EXPECT_EQ(rates.Max(), 80);
  EXPECT_EQ(rates.Min(), 10);
  EXPECT_EQ(rates.Cancel(), UnloadParameters::Outcome::kCancelled);
  EXPECT_TRUE(NextFrame(shared).empty()) << "CANCEL writes nothing";

  // The ACCEPT check alone also uses up the step warning.
  link::LinkShared inverted;
  ReportRates(inverted, 10, 10);
  UnloadRateWarning fresh;
  UnloadParameters first(inverted, fresh);
  first.Open();
  prompter.Script(Answer::kNo);
  EXPECT_EQ(first.Accept(prompter), UnloadParameters::Outcome::kCancelled);
  first.DecreaseMax(prompter);
  EXPECT_EQ(prompter.Questions().size(), 2U);
  EXPECT_TRUE(prompter.Clean()) << prompter.Problems();
}

TEST(UnloadParameters, HelpAndTheNotConnectedRefusal) {
  link::LinkShared cold;
  UnloadRateWarning warning;
  UnloadParameters rates(cold, warning);
  rates.Open();
  platform::ScriptedPrompter prompter{Answer::kOk, Answer::kOk};
  rates.Help(prompter);
  EXPECT_EQ(prompter.Last()->caption, " Moisture Control / Extended Setup");
  EXPECT_TRUE(prompter.Last()->text.starts_with("Set the % MAXIMUM Unloading Rate to a\nvalue"));
  EXPECT_EQ(prompter.Last()->buttons, platform::Buttons::kOkCancel);
  rates.IncreaseMax();
  EXPECT_EQ(rates.Accept(prompter), UnloadParameters::Outcome::kCancelled);
  EXPECT_EQ(prompter.Last()->text, kNotConnectedText);
  EXPECT_FALSE(cold.pending.AnyRaised());
  EXPECT_TRUE(prompter.Clean()) << prompter.Problems();
}

TEST(UnloadParamDialog, ButtonsAreTouchSizedAndTheBoxesShowTheRates) {
  namespace id = unload_param_id;
  link::LinkShared shared;
  ReportRates(shared, 80, 10);
  shared.dryer_state.Set(sm::kHardwareOptions, 0x80);
  UnloadRateWarning warning;
  UnloadParameters rates(shared, warning);
  rates.Open();
  platform::ScriptedPrompter prompter;
  UnloadParamDialog dialog(nullptr, rates, prompter);
  ExpectTouchSizedAndApart(dialog, {id::kMaxIncrease, id::kMaxDecrease, id::kMinIncrease,
                                    id::kMinDecrease, id::kHelp, id::kCancel, id::kAccept});
  dialog.show();
  dialog.OnControl(id::kMaxIncrease);
  EXPECT_EQ(dialog.ControlAs<QLabel>(id::kMaxPercent)->text(), "81");
  EXPECT_EQ(dialog.ControlAs<QLabel>(id::kMaxBph)->text(), "1822");
  EXPECT_EQ(dialog.ControlAs<QLabel>(id::kMinBph)->text(), "225");
  EXPECT_EQ(dialog.ControlAs<QLabel>(id::kMinNote)->text(), "*Based upon 16ft dryer @ 17.5 RPM.");
  SaveScreenshot(dialog, "unload_parameters");
  dialog.OnControl(id::kCancel);
  EXPECT_EQ(dialog.Outcome(), UnloadParameters::Outcome::kCancelled);
  EXPECT_FALSE(shared.pending.AnyRaised());
  EXPECT_TRUE(prompter.Clean()) << prompter.Problems();
}

// --- the plenum temperature manager -----------------------------------------------------------

TEST(PlenumTempManager, IndicesWrapAndOnlyTheirBitsChange) {
  struct Case {
    std::uint8_t start;
    const char* keys;  // "O" on/off, "t"/"T" time down/up, "s"/"S" step size down/up
    std::uint8_t result;
  };
  const Case cases[] = {
      {0x3F, "T", 0x07}, {0x3F, "S", 0x38}, {0x00, "t", 0x38},   {0x00, "s", 0x07},
      {0x40, "O", 0xC0}, {0xC9, "O", 0x49}, {0x52, "TTs", 0x61},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.keys);
    link::LinkShared shared;
    shared.dryer_state.Set(sm::kPlenumTempManager, c.start);
    shared.first_frame_accepted = true;
    PlenumTempManager manager(shared);
    manager.Open();
    for (const char* k = c.keys; *k != '\0'; ++k) {
      switch (*k) {
        case 'O':
          manager.ToggleOn();
          break;
        case 'T':
          manager.TimeIncrease();
          break;
        case 't':
          manager.TimeDecrease();
          break;
        case 'S':
          manager.StepIncrease();
          break;
        case 's':
          manager.StepDecrease();
          break;
        default:
          FAIL();
      }
    }
    EXPECT_EQ(manager.Byte(), c.result);
    platform::ScriptedPrompter prompter;
    EXPECT_EQ(manager.Accept(prompter), PlenumTempManager::Outcome::kAccepted);
    EXPECT_EQ(NextFrame(shared), (Wire{{sm::kPlenumTempManager, {c.result}}}));
  }
  EXPECT_STREQ(StepSizeText(0), "Select  ");
  EXPECT_STREQ(StepSizeText(7), "25 DEG F");
  EXPECT_STREQ(TimeBetweenStepsText(4), "1.5 HOURS ");
  EXPECT_STREQ(TimeBetweenStepsText(0), "15 MINUTES");
}

TEST(PlenumTempManager, AcceptUnchangedAndCancelSendNothing) {
  link::LinkShared shared;
  shared.dryer_state.Set(sm::kPlenumTempManager, 0x88);
  shared.first_frame_accepted = true;
  PlenumTempManager manager(shared);
  manager.Open();
  platform::ScriptedPrompter prompter{Answer::kOk};
  manager.Help(prompter);
  EXPECT_EQ(prompter.Last()->caption, "Plenum Temperature Manager");
  EXPECT_TRUE(
      prompter.Last()->text.starts_with("The Plenum Temp Manager will reduce the plenum\n"));
  EXPECT_EQ(manager.Accept(prompter), PlenumTempManager::Outcome::kAccepted);
  manager.ToggleOn();
  EXPECT_EQ(manager.Cancel(), PlenumTempManager::Outcome::kCancelled);
  EXPECT_TRUE(NextFrame(shared).empty());
  EXPECT_TRUE(prompter.Clean()) << prompter.Problems();
}

TEST(PlenumTempManagerDialog, ButtonsAreTouchSizedAndShowTheSetting) {
  namespace id = plenum_manager_id;
  link::LinkShared shared;
  shared.dryer_state.Set(sm::kPlenumTempManager, 0x80 | (3 << 3) | 4);
  shared.first_frame_accepted = true;
  PlenumTempManager manager(shared);
  manager.Open();
  platform::ScriptedPrompter prompter;
  PlenumTempManagerDialog dialog(nullptr, manager, prompter);
  ExpectTouchSizedAndApart(dialog,
                           {id::kOnOff, id::kTimeIncrease, id::kTimeDecrease, id::kStepIncrease,
                            id::kStepDecrease, id::kHelp, id::kCancel, id::kAccept});
  dialog.show();
  EXPECT_TRUE(dialog.ControlAs<QRadioButton>(id::kOn)->isChecked());
  EXPECT_EQ(dialog.ControlAs<QLabel>(id::kTimeBox)->text(), "1 HOUR");
  EXPECT_EQ(dialog.ControlAs<QLabel>(id::kStepBox)->text(), "10 DEG F");
  SaveScreenshot(dialog, "plenum_temp_manager");
  dialog.OnControl(id::kOnOff);
  EXPECT_TRUE(dialog.ControlAs<QRadioButton>(id::kOff)->isChecked());
  dialog.OnControl(id::kAccept);
  EXPECT_EQ(dialog.Outcome(), PlenumTempManager::Outcome::kAccepted);
  EXPECT_EQ(NextFrame(shared), (Wire{{sm::kPlenumTempManager, {0x1C}}}));
}

}  // namespace
}  // namespace orvandry::setup

namespace orvandry::setup {
namespace {

// The three dialogs stand centred across the panel, 20 pixels above its middle (a dialog taller
// than that allows stays on the panel).
TEST(SetupDialogPlacement, CentredAcrossTwentyAboveTheMiddleAndOnThePanel) {
  QWidget panel;
  panel.setGeometry(0, 0, 640, 480);
  panel.show();
  const QRect outer = panel.frameGeometry();
  link::LinkShared shared;
  shared.first_frame_accepted = true;
  platform::ScriptedPrompter prompter;
  UnloadRateWarning warning;
  UnloadParameters rates(shared, warning);
  rates.Open();
  PlenumTempManager manager(shared);
  manager.Open();
  StagedBatch batch(shared);
  batch.Open();
  UnloadParamDialog unload(&panel, rates, prompter);
  PlenumTempManagerDialog plenum(&panel, manager, prompter);
  StagedBatchDialog staged(&panel, batch, prompter);
  for (platform::Dialog* dialog : std::initializer_list<platform::Dialog*>{&unload, &plenum}) {
    dialog->show();
    EXPECT_EQ(dialog->pos(), QPoint(outer.x() + (outer.width() - dialog->width()) / 2,
                                    outer.y() + (outer.height() - dialog->height()) / 2 - 20));
    dialog->hide();
  }
  staged.show();
  EXPECT_EQ(staged.pos().x(), outer.x() + (outer.width() - staged.width()) / 2);
  EXPECT_GE(staged.pos().y(), outer.y());
  EXPECT_LE(staged.pos().y() + staged.height(), outer.bottom() + 1);
}

}  // namespace
}  // namespace orvandry::setup
