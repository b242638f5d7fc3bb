// The staged batch setup: what each button does to the copies, what reaches the wire and when,
// the refusals, and the dialog's skin.
#include "setup/staged_batch.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QLabel>
#include <QRadioButton>
#include <QTimer>
#include <array>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "link/command_builder.h"
#include "link/status_map.h"
#include "platform/scripted_prompter.h"
#include "setup/staged_batch_dialog.h"
#include "setup/timer_entry.h"

namespace orvandry::setup {
namespace {

namespace id = staged_batch_id;
namespace sm = link::status_map;
using platform::Answer;
using platform::Rect;
using Outcome = StagedBatch::Outcome;
using Wire = std::map<std::size_t, std::vector<std::uint8_t>>;  // target offset -> data bytes

struct Dryer {
  std::uint8_t config = 0;
  std::uint8_t display = 0x20;
  std::uint8_t metering = 0x06;
  std::uint8_t drying_mode = 0x10;
  std::uint8_t fan_code = 0;
  std::uint8_t batch = 1;
};

// A dryer that has reported `d`, with a 120:00 maximum time and a 160 F maximum grain temperature.
void Report(link::LinkShared& shared, const Dryer& d) {
  auto& s = shared.dryer_state;
  s.Set(sm::kConfigBits, d.config);
  s.Set(sm::kDisplaySettings, d.display);
  s.Set(sm::kMeteringMode, d.metering);
  s.Set(sm::kDryingMode, d.drying_mode);
  s.Set(sm::kFanCountCode, d.fan_code);
  s.Set(sm::kBatchSelector, d.batch);
  s.SetTime(sm::kStagedBatchValue, 120, 0);
  s.SetT16(sm::kMoistureControlValue, 160);
  shared.first_frame_accepted = true;
}

// The records of the next CommandFrame, by the offset each writes.
Wire NextFrame(link::LinkShared& shared) {
  std::array<std::uint8_t, link::kMaxCommandFrameSize> tx{};
  Wire wire;
  if (!link::BuildCommandFrame(shared, tx.data())) return wire;
  for (std::size_t at = 2; at < tx[0] - 2U; at += 3U + tx[at + 2]) {
    const std::size_t offset = tx[at] * 256U + tx[at + 1];
    wire[offset].assign(tx.begin() + static_cast<std::ptrdiff_t>(at + 3),
                        tx.begin() + static_cast<std::ptrdiff_t>(at + 3 + tx[at + 2]));
  }
  return wire;
}

// "T" TIME, "E" TEMPERATURE, "M" MOISTURE, "S" safety toggle, "1" SINGLE.
void Press(StagedBatch& batch, const std::string& keys) {
  for (char k : keys) {
    switch (k) {
      case 'T':
        batch.Time();
        break;
      case 'E':
        batch.Temperature();
        break;
      case 'M':
        batch.Moisture();
        break;
      case 'S':
        batch.ToggleSafety();
        break;
      case '1':
        batch.Single();
        break;
      default:
        FAIL() << k;
    }
  }
}

// --- the criteria and the safety parameters ---------------------------------------------------

TEST(StagedBatch, CriteriaAndSafetyButtonsSetTheirBitsAndTheSentence) {
  struct Case {
    const char* name;
    Dryer dryer;
    const char* keys;
    std::uint8_t config, display, metering;
    bool max_time, max_grain, temperature_group, moisture_group;
    const char* sentence;
  };
  const Case cases[] = {
      {"time and temperature",
       {0x00, 0x20, 0x06},
       "TE",
       0x30,
       0x38,
       0x80,
       true,
       true,
       true,
       false,
       "Time and Temp must both be met for drying to be complete"},
      {"moisture clears both",
       {0x00, 0x20, 0x06},
       "TEM",
       0x40,
       0x38,
       0x86,
       false,
       true,
       false,
       true,
       "Batch Moisture Control"},
      {"temperature alone",
       {0x00, 0x20, 0x86},
       "E",
       0x20,
       0x28,
       0x80,
       true,
       false,
       true,
       false,
       "Temperature setpoint must be met for drying to be complete"},
      {"time alone",
       {0x00, 0x20, 0x86},
       "T",
       0x10,
       0x30,
       0x00,
       false,
       true,
       true,
       false,
       "Time must be met for drying to be complete"},
      {"safety off: TIME never enables the grain limit",
       {0x00, 0x00, 0x06},
       "TT",
       0x00,
       0x00,
       0x00,
       false,
       false,
       false,
       false,
       "Please Select Drying Criteria!"},
      {"time off clears its limit",
       {0x10, 0x30, 0x00},
       "T",
       0x00,
       0x20,
       0x00,
       false,
       false,
       false,
       false,
       "Please Select Drying Criteria!"},
      {"temperature after moisture drops the grain limit",
       {0x40, 0x38, 0x86},
       "E",
       0x20,
       0x28,
       0x80,
       true,
       false,
       true,
       false,
       "Temperature setpoint must be met for drying to be complete"},
      {"moisture with safety off clears the grain limit",
       {0x10, 0x10, 0x00},
       "M",
       0x40,
       0x08,
       0x86,
       false,
       false,
       false,
       true,
       "Batch Moisture Control"},
      {"safety off",
       {0x30, 0x38, 0x80},
       "S",
       0x30,
       0x18,
       0x80,
       false,
       false,
       true,
       false,
       "Time and Temp must both be met for drying to be complete"},
      {"safety on sets the limits of the criteria",
       {0x20, 0x10, 0x80},
       "S",
       0x20,
       0x28,
       0x80,
       true,
       false,
       true,
       false,
       "Temperature setpoint must be met for drying to be complete"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    link::LinkShared shared;
    Report(shared, c.dryer);
    StagedBatch batch(shared);
    batch.Open();
    Press(batch, c.keys);
    EXPECT_EQ(batch.Edit().Get(sm::kConfigBits), c.config);
    EXPECT_EQ(batch.Edit().Get(sm::kDisplaySettings), c.display);
    EXPECT_EQ(batch.Edit().Get(sm::kMeteringMode), c.metering);
    EXPECT_EQ(batch.MaxTimeEnabled(), c.max_time);
    EXPECT_EQ(batch.MaxGrainTempEnabled(), c.max_grain);
    EXPECT_EQ(batch.TemperatureOptionsEnabled(), c.temperature_group);
    EXPECT_EQ(batch.MoistureOptionsEnabled(), c.moisture_group);
    EXPECT_EQ(batch.CriteriaText(), c.sentence);
    EXPECT_STREQ(batch.SafetyCaption(), (c.display & kSafetyEnabled) != 0 ? "DISABLE" : "ENABLE");
  }
}

// --- what reaches the wire, and when ----------------------------------------------------------

// Only the heat split goes out at once. The criteria, with the metering mode and heat split that
// belong to them, wait for ACCEPT, so CANCEL leaves the dryer as it was.
TEST(StagedBatch, HeatSplitGoesOutAtOnceAndEverythingElseOnlyOnAccept) {
  link::LinkShared shared;
  Report(shared, {0x10, 0x20, 0x00, 0x11});
  StagedBatch batch(shared);
  batch.Open();
  Press(batch, "MS");
  EXPECT_TRUE(NextFrame(shared).empty()) << "criteria and safety wait for ACCEPT";
  EXPECT_EQ(batch.HeatSplit(kHeatHalf), link::CommitResult::kSent);
  EXPECT_EQ(NextFrame(shared), (Wire{{sm::kDryingMode, {0x41}}}));
  shared.pending.Lower(link::Rec::kDryingMode);
  EXPECT_EQ(batch.Cancel(), Outcome::kCancelled);
  EXPECT_TRUE(NextFrame(shared).empty());

  // The same presses accepted: every changed byte goes out together, the limits do not.
  link::LinkShared again;
  Report(again, {0x10, 0x20, 0x00, 0x11});
  StagedBatch accepted(again);
  accepted.Open();
  Press(accepted, "MS");
  EXPECT_EQ(accepted.HeatSplit(kHeatHalf), link::CommitResult::kSent);
  platform::ScriptedPrompter prompter;
  EXPECT_EQ(accepted.Accept(prompter), Outcome::kAccepted);
  EXPECT_EQ(NextFrame(again), (Wire{{sm::kMeteringMode, {0x86}},
                                    {sm::kDryingMode, {0x41}},
                                    {sm::kConfigBits, {0x40}},
                                    {sm::kDisplaySettings, {0x18}}}));
  EXPECT_TRUE(prompter.Clean()) << prompter.Problems();
}

TEST(StagedBatch, AcceptWithNothingChangedSendsNothingAndBeforeTheFirstReportSaysSo) {
  link::LinkShared shared;
  Report(shared, {0x30, 0x38, 0x80});
  StagedBatch batch(shared);
  batch.Open();
  platform::ScriptedPrompter prompter;
  EXPECT_EQ(batch.Accept(prompter), Outcome::kAccepted);
  EXPECT_FALSE(shared.pending.AnyRaised());

  link::LinkShared cold;
  StagedBatch early(cold);
  early.Open();
  Press(early, "T");
  prompter.Script(Answer::kOk);
  EXPECT_EQ(early.Accept(prompter), Outcome::kCancelled);
  ASSERT_NE(prompter.Last(), nullptr);
  EXPECT_EQ(prompter.Last()->text, kNotConnectedText);
  EXPECT_FALSE(cold.pending.AnyRaised());
  EXPECT_TRUE(prompter.Clean()) << prompter.Problems();
}

// The maximum time is sent by its entry dialog; the setup then shows it and does not send the
// old value back on ACCEPT.
TEST(StagedBatch, LimitsEditedInTheirEntryDialogsAreShownAndKept) {
  link::LinkShared shared;
  Report(shared, {0x20, 0x28, 0x80});
  StagedBatch batch(shared);
  batch.Open();
  EXPECT_EQ(batch.MaxTimeText(), "120:00");
  EXPECT_EQ(batch.MaxGrainTempText(), "160 F");
  platform::ScriptedPrompter prompter;
  TimerEntry entry =
      TimerEntry::Open(shared, link::Rec::kStagedBatchValue, TimerLimits{0, 0, 255, 0, 255, 0});
  entry.MinutesKey(9);
  entry.MinutesKey(0);
  ASSERT_EQ(entry.Accept(shared, prompter), TimerEntry::Outcome::kWritten);
  batch.ReloadLimits();
  EXPECT_EQ(batch.MaxTimeText(), "090:00");
  EXPECT_EQ(batch.Accept(prompter), Outcome::kAccepted);
  EXPECT_EQ(NextFrame(shared), (Wire{{sm::kStagedBatchValue, {90, 0}}}));

  shared.si_units = 1;
  EXPECT_EQ(batch.MaxGrainTempText(), "71 C");
  EXPECT_TRUE(prompter.Clean()) << prompter.Problems();
}

// --- refusals and help ------------------------------------------------------------------------

TEST(StagedBatch, AcceptWithoutACriterionIsRefusedAndTheDialogStays) {
  link::LinkShared shared;
  Report(shared, {0x00, 0x20, 0x00});
  StagedBatch batch(shared);
  batch.Open();
  Press(batch, "S");
  platform::ScriptedPrompter prompter{Answer::kOk, Answer::kCancel};
  EXPECT_EQ(batch.Accept(prompter), Outcome::kKeepOpen);
  ASSERT_NE(prompter.Last(), nullptr);
  EXPECT_EQ(prompter.Last()->caption, "Select Drying Criteria Help");
  EXPECT_EQ(prompter.Last()->buttons, platform::Buttons::kOkCancel);
  EXPECT_TRUE(prompter.Last()->text.starts_with(
      "You must select a Staged Batch Drying Criteria.  You must select\nTIME and/or"));
  EXPECT_NE(prompter.Last()->text.find("programmed in  \nusing the MAX TEMP button."),
            std::string::npos);
  EXPECT_FALSE(shared.pending.AnyRaised());

  batch.Help(prompter);
  EXPECT_EQ(prompter.Last()->caption, "Available Drying Modes Described");
  EXPECT_TRUE(prompter.Last()->text.starts_with(
      "The following is a description of the function of each button.\n  TEMP:  Grain"));
  EXPECT_TRUE(prompter.Clean()) << prompter.Problems();
}

TEST(StagedBatch, DualOnlyOnASingleFanHeaterAndNeverWhileBarred) {
  struct Case {
    const char* name;
    Dryer dryer;
    bool refused;
    bool dual;
  };
  const Case cases[] = {
      {"one fan/heater", {0x20, 0x20, 0x80, 0x10, 0}, false, true},
      {"three fan/heaters", {0x20, 0x20, 0x80, 0x10, 2}, true, false},
      {"barred in staged batch", {0x28, 0x20, 0x80, 0x10, 0, 1}, false, false},
      {"barred bit outside staged batch", {0x28, 0x20, 0x80, 0x10, 0, 0}, false, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    link::LinkShared shared;
    Report(shared, c.dryer);
    StagedBatch batch(shared);
    batch.Open();
    platform::ScriptedPrompter prompter;
    if (c.refused) prompter.Script(Answer::kOk);
    batch.Dual(prompter);
    EXPECT_EQ(batch.DualTicked(), c.dual);
    if (c.refused) {
      ASSERT_NE(prompter.Last(), nullptr);
      EXPECT_EQ(prompter.Last()->text,
                "Dual-Plenum Temperature Mode is only available on single fan/heater models.");
      EXPECT_EQ(prompter.Last()->caption, "INVALID SELECTION");
    }
    ASSERT_EQ(batch.Accept(prompter), Outcome::kAccepted);
    const Wire wire = NextFrame(shared);
    const std::uint8_t sent =
        wire.contains(sm::kConfigBits) ? wire.at(sm::kConfigBits)[0] : c.dryer.config;
    EXPECT_EQ((sent & kConfigDual) != 0, c.dual);
    EXPECT_TRUE(prompter.Clean()) << prompter.Problems();
  }
  // SINGLE takes DUAL back.
  link::LinkShared shared;
  Report(shared, {0x22, 0x20, 0x80});
  StagedBatch batch(shared);
  batch.Open();
  EXPECT_TRUE(batch.DualTicked());
  Press(batch, "1");
  EXPECT_FALSE(batch.DualTicked());
}

// --- the dialog -------------------------------------------------------------------------------

const int kButtons[] = {id::kTime,    id::kTemperature,  id::kMoisture, id::kSafetyToggle,
                        id::kMaxTime, id::kMaxGrainTemp, id::kSingle,   id::kDual,
                        id::kFull,    id::kTwoThirds,    id::kHalf,     id::kHelp,
                        id::kCancel,  id::kAccept};

bool Overlap(Rect a, Rect b) {
  return a.x < b.Right() && b.x < a.Right() && a.y < b.Bottom() && b.y < a.Bottom();
}

void SaveScreenshot(QWidget& widget, const std::string& name) {
  const QString dir = qEnvironmentVariable("ORVANDRY_SCREENSHOT_DIR");
  if (!dir.isEmpty()) widget.grab().save(dir + "/" + QString::fromStdString(name) + ".png");
}

TEST(StagedBatchDialog, ButtonsAreTouchSizedApartAndShowTheState) {
  link::LinkShared shared;
  Report(shared, {0x40, 0x38, 0x86, 0x20});
  StagedBatch batch(shared);
  batch.Open();
  platform::ScriptedPrompter prompter;
  StagedBatchDialog dialog(nullptr, batch, prompter);
  const Rect client{0, 0, dialog.ClientRect().w, dialog.ClientRect().h};
  for (int control : kButtons) {
    SCOPED_TRACE(control);
    ASSERT_NE(dialog.Button(control), nullptr);
    const Rect r = StagedBatchDialog::ControlRect(control);
    EXPECT_GE(r.w, StagedBatchDialog::kMinTouch);
    EXPECT_GE(r.h, StagedBatchDialog::kMinTouch);
    EXPECT_TRUE(client.Contains({r.x, r.y}) && client.Contains({r.Right() - 1, r.Bottom() - 1}));
    for (int other : kButtons) {
      if (other != control) {
        EXPECT_FALSE(Overlap(r, StagedBatchDialog::ControlRect(other))) << other;
      }
    }
  }
  dialog.show();
  EXPECT_TRUE(dialog.ControlAs<QCheckBox>(id::kMoistureTick)->isChecked());
  EXPECT_TRUE(dialog.ControlAs<QRadioButton>(id::kTwoThirdsTick)->isChecked());
  EXPECT_FALSE(dialog.Button(id::kSingle)->isEnabled());
  EXPECT_TRUE(dialog.Button(id::kHalf)->isEnabled());
  EXPECT_EQ(dialog.ControlAs<QLabel>(id::kCriteriaText)->text(), "Batch Moisture Control");
  SaveScreenshot(dialog, "staged_batch_moisture");

  dialog.OnControl(id::kTime);
  dialog.OnControl(id::kTemperature);
  EXPECT_TRUE(dialog.Button(id::kMaxTime)->isEnabled());
  EXPECT_FALSE(dialog.Button(id::kHalf)->isEnabled());
  EXPECT_EQ(dialog.Button(id::kSafetyToggle)->text(), "DISABLE");
  SaveScreenshot(dialog, "staged_batch_time_and_temperature");
  dialog.OnControl(id::kSafetyToggle);
  EXPECT_EQ(dialog.Button(id::kSafetyToggle)->text(), "ENABLE");
  EXPECT_FALSE(dialog.Button(id::kMaxTime)->isEnabled());
  SaveScreenshot(dialog, "staged_batch_safety_off");
}

// Accepted over the drying mode dialog, both close; CANCEL leaves the one under it open.
TEST(StagedBatchDialog, AcceptClosesTheDryingModeDialogUnderItAndCancelDoesNot) {
  for (const bool accept : {true, false}) {
    SCOPED_TRACE(accept ? "accept" : "cancel");
    link::LinkShared shared;
    Report(shared, {0x10, 0x20, 0x00});
    platform::Dialog drying_mode(nullptr, id::kDryingModeTemplate, "Drying Mode Selection - 07",
                                 {300, 200});
    drying_mode.show();
    StagedBatch batch(shared);
    batch.Open();
    platform::ScriptedPrompter prompter;
    StagedBatchDialog dialog(&drying_mode, batch, prompter);
    dialog.show();
    dialog.OnControl(id::kTemperature);
    dialog.OnControl(accept ? id::kAccept : id::kCancel);
    EXPECT_EQ(dialog.Outcome(), accept ? Outcome::kAccepted : Outcome::kCancelled);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(drying_mode.isVisible(), !accept);
    EXPECT_EQ(shared.pending.IsRaised(link::Rec::kConfigBits), accept);
    EXPECT_TRUE(prompter.Clean()) << prompter.Problems();
  }
}

}  // namespace
}  // namespace orvandry::setup
