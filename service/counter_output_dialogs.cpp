#include "service/counter_output_dialogs.h"

#include "shell/view_context.h"

namespace orvandry::service {

namespace {
using platform::Rect;
}  // namespace

// ---- Unload bushels ----

UnloadBushelsDialog::UnloadBushelsDialog(QWidget* parent, UnloadBushels& logic,
                                         platform::Prompter& prompter)
    : PanelDialog(parent, bushels_id::kTemplate, kBushelsCaption, kClientSize),
      logic_(logic),
      prompter_(prompter) {
  namespace id = bushels_id;
  AddText(id::kCalibrationLabel, "BUSHEL CALIBRATION", Rect{20, 10, 210, 24}, 15);
  AddValue(id::kCalibration, Rect{20, 36, 200, 52}, 22);
  AddButton(id::kIncrease, "INCREASE", Rect{236, 36, 108, 52}, 15);
  AddButton(id::kDecrease, "DECREASE", Rect{352, 36, 108, 52}, 15);
  AddText(id::kTotalLabel, "TOTAL BUSHELS", Rect{20, 104, 210, 24}, 15);
  AddValue(id::kTotal, Rect{20, 130, 200, 52}, 22);
  AddButton(id::kClear, "CLEAR", Rect{236, 130, 224, 52}, 16);
  SetRepeatable({id::kIncrease, id::kDecrease});
  AddButton(id::kHelp, "HELP", Rect{20, 222, 140, 54}, 16);
  AddButton(id::kAccept, "ACCEPT", Rect{320, 222, 140, 54}, 16);
  Refresh();
}

void UnloadBushelsDialog::Refresh() {
  SetText(bushels_id::kCalibration, logic_.CalibrationText());
  SetText(bushels_id::kTotal, logic_.TotalText());
}

bool UnloadBushelsDialog::Press(int id, bool& accepted) {
  accepted = true;
  return logic_.Press(id, prompter_) == UnloadBushels::Outcome::kAccepted;
}

// ---- Meter rolls output voltage ----

MeterOutputDialog::MeterOutputDialog(QWidget* parent, MeterOutput& logic,
                                     platform::Prompter& prompter)
    : PanelDialog(parent, meter_output_id::kTemplate, kMeterOutputCaption, kClientSize),
      logic_(logic),
      prompter_(prompter) {
  namespace id = meter_output_id;
  struct Column {
    int x, group, note, percent, volts, up, down;
    const char* title;
  };
  for (const Column& c : {Column{10, id::kMinGroup, id::kMinNote, id::kMinPercent, id::kMinVolts,
                                 id::kMinUp, id::kMinDown, "Minimum Speed"},
                          Column{285, id::kMaxGroup, id::kMaxNote, id::kMaxPercent, id::kMaxVolts,
                                 id::kMaxUp, id::kMaxDown, "Maximum Speed"}}) {
    AddGroup(c.group, c.title, Rect{c.x, 6, 265, 156});
    AddText(c.note, kMeterRollsOnNote, Rect{c.x + 12, 28, 240, 22}, 13);
    AddValue(c.percent, Rect{c.x + 12, 56, 150, 44}, 18);
    AddValue(c.volts, Rect{c.x + 12, 106, 150, 44}, 18);
    AddButton(c.up, "UP", Rect{c.x + 172, 56, 80, 44}, 16);
    AddButton(c.down, "DOWN", Rect{c.x + 172, 106, 80, 44}, 16);
  }
  SetRepeatable({id::kMinUp, id::kMinDown, id::kMaxUp, id::kMaxDown});
  AddButton(id::kDefault, "DEFAULT", Rect{10, 176, 170, 54}, 16);
  AddButton(id::kAccept, "ACCEPT", Rect{195, 176, 170, 54}, 16);
  AddButton(id::kCancel, "CANCEL", Rect{380, 176, 170, 54}, 16);
  Refresh();
}

void MeterOutputDialog::Refresh() {
  namespace id = meter_output_id;
  SetText(id::kMinPercent, MeterOutput::PercentText(logic_.Minimum()));
  SetText(id::kMinVolts, MeterOutput::VoltsText(logic_.Minimum()));
  SetText(id::kMaxPercent, MeterOutput::PercentText(logic_.Maximum()));
  SetText(id::kMaxVolts, MeterOutput::VoltsText(logic_.Maximum()));
}

bool MeterOutputDialog::Press(int id, bool& accepted) {
  accepted = id == meter_output_id::kAccept;
  return logic_.Press(id, prompter_) == MeterOutput::Outcome::kClosed;
}

// ---- Moisture sampler setup ----

SamplerSetupDialog::SamplerSetupDialog(QWidget* parent, SamplerSetup& logic,
                                       platform::Prompter& prompter)
    : PanelDialog(parent, sampler_id::kTemplate, kSamplerCaption, kClientSize),
      logic_(logic),
      prompter_(prompter) {
  namespace id = sampler_id;
  AddGroup(id::kActionGroup, "When the sampler requires cleaning", Rect{10, 6, 580, 110});
  AddTick(id::kShutdown, "Shutdown Dryer Immediately", Rect{22, 30, 430, 36}, false, 14);
  AddTick(id::kSwitchToGrainTemp, "Switch to Grain Temperature Moisture Control",
          Rect{22, 70, 430, 36}, false, 14);
  AddButton(id::kSelectAction, "SELECT", Rect{462, 40, 118, 54}, 16);

  // Two rows of two choices, each readable in full.
  const auto choice = [](int i, int top) {
    return Rect{22 + 200 * (i % 2), top + 34 * (i / 2), 190, 32};
  };
  AddGroup(id::kDelayGroup, "Action Delay", Rect{10, 122, 580, 100});
  const char* delays[4] = {"Zero", "1/2 Hour", "1 Hour", "2 Hour"};
  for (int i = 0; i < 4; ++i) AddTick(id::kDelays[i], delays[i], choice(i, 144), false, 14);
  AddButton(id::kSelectDelay, "SELECT", Rect{462, 148, 118, 54}, 16);

  AddGroup(id::kMaxTimeGroup, "Maximum Time on Grain Temperature Moisture Control",
           Rect{10, 228, 580, 100});
  const char* times[4] = {"1 Hour", "2 Hours", "4 Hours", "Indefinite"};
  for (int i = 0; i < 4; ++i) AddTick(id::kMaxTimes[i], times[i], choice(i, 250), false, 14);
  AddButton(id::kSelectMaxTime, "SELECT", Rect{462, 254, 118, 54}, 16);

  AddButton(id::kHelp, "HELP", Rect{10, 338, 150, 52}, 16);
  AddButton(id::kAccept, "ACCEPT / OK", Rect{440, 338, 150, 52}, 16);
  Refresh();
}

void SamplerSetupDialog::Refresh() {
  namespace id = sampler_id;
  SetTicked(id::kShutdown, !logic_.SwitchesToGrainTemp());
  SetTicked(id::kSwitchToGrainTemp, logic_.SwitchesToGrainTemp());
  for (int i = 0; i < 4; ++i) {
    SetTicked(id::kDelays[i], logic_.Delay() == i);
    SetTicked(id::kMaxTimes[i], logic_.MaxTime() == i);
  }
}

bool SamplerSetupDialog::Press(int id, bool& accepted) {
  accepted = true;
  return logic_.Press(id, prompter_) == SamplerSetup::Outcome::kClosed;
}

// ---- Openers ----

void RunUnloadBushelsDialog(QWidget* parent, shell::ViewContext& context) {
  UnloadBushels logic(context.shared);
  logic.Open();
  UnloadBushelsDialog dialog(parent, logic, context.prompter);
  dialog.exec();
}

void RunMeterOutputDialog(QWidget* parent, shell::ViewContext& context) {
  MeterOutput logic(context.shared);
  logic.Open();
  MeterOutputDialog dialog(parent, logic, context.prompter);
  dialog.exec();
  // Closed some other way than its buttons: the dryer must still stop driving the test output.
  if (!dialog.Closing()) logic.Press(meter_output_id::kCancel, context.prompter);
}

void RunSamplerSetupDialog(QWidget* parent, shell::ViewContext& context) {
  SamplerSetup logic(context.shared);
  logic.Open();
  SamplerSetupDialog dialog(parent, logic, context.prompter);
  dialog.exec();
}

}  // namespace orvandry::service
