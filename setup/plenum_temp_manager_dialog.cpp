#include "setup/plenum_temp_manager_dialog.h"

#include <QFont>
#include <QGroupBox>
#include <QLabel>
#include <QRadioButton>

#include "platform/dialog_kit.h"
#include "setup/staged_batch_dialog.h"
#include "shell/view_context.h"

namespace orvandry::setup {

namespace {

namespace id = plenum_manager_id;
using platform::Rect;

}  // namespace

Rect PlenumTempManagerDialog::ControlRect(int control_id) {
  switch (control_id) {
    case id::kOnOff:
      return Rect{10, 8, 190, 44};
    case id::kOn:
      return Rect{220, 20, 70, 20};
    case id::kOff:
      return Rect{300, 20, 70, 20};
    case id::kTimeGroup:
      return Rect{6, 58, 408, 72};
    case id::kTimeIncrease:
      return Rect{16, 78, 112, 44};
    case id::kTimeDecrease:
      return Rect{134, 78, 112, 44};
    case id::kTimeBox:
      return Rect{256, 78, 148, 44};
    case id::kStepGroup:
      return Rect{6, 136, 408, 72};
    case id::kStepIncrease:
      return Rect{16, 156, 112, 44};
    case id::kStepDecrease:
      return Rect{134, 156, 112, 44};
    case id::kStepBox:
      return Rect{256, 156, 148, 44};
    case id::kHelp:
      return Rect{6, 224, 120, 44};
    case id::kCancel:
      return Rect{164, 224, 120, 44};
    case id::kAccept:
      return Rect{294, 224, 120, 44};
    default:
      return Rect{};
  }
}

PlenumTempManagerDialog::PlenumTempManagerDialog(QWidget* parent, PlenumTempManager& manager,
                                                 platform::Prompter& prompter)
    : platform::Dialog(parent, id::kTemplate, kPlenumManagerCaption, kClientSize),
      manager_(manager),
      prompter_(prompter) {
  const std::pair<int, const char*> groups[] = {{id::kTimeGroup, "Time Between Steps"},
                                                {id::kStepGroup, "Size of Temperature Steps"}};
  for (auto [group, title] : groups) {
    auto* box = new QGroupBox(QString::fromLatin1(title));
    box->setFont(platform::Bold(box->font(), 12));
    Place(box, group, ControlRect(group));
  }
  for (auto [indicator, text] : {std::pair{id::kOn, "ON"}, std::pair{id::kOff, "OFF"}}) {
    auto* radio = new QRadioButton(QString::fromLatin1(text));
    radio->setAutoExclusive(false);
    radio->setAttribute(Qt::WA_TransparentForMouseEvents);
    radio->setFocusPolicy(Qt::NoFocus);
    radio->setFont(platform::Bold(radio->font(), 13));
    Place(radio, indicator, ControlRect(indicator));
  }
  for (int box_id : {id::kTimeBox, id::kStepBox}) {
    auto* label = new QLabel;
    label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    label->setAlignment(Qt::AlignCenter);
    label->setAutoFillBackground(true);
    QPalette palette = label->palette();
    palette.setColor(QPalette::Window, Qt::white);
    palette.setColor(QPalette::WindowText, Qt::black);
    label->setPalette(palette);
    label->setFont(platform::Bold(label->font(), 15));
    Place(label, box_id, ControlRect(box_id));
  }
  const std::pair<int, const char*> buttons[] = {
      {id::kOnOff, "SELECT ON / OFF"}, {id::kTimeIncrease, "INCREASE"},
      {id::kTimeDecrease, "DECREASE"}, {id::kStepIncrease, "INCREASE"},
      {id::kStepDecrease, "DECREASE"}, {id::kHelp, "HELP"},
      {id::kCancel, "CANCEL"},         {id::kAccept, "ACCEPT"}};
  for (auto [control_id, text] : buttons) {
    auto* button = platform::TouchButton(QString::fromLatin1(text), QString::number(control_id));
    button->setFont(platform::Bold(button->font(), 14));
    Place(button, control_id, ControlRect(control_id));
    connect(button, &QPushButton::clicked, this, [this, id = control_id] { OnControl(id); });
  }
  Refresh();
}

void PlenumTempManagerDialog::OnControl(int control_id) {
  if (outcome_ != PlenumTempManager::Outcome::kKeepOpen) return;  // already closing
  PlenumTempManager::Outcome outcome = PlenumTempManager::Outcome::kKeepOpen;
  switch (control_id) {
    case id::kOnOff:
      manager_.ToggleOn();
      break;
    case id::kTimeIncrease:
      manager_.TimeIncrease();
      break;
    case id::kTimeDecrease:
      manager_.TimeDecrease();
      break;
    case id::kStepIncrease:
      manager_.StepIncrease();
      break;
    case id::kStepDecrease:
      manager_.StepDecrease();
      break;
    case id::kHelp:
      manager_.Help(prompter_);
      break;
    case id::kAccept:
      outcome = manager_.Accept(prompter_);
      break;
    case id::kCancel:
      outcome = manager_.Cancel();
      break;
    default:
      return;
  }
  Refresh();
  if (outcome == PlenumTempManager::Outcome::kKeepOpen) return;
  outcome_ = outcome;
  if (outcome == PlenumTempManager::Outcome::kAccepted) {
    accept();
  } else {
    reject();
  }
}

void PlenumTempManagerDialog::Refresh() {
  ControlAs<QRadioButton>(id::kOn)->setChecked(manager_.On());
  ControlAs<QRadioButton>(id::kOff)->setChecked(!manager_.On());
  ControlAs<QLabel>(id::kTimeBox)
      ->setText(QString::fromLatin1(TimeBetweenStepsText(manager_.TimeIndex())));
  ControlAs<QLabel>(id::kStepBox)->setText(QString::fromLatin1(StepSizeText(manager_.StepIndex())));
}

void PlenumTempManagerDialog::showEvent(QShowEvent* event) {
  platform::Dialog::showEvent(event);
  platform::PlaceAboveCentre(*this, kAboveCentre);
}

PlenumTempManager::Outcome RunPlenumTempManagerDialog(QWidget* parent,
                                                      shell::ViewContext& context) {
  PlenumTempManager manager(context.shared);
  manager.Open();
  PlenumTempManagerDialog dialog(parent, manager, context.prompter);
  dialog.exec();
  const PlenumTempManager::Outcome outcome = dialog.Outcome();
  return outcome == PlenumTempManager::Outcome::kKeepOpen ? PlenumTempManager::Outcome::kCancelled
                                                          : outcome;
}

}  // namespace orvandry::setup
