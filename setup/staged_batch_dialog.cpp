#include "setup/staged_batch_dialog.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QFont>
#include <QGroupBox>
#include <QLabel>
#include <QRadioButton>
#include <algorithm>

#include "link/pending_write.h"
#include "platform/dialog_kit.h"
#include "setup/temperature_entry_dialog.h"
#include "setup/timer_entry_dialog.h"
#include "shell/view_context.h"

namespace orvandry::setup {

namespace {

namespace id = staged_batch_id;
using platform::Rect;

// Under the criteria group, three groups side by side; the bottom row holds the way out.
constexpr int kLowerTop = 204;
constexpr int kBottomRowY = 370;

// An indicator shows the state; the buttons beside it change it.
template <class Box>
Box* Indicator(const char* text, bool radio_font) {
  auto* box = new Box(QString::fromLatin1(text));
  box->setAttribute(Qt::WA_TransparentForMouseEvents);
  box->setFocusPolicy(Qt::NoFocus);
  QFont font = platform::Bold(box->font(), 11);
  font.setBold(radio_font);  // the long criteria lines fit only in the regular weight
  box->setFont(font);
  if constexpr (std::is_same_v<Box, QRadioButton>) box->setAutoExclusive(false);
  return box;
}

constexpr int kValueFontPixels = 14;

}  // namespace

Rect StagedBatchDialog::ControlRect(int control_id) {
  switch (control_id) {
    case id::kCriteriaBox:
      return Rect{6, 2, 608, 196};
    case id::kTime:
      return Rect{16, 22, 136, 42};
    case id::kTemperature:
      return Rect{16, 68, 136, 42};
    case id::kMoisture:
      return Rect{16, 114, 136, 42};
    case id::kTimeTick:
      return Rect{160, 33, 448, 20};
    case id::kTemperatureTick:
      return Rect{160, 79, 448, 20};
    case id::kMoistureTick:
      return Rect{160, 125, 448, 20};
    case id::kCriteriaText:
      return Rect{16, 162, 588, 28};

    case id::kSafetyBox:
      return Rect{6, kLowerTop, 200, 160};
    case id::kSafetyToggle:
      return Rect{16, kLowerTop + 20, 180, 42};
    case id::kMaxTime:
      return Rect{16, kLowerTop + 66, 104, 42};
    case id::kMaxTimeBox:
      return Rect{124, kLowerTop + 66, 72, 42};
    case id::kMaxGrainTemp:
      return Rect{16, kLowerTop + 112, 104, 42};
    case id::kMaxGrainTempBox:
      return Rect{124, kLowerTop + 112, 72, 42};

    case id::kTemperatureGroup:
      return Rect{210, kLowerTop, 206, 160};
    case id::kSingle:
      return Rect{218, kLowerTop + 20, 76, 42};
    case id::kDual:
      return Rect{218, kLowerTop + 66, 76, 42};
    case id::kSingleTick:
      return Rect{298, kLowerTop + 31, 114, 20};
    case id::kDualTick:
      return Rect{298, kLowerTop + 77, 114, 20};

    case id::kMoistureGroup:
      return Rect{420, kLowerTop, 194, 160};
    case id::kFull:
      return Rect{428, kLowerTop + 20, 84, 42};
    case id::kTwoThirds:
      return Rect{428, kLowerTop + 66, 84, 42};
    case id::kHalf:
      return Rect{428, kLowerTop + 112, 84, 42};
    case id::kFullTick:
      return Rect{516, kLowerTop + 31, 96, 20};
    case id::kTwoThirdsTick:
      return Rect{516, kLowerTop + 77, 96, 20};
    case id::kHalfTick:
      return Rect{516, kLowerTop + 123, 96, 20};

    case id::kHelp:
      return Rect{6, kBottomRowY, 120, 44};
    case id::kCancel:
      return Rect{364, kBottomRowY, 120, 44};
    case id::kAccept:
      return Rect{494, kBottomRowY, 120, 44};
    default:
      return Rect{};
  }
}

StagedBatchDialog::StagedBatchDialog(QWidget* parent, StagedBatch& batch,
                                     platform::Prompter& prompter)
    : platform::Dialog(parent, id::kTemplate, kStagedBatchCaption, kClientSize),
      batch_(batch),
      prompter_(prompter) {
  // The frames first, so the controls lie on top of them.
  const std::pair<int, const char*> groups[] = {
      {id::kCriteriaBox, "Staged Batch Drying Criteria"},
      {id::kSafetyBox, "Safety Parameters"},
      {id::kTemperatureGroup, "Temperature Based Options"},
      {id::kMoistureGroup, "Moisture Based Options"}};
  for (auto [group, title] : groups) {
    auto* box = new QGroupBox(QString::fromLatin1(title));
    box->setFont(platform::Bold(box->font(), 12));
    Place(box, group, ControlRect(group));
  }

  AddButton(id::kTime, "TIME");
  AddButton(id::kTemperature, "TEMPERATURE");
  AddButton(id::kMoisture, "MOISTURE");
  Place(Indicator<QCheckBox>("TIME - Dry Timer(s) must expire before drying is complete", false),
        id::kTimeTick, ControlRect(id::kTimeTick));
  Place(Indicator<QCheckBox>(
            "TEMPERATURE - Grain Temp must reach setpoint before drying is complete", false),
        id::kTemperatureTick, ControlRect(id::kTemperatureTick));
  Place(Indicator<QCheckBox>("MOISTURE - Batch automatic moisture control selected", false),
        id::kMoistureTick, ControlRect(id::kMoistureTick));
  QLabel* criteria = Place(platform::ValueBox(kValueFontPixels), id::kCriteriaText,
                           ControlRect(id::kCriteriaText));
  criteria->setFont(platform::Bold(criteria->font(), 13));

  AddButton(id::kSafetyToggle, "");
  AddButton(id::kMaxTime, "MAX TIME");
  Place(platform::ValueBox(kValueFontPixels), id::kMaxTimeBox, ControlRect(id::kMaxTimeBox));
  AddButton(id::kMaxGrainTemp, "MAX GRAIN\nTEMP");
  Place(platform::ValueBox(kValueFontPixels), id::kMaxGrainTempBox,
        ControlRect(id::kMaxGrainTempBox));

  AddButton(id::kSingle, "SINGLE");
  AddButton(id::kDual, "DUAL *");
  Place(Indicator<QRadioButton>("Single Plenum", true), id::kSingleTick,
        ControlRect(id::kSingleTick));
  Place(Indicator<QRadioButton>("Dual Plenum", true), id::kDualTick, ControlRect(id::kDualTick));
  auto* note = new QLabel(QStringLiteral("*Dual mode only available\non single fan model"));
  note->setFont(platform::Bold(note->font(), 11));
  Place(note, 0, Rect{218, kLowerTop + 116, 194, 34});

  AddButton(id::kFull, "FULL");
  AddButton(id::kTwoThirds, "1/3 - 2/3");
  AddButton(id::kHalf, "1/2 - 1/2");
  Place(Indicator<QRadioButton>("FULL HEAT", true), id::kFullTick, ControlRect(id::kFullTick));
  Place(Indicator<QRadioButton>("2/3 HEAT", true), id::kTwoThirdsTick,
        ControlRect(id::kTwoThirdsTick));
  Place(Indicator<QRadioButton>("1/2 HEAT", true), id::kHalfTick, ControlRect(id::kHalfTick));

  AddButton(id::kHelp, "HELP");
  AddButton(id::kCancel, "CANCEL");
  AddButton(id::kAccept, "ACCEPT");
  Refresh();
}

QPushButton* StagedBatchDialog::AddButton(int control_id, const char* text) {
  auto* button = platform::TouchButton(QString::fromLatin1(text), QString::number(control_id));
  button->setFont(platform::Bold(button->font(), 13));
  Place(button, control_id, ControlRect(control_id));
  connect(button, &QPushButton::clicked, this, [this, control_id] { OnControl(control_id); });
  return button;
}

void StagedBatchDialog::OnControl(int control_id) {
  if (outcome_ != StagedBatch::Outcome::kKeepOpen) return;  // already closing
  StagedBatch::Outcome outcome = StagedBatch::Outcome::kKeepOpen;
  switch (control_id) {
    case id::kTime:
      batch_.Time();
      break;
    case id::kTemperature:
      batch_.Temperature();
      break;
    case id::kMoisture:
      batch_.Moisture();
      break;
    case id::kSingle:
      batch_.Single();
      break;
    case id::kDual:
      batch_.Dual(prompter_);
      break;
    case id::kFull:
      batch_.HeatSplit(kHeatFull);
      break;
    case id::kTwoThirds:
      batch_.HeatSplit(kHeatTwoThirds);
      break;
    case id::kHalf:
      batch_.HeatSplit(kHeatHalf);
      break;
    case id::kSafetyToggle:
      batch_.ToggleSafety();
      break;
    case id::kMaxTime:
      EditMaxTime();
      break;
    case id::kMaxGrainTemp:
      EditMaxGrainTemp();
      break;
    case id::kHelp:
      batch_.Help(prompter_);
      break;
    case id::kAccept:
      outcome = batch_.Accept(prompter_);
      break;
    case id::kCancel:
      outcome = batch_.Cancel();
      break;
    default:
      return;
  }
  Refresh();
  if (outcome == StagedBatch::Outcome::kKeepOpen) return;
  outcome_ = outcome;
  if (outcome == StagedBatch::Outcome::kAccepted) {
    // Accepted here, the drying mode dialog it was opened over has done its part as well.
    auto* under = qobject_cast<platform::Dialog*>(parentWidget());
    if (under != nullptr && under->TemplateNumber() == id::kDryingModeTemplate) under->reject();
    accept();
  } else {
    reject();
  }
}

void StagedBatchDialog::EditMaxTime() {
  // The minutes keypad reaches 249; DEFAULT gives 255:00.
  TimerEntry entry = TimerEntry::Open(batch_.Shared(), link::Rec::kStagedBatchValue,
                                      TimerLimits{0, 0, 255, 0, 255, 0});
  RunTimerEntryDialog(this, entry, batch_.Shared(), prompter_);
  batch_.ReloadLimits();
}

void StagedBatchDialog::EditMaxGrainTemp() {
  TemperatureEntry entry = TemperatureEntry::Open(batch_.Shared(), link::Rec::kMoistureControlValue,
                                                  TemperatureLimits{100, 200, 150});
  RunTemperatureEntryDialog(this, entry, batch_.Shared(), prompter_);
  batch_.ReloadLimits();
}

void StagedBatchDialog::Refresh() {
  ControlAs<QCheckBox>(id::kTimeTick)->setChecked(batch_.TimeTicked());
  ControlAs<QCheckBox>(id::kTemperatureTick)->setChecked(batch_.TemperatureTicked());
  ControlAs<QCheckBox>(id::kMoistureTick)->setChecked(batch_.MoistureTicked());
  ControlAs<QLabel>(id::kCriteriaText)->setText(QString::fromLatin1(batch_.CriteriaText()));

  Button(id::kSafetyToggle)->setText(QString::fromLatin1(batch_.SafetyCaption()));
  Button(id::kMaxTime)->setEnabled(batch_.MaxTimeEnabled());
  Control(id::kMaxTimeBox)->setEnabled(batch_.MaxTimeEnabled());
  ControlAs<QLabel>(id::kMaxTimeBox)->setText(QString::fromLatin1(batch_.MaxTimeText()));
  Button(id::kMaxGrainTemp)->setEnabled(batch_.MaxGrainTempEnabled());
  Control(id::kMaxGrainTempBox)->setEnabled(batch_.MaxGrainTempEnabled());
  ControlAs<QLabel>(id::kMaxGrainTempBox)->setText(QString::fromLatin1(batch_.MaxGrainTempText()));

  const bool temperature = batch_.TemperatureOptionsEnabled();
  // Only the buttons are greyed: the frames' titles and the indicators stay readable.
  for (int control : {id::kSingle, id::kDual}) Control(control)->setEnabled(temperature);
  ControlAs<QRadioButton>(id::kSingleTick)->setChecked(!batch_.DualTicked());
  ControlAs<QRadioButton>(id::kDualTick)->setChecked(batch_.DualTicked());

  const bool moisture = batch_.MoistureOptionsEnabled();
  for (int control : {id::kFull, id::kTwoThirds, id::kHalf}) Control(control)->setEnabled(moisture);
  const std::uint8_t split = batch_.HeatSplitTicked();
  ControlAs<QRadioButton>(id::kFullTick)->setChecked(split == kHeatFull);
  ControlAs<QRadioButton>(id::kTwoThirdsTick)->setChecked(split == kHeatTwoThirds);
  ControlAs<QRadioButton>(id::kHalfTick)->setChecked(split == kHeatHalf);
  update();
}

void StagedBatchDialog::showEvent(QShowEvent* event) {
  platform::Dialog::showEvent(event);
  platform::PlaceAboveCentre(*this, kAboveCentre);
}

StagedBatch::Outcome RunStagedBatchDialog(QWidget* parent, shell::ViewContext& context) {
  StagedBatch batch(context.shared);
  batch.Open();
  StagedBatchDialog dialog(parent, batch, context.prompter);
  dialog.exec();
  const StagedBatch::Outcome outcome = dialog.Outcome();
  return outcome == StagedBatch::Outcome::kKeepOpen ? StagedBatch::Outcome::kCancelled : outcome;
}

}  // namespace orvandry::setup
