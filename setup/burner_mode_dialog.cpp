#include "setup/burner_mode_dialog.h"

#include <QFont>
#include <vector>

#include "platform/dialog_kit.h"
#include "shell/view_context.h"

namespace orvandry::setup {

namespace {

namespace id = burner_mode_id;
using platform::Rect;

constexpr int kGroupWidth = 288;
constexpr int kGroupHeight = 96;
constexpr int kRowPitch = 100;
constexpr int kBottomRow = 310;
constexpr int kBottomHeight = 52;

// Where fan/heater 1..6's group frame sits: #3, #2, #1 down the left column, #6, #5, #4 down the
// right.
Rect GroupRect(int fan_heater) {
  const int column = fan_heater <= 3 ? 0 : 1;
  const int row = column == 0 ? 3 - fan_heater : 6 - fan_heater;
  return Rect{8 + column * (kGroupWidth + 8), 4 + row * kRowPitch, kGroupWidth, kGroupHeight};
}

template <std::size_t N>
int IndexOf(const std::array<int, N>& ids, int control_id) {
  for (std::size_t i = 0; i < N; ++i)
    if (ids[i] == control_id) return static_cast<int>(i);
  return -1;
}

}  // namespace

Rect BurnerModeDialog::ControlRect(int control_id) {
  const std::array<const std::array<int, 6>*, 3> indicators = {&id::kHiLo, &id::kOnOff, &id::kAuto};
  for (std::size_t k = 0; k < indicators.size(); ++k) {
    if (const int i = IndexOf(*indicators[k], control_id); i >= 0) {
      const Rect g = GroupRect(i + 1);
      return Rect{g.x + 14, g.y + 20 + 24 * static_cast<int>(k), 130, 22};
    }
  }
  if (const int i = IndexOf(id::kSelect, control_id); i >= 0) {
    const Rect g = GroupRect(i + 1);
    return Rect{g.x + 160, g.y + 28, 116, 52};
  }
  if (const int i = IndexOf(id::kGroup, control_id); i >= 0) return GroupRect(i + 1);
  switch (control_id) {
    case id::kAllHiLo:
      return Rect{8, kBottomRow, 110, kBottomHeight};
    case id::kAllOnOff:
      return Rect{124, kBottomRow, 110, kBottomHeight};
    case id::kAllAuto:
      return Rect{240, kBottomRow, 110, kBottomHeight};
    case id::kCancel:
      return Rect{366, kBottomRow, 110, kBottomHeight};
    case id::kAccept:
      return Rect{482, kBottomRow, 110, kBottomHeight};
    default:
      return Rect{};
  }
}

BurnerModeDialog::BurnerModeDialog(QWidget* parent, BurnerMode& mode, platform::Prompter& prompter)
    : platform::Dialog(parent, id::kTemplate, kBurnerModeCaption, kClientSize),
      mode_(mode),
      prompter_(prompter) {
  for (int fan = 1; fan <= kFanHeaters; ++fan) {
    const int group = id::kGroup[static_cast<std::size_t>(fan - 1)];
    auto* box = new QGroupBox(QStringLiteral("Fan/Heater #%1").arg(fan));
    box->setFont(platform::Bold(box->font(), 13));
    Place(box, group, ControlRect(group));
  }
  const std::pair<const std::array<int, 6>*, const char*> indicators[] = {
      {&id::kHiLo, "HI / LO"}, {&id::kOnOff, "ON / OFF"}, {&id::kAuto, "AUTO"}};
  for (const auto& [ids, text] : indicators) {
    for (int control_id : *ids) {
      auto* radio = new QRadioButton(QString::fromLatin1(text));
      // They show the choice; SELECT and the ALL buttons change it.
      radio->setAutoExclusive(false);
      radio->setAttribute(Qt::WA_TransparentForMouseEvents);
      radio->setFocusPolicy(Qt::NoFocus);
      radio->setFont(platform::Bold(radio->font(), 13));
      Place(radio, control_id, ControlRect(control_id));
    }
  }
  std::vector<std::pair<int, const char*>> buttons;
  for (int select : id::kSelect) buttons.emplace_back(select, "SELECT");
  buttons.insert(buttons.end(), {{id::kAllHiLo, "ALL HI/LO"},
                                 {id::kAllOnOff, "ALL ON/OFF"},
                                 {id::kAllAuto, "ALL AUTO"},
                                 {id::kCancel, "CANCEL"},
                                 {id::kAccept, "ACCEPT"}});
  for (const auto& [control_id, text] : buttons) {
    auto* button = platform::TouchButton(QString::fromLatin1(text), QString::number(control_id));
    button->setFont(platform::Bold(button->font(), 14));
    Place(button, control_id, ControlRect(control_id));
    connect(button, &QPushButton::clicked, this, [this, id = control_id] { OnControl(id); });
  }
  Refresh();
}

void BurnerModeDialog::OnControl(int control_id) {
  if (outcome_ != BurnerMode::Outcome::kKeepOpen) return;  // already closing
  const BurnerMode::Outcome outcome = mode_.Press(control_id, prompter_);
  Refresh();
  if (outcome == BurnerMode::Outcome::kKeepOpen) return;
  outcome_ = outcome;
  if (outcome == BurnerMode::Outcome::kAccepted) {
    accept();
  } else {
    reject();
  }
}

void BurnerModeDialog::Refresh() {
  for (int fan = 1; fan <= kFanHeaters; ++fan) {
    const auto i = static_cast<std::size_t>(fan - 1);
    const BurnerChoice choice = mode_.Choice(fan);
    Indicator(id::kHiLo[i])->setChecked(choice == BurnerChoice::kHiLo);
    Indicator(id::kOnOff[i])->setChecked(choice == BurnerChoice::kOnOff);
    Indicator(id::kAuto[i])->setChecked(choice == BurnerChoice::kAuto);
  }
  update();
}

BurnerMode::Outcome RunBurnerModeDialog(QWidget* parent, shell::ViewContext& context) {
  BurnerMode mode(context.shared);
  mode.Open();
  BurnerModeDialog dialog(parent, mode, context.prompter);
  dialog.exec();
  // Closed some other way than its buttons: nothing was sent.
  return dialog.Outcome() == BurnerMode::Outcome::kKeepOpen ? BurnerMode::Outcome::kCancelled
                                                            : dialog.Outcome();
}

}  // namespace orvandry::setup
