#include "setup/burner_differential_dialog.h"

#include <QFont>
#include <utility>
#include <vector>

#include "platform/dialog_kit.h"
#include "shell/view_context.h"

namespace orvandry::setup {

namespace {

namespace id = burner_differential_id;
using platform::Rect;

constexpr int kBottomRow = 300;
constexpr int kButtonHeight = 48;

template <std::size_t N>
int IndexOf(const std::array<int, N>& ids, int control_id) {
  for (std::size_t i = 0; i < N; ++i)
    if (ids[i] == control_id) return static_cast<int>(i);
  return -1;
}

}  // namespace

Rect BurnerDifferentialDialog::ControlRect(int control_id) {
  if (const int i = IndexOf(id::kPlenum, control_id); i >= 0) {
    // Under the plenum's own line.
    const platform::Point line = DifferentialLineAt(i + 1);
    return Rect{line.x - 5, line.y + 24, 170, kButtonHeight};
  }
  if (const int i = IndexOf(id::kDegrees, control_id); i >= 0)
    return Rect{380, 12 + 56 * i, 170, kButtonHeight};
  switch (control_id) {
    case id::kHelp:
      return Rect{10, kBottomRow, 170, kButtonHeight};
    case id::kCancel:
      return Rect{192, kBottomRow, 170, kButtonHeight};
    case id::kAccept:
      return Rect{380, kBottomRow, 170, kButtonHeight};
    default:
      return Rect{};
  }
}

BurnerDifferentialDialog::BurnerDifferentialDialog(QWidget* parent,
                                                   BurnerDifferential& differential,
                                                   platform::Prompter& prompter)
    : platform::Dialog(parent, id::kTemplate, kBurnerDifferentialCaption, kClientSize),
      differential_(differential),
      prompter_(prompter) {
  std::vector<std::pair<int, QString>> buttons;
  for (int plenum = 1; plenum <= 6; ++plenum)
    buttons.emplace_back(id::kPlenum[static_cast<std::size_t>(plenum - 1)],
                         QStringLiteral("PLENUM #%1").arg(plenum));
  for (int degrees = 1; degrees <= 5; ++degrees)
    buttons.emplace_back(id::kDegrees[static_cast<std::size_t>(degrees - 1)],
                         QStringLiteral("+/- %1 DEGREES").arg(degrees));
  buttons.emplace_back(id::kHelp, QStringLiteral("HELP"));
  buttons.emplace_back(id::kCancel, QStringLiteral("CANCEL"));
  buttons.emplace_back(id::kAccept, QStringLiteral("ACCEPT / EXIT"));
  for (const auto& [control_id, text] : buttons) {
    auto* button = platform::TouchButton(text, QString::number(control_id));
    button->setFont(platform::Bold(button->font(), 14));
    Place(button, control_id, ControlRect(control_id));
    connect(button, &QPushButton::clicked, this, [this, id = control_id] { OnControl(id); });
  }
}

void BurnerDifferentialDialog::OnControl(int control_id) {
  if (outcome_ != BurnerDifferential::Outcome::kKeepOpen) return;  // already closing
  const BurnerDifferential::Outcome outcome = differential_.Press(control_id, prompter_);
  update();
  if (outcome == BurnerDifferential::Outcome::kKeepOpen) return;
  outcome_ = outcome;
  if (outcome == BurnerDifferential::Outcome::kAccepted) {
    accept();
  } else {
    reject();
  }
}

void BurnerDifferentialDialog::Paint(platform::Canvas& canvas) {
  differential_.Paint(canvas);
}

BurnerDifferential::Outcome RunBurnerDifferentialDialog(QWidget* parent,
                                                        shell::ViewContext& context) {
  BurnerDifferential differential(context.shared);
  differential.Open();
  BurnerDifferentialDialog dialog(parent, differential, context.prompter);
  dialog.exec();
  // Closed some other way than its buttons: nothing was sent.
  return dialog.Outcome() == BurnerDifferential::Outcome::kKeepOpen
             ? BurnerDifferential::Outcome::kCancelled
             : dialog.Outcome();
}

}  // namespace orvandry::setup
