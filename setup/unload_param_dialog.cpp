#include "setup/unload_param_dialog.h"

#include <QFont>
#include <QGroupBox>
#include <QLabel>

#include "platform/dialog_kit.h"
#include "setup/staged_batch_dialog.h"
#include "shell/view_context.h"

namespace orvandry::setup {

namespace {

namespace id = unload_param_id;
using platform::Rect;

constexpr int kGroupTop[2] = {4, 130};

constexpr int kValueFontPixels = 18;

// The controls of one group, by its row: 0 maximum, 1 minimum.
struct GroupIds {
  int group, bph, percent, increase, decrease, note;
};
constexpr GroupIds kGroups[2] = {
    {id::kMaxGroup, id::kMaxBph, id::kMaxPercent, id::kMaxIncrease, id::kMaxDecrease, id::kMaxNote},
    {id::kMinGroup, id::kMinBph, id::kMinPercent, id::kMinIncrease, id::kMinDecrease,
     id::kMinNote}};

}  // namespace

Rect UnloadParamDialog::ControlRect(int control_id) {
  for (int row = 0; row < 2; ++row) {
    const GroupIds& g = kGroups[row];
    const int top = kGroupTop[row];
    if (control_id == g.group) return Rect{6, top, 448, 120};
    if (control_id == g.bph) return Rect{16, top + 24, 104, 44};
    if (control_id == g.percent) return Rect{160, top + 24, 64, 44};
    if (control_id == g.increase) return Rect{290, top + 20, 154, 44};
    if (control_id == g.decrease) return Rect{290, top + 70, 154, 44};
    if (control_id == g.note) return Rect{16, top + 80, 268, 24};
  }
  switch (control_id) {
    case id::kHelp:
      return Rect{6, 260, 120, 44};
    case id::kCancel:
      return Rect{204, 260, 120, 44};
    case id::kAccept:
      return Rect{334, 260, 120, 44};
    default:
      return Rect{};
  }
}

UnloadParamDialog::UnloadParamDialog(QWidget* parent, UnloadParameters& rates,
                                     platform::Prompter& prompter)
    : platform::Dialog(parent, id::kTemplate, kUnloadParamCaption, kClientSize),
      rates_(rates),
      prompter_(prompter) {
  const char* titles[2] = {"Set Maximum Unload Rate", "Set Minimum Unload Rate"};
  for (int row = 0; row < 2; ++row) {
    const GroupIds& g = kGroups[row];
    auto* box = new QGroupBox(QString::fromLatin1(titles[row]));
    box->setFont(platform::Bold(box->font(), 12));
    Place(box, g.group, ControlRect(g.group));
    Place(platform::ValueBox(kValueFontPixels), g.bph, ControlRect(g.bph));
    Place(platform::ValueBox(kValueFontPixels), g.percent, ControlRect(g.percent));
    const Rect bph = ControlRect(g.bph);
    const Rect percent = ControlRect(g.percent);
    auto* bph_unit = new QLabel(QStringLiteral("BPH"));
    bph_unit->setFont(platform::Bold(bph_unit->font(), 13));
    Place(bph_unit, 0, Rect{bph.Right() + 4, bph.y + 12, 34, 20});
    auto* percent_unit = new QLabel(QStringLiteral("%"));
    percent_unit->setFont(platform::Bold(percent_unit->font(), 13));
    Place(percent_unit, 0, Rect{percent.Right() + 4, percent.y + 12, 20, 20});
    auto* note = new QLabel;
    note->setFont(platform::Bold(note->font(), 11));
    Place(note, g.note, ControlRect(g.note));
  }
  const std::pair<int, const char*> buttons[] = {{id::kMaxIncrease, "INCREASE"},
                                                 {id::kMaxDecrease, "DECREASE"},
                                                 {id::kMinIncrease, "INCREASE"},
                                                 {id::kMinDecrease, "DECREASE"},
                                                 {id::kHelp, "HELP"},
                                                 {id::kCancel, "CANCEL"},
                                                 {id::kAccept, "ACCEPT"}};
  for (auto [control_id, text] : buttons) {
    auto* button = platform::TouchButton(QString::fromLatin1(text), QString::number(control_id));
    button->setFont(platform::Bold(button->font(), 14));
    Place(button, control_id, ControlRect(control_id));
    connect(button, &QPushButton::clicked, this, [this, id = control_id] { OnControl(id); });
  }
  Refresh();
}

void UnloadParamDialog::OnControl(int control_id) {
  if (outcome_ != UnloadParameters::Outcome::kKeepOpen) return;  // already closing
  UnloadParameters::Outcome outcome = UnloadParameters::Outcome::kKeepOpen;
  switch (control_id) {
    case id::kMaxIncrease:
      rates_.IncreaseMax();
      break;
    case id::kMaxDecrease:
      rates_.DecreaseMax(prompter_);
      break;
    case id::kMinIncrease:
      rates_.IncreaseMin(prompter_);
      break;
    case id::kMinDecrease:
      rates_.DecreaseMin();
      break;
    case id::kHelp:
      rates_.Help(prompter_);
      break;
    case id::kAccept:
      outcome = rates_.Accept(prompter_);
      break;
    case id::kCancel:
      outcome = rates_.Cancel();
      break;
    default:
      return;
  }
  Refresh();
  if (outcome == UnloadParameters::Outcome::kKeepOpen) return;
  outcome_ = outcome;
  if (outcome == UnloadParameters::Outcome::kAccepted) {
    accept();
  } else {
    reject();
  }
}

void UnloadParamDialog::Refresh() {
  ControlAs<QLabel>(id::kMaxBph)->setText(QString::fromStdString(rates_.MaxBph()));
  ControlAs<QLabel>(id::kMaxPercent)->setText(QString::fromStdString(rates_.MaxText()));
  ControlAs<QLabel>(id::kMinBph)->setText(QString::fromStdString(rates_.MinBph()));
  ControlAs<QLabel>(id::kMinPercent)->setText(QString::fromStdString(rates_.MinText()));
  const QString note = QString::fromStdString(rates_.Note());
  ControlAs<QLabel>(id::kMaxNote)->setText(note);
  ControlAs<QLabel>(id::kMinNote)->setText(note);
}

void UnloadParamDialog::showEvent(QShowEvent* event) {
  platform::Dialog::showEvent(event);
  platform::PlaceAboveCentre(*this, kAboveCentre);
}

UnloadParameters::Outcome RunUnloadParamDialog(QWidget* parent, shell::ViewContext& context,
                                               UnloadRateWarning& warning) {
  UnloadParameters rates(context.shared, warning);
  rates.Open();
  UnloadParamDialog dialog(parent, rates, context.prompter);
  dialog.exec();
  const UnloadParameters::Outcome outcome = dialog.Outcome();
  return outcome == UnloadParameters::Outcome::kKeepOpen ? UnloadParameters::Outcome::kCancelled
                                                         : outcome;
}

}  // namespace orvandry::setup
