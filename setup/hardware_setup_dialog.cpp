#include "setup/hardware_setup_dialog.h"

#include <QColor>
#include <QFont>
#include <QPalette>

#include "platform/dialog_kit.h"
#include "shell/subsystem.h"
#include "shell/view_context.h"

namespace orvandry::setup {

namespace {

namespace id = hardware_id;
using platform::Rect;

constexpr int kRowHeight = 20;
constexpr int kIndicatorHeight = 18;
constexpr int kSelectWidth = 80;
constexpr int kSelectHeight = 44;

template <std::size_t N>
int IndexOf(const std::array<int, N>& ids, int control_id) {
  for (std::size_t i = 0; i < N; ++i)
    if (ids[i] == control_id) return static_cast<int>(i);
  return -1;
}

// The length layout: three columns. Modules, load system and fan/heaters at the left; the 15
// lengths (three columns of five) and fuel in the middle; meter roll, sampler and ACCEPT/EXIT at
// the right.
Rect LengthLayout(int control_id) {
  if (int i = IndexOf(id::kModules, control_id); i >= 0)
    return {16, 24 + kRowHeight * i, 92, kIndicatorHeight};
  if (int i = IndexOf(id::kLoad, control_id); i >= 0)
    return {16, 112 + kRowHeight * i, 92, kIndicatorHeight};
  if (int i = IndexOf(id::kFans, control_id); i >= 0)
    return {16, 200 + kRowHeight * i, 92, kIndicatorHeight};
  if (int i = IndexOf(id::kPositions, control_id); i >= 0)
    return {216 + 62 * (i / 5), 24 + kRowHeight * (i % 5), 60, kIndicatorHeight};
  if (int i = IndexOf(id::kFuel, control_id); i >= 0)
    return {216, 224 + kRowHeight * i, 104, kIndicatorHeight};
  switch (control_id) {
    case id::kModulesBox:
      return {8, 4, 192, 84};
    case id::kModulesSelect:
      return {112, 32, kSelectWidth, kSelectHeight};
    case id::kLoadBox:
      return {8, 92, 192, 84};
    case id::kLoadSelect:
      return {112, 120, kSelectWidth, kSelectHeight};
    case id::kFansBox:
      return {8, 180, 192, 132};
    case id::kFansSelect:
      return {112, 228, kSelectWidth, kSelectHeight};
    case id::kLengthBox:
      return {208, 4, 196, 196};
    case id::kLengthSelect:
      return {256, 140, 100, kSelectHeight};
    case id::kFuelBox:
      return {208, 204, 196, 108};
    case id::kFuelSelect:
      return {324, 236, 74, kSelectHeight};
    case id::kMeterRollBox:
      return {412, 4, 180, 64};
    case id::kFourInch:
      return {420, 24, 100, kIndicatorHeight};
    case id::kSevenInch:
      return {420, 44, 100, kIndicatorHeight};
    case id::kSamplerBox:
      return {412, 72, 180, 108};
    case id::kCycledMode:
      return {420, 92, 166, kIndicatorHeight};
    case id::kSamplerSelect:
      return {462, 124, kSelectWidth, kSelectHeight};
    case id::kAccept:
      return {412, 232, 180, 80};
    default:
      return {};
  }
}

// The model layout: the models in two columns at the left; fans (One or Three), fuel, sampler and
// ACCEPT/EXIT at the right. Modules, load system, meter roll and the fan counts the family does
// not have are hidden.
Rect ModelLayout(int control_id) {
  if (IndexOf(id::kModules, control_id) >= 0 || IndexOf(id::kLoad, control_id) >= 0) return {};
  if (control_id == id::kFans[0]) return {304, 24, 92, kIndicatorHeight};
  if (control_id == id::kFans[2]) return {304, 44, 92, kIndicatorHeight};
  if (IndexOf(id::kFans, control_id) >= 0) return {};
  if (int i = IndexOf(id::kPositions, control_id); i >= 0)
    return {16 + 136 * (i / 8), 24 + 22 * (i % 8), 132, kIndicatorHeight};
  if (int i = IndexOf(id::kFuel, control_id); i >= 0)
    return {304, 100 + kRowHeight * i, 110, kIndicatorHeight};
  switch (control_id) {
    case id::kLengthBox:
      return {8, 4, 280, 308};
    case id::kLengthSelect:
      return {88, 258, 120, kSelectHeight};
    case id::kFansBox:
      return {296, 4, 296, 72};
    case id::kFansSelect:
      return {504, 22, kSelectWidth, kSelectHeight};
    case id::kFuelBox:
      return {296, 80, 296, 104};
    case id::kFuelSelect:
      return {504, 112, kSelectWidth, kSelectHeight};
    case id::kSamplerBox:
      return {296, 188, 296, 66};
    case id::kCycledMode:
      return {304, 212, 180, kIndicatorHeight};
    case id::kSamplerSelect:
      return {504, 202, kSelectWidth, kSelectHeight};
    case id::kAccept:
      return {296, 262, 296, 50};
    default:
      return {};
  }
}

}  // namespace

Rect HardwareSetupDialog::ControlRect(int control_id, HardwareLayout layout) {
  return layout == HardwareLayout::kModel ? ModelLayout(control_id) : LengthLayout(control_id);
}

HardwareSetupDialog::HardwareSetupDialog(QWidget* parent, HardwareSetup& setup,
                                         platform::Prompter& prompter,
                                         std::function<void()> pressed)
    : platform::Dialog(parent, id::kTemplate, kHardwareCaption, kClientSize),
      setup_(setup),
      prompter_(prompter),
      pressed_(std::move(pressed)) {
  // The frames first, so the controls lie on top of them.
  for (int box : {id::kModulesBox, id::kLoadBox, id::kLengthBox, id::kFansBox, id::kFuelBox,
                  id::kMeterRollBox, id::kSamplerBox})
    AddBox(box);
  for (int indicator : id::kModules) AddIndicator(indicator);
  for (int indicator : id::kLoad) AddIndicator(indicator);
  for (int indicator : id::kPositions) AddIndicator(indicator);
  for (int indicator : id::kFans) AddIndicator(indicator);
  for (int indicator : id::kFuel) AddIndicator(indicator);
  for (int indicator : {id::kFourInch, id::kSevenInch, id::kCycledMode}) AddIndicator(indicator);
  for (int select : {id::kModulesSelect, id::kLoadSelect, id::kLengthSelect, id::kFansSelect,
                     id::kFuelSelect, id::kSamplerSelect})
    AddButton(select, "SELECT", 15);
  AddButton(id::kAccept, "ACCEPT/EXIT", 17);

  // Fixed texts; the position texts and the two relabelled captions follow the layout.
  Box(id::kModulesBox)->setTitle(QStringLiteral("Number Modules"));
  Box(id::kLoadBox)->setTitle(QStringLiteral("Load System"));
  Box(id::kFuelBox)->setTitle(QStringLiteral("Fuel"));
  Box(id::kMeterRollBox)->setTitle(QStringLiteral("Meter Roll Size"));
  Box(id::kSamplerBox)->setTitle(QStringLiteral("Moisture Sampler"));
  Box(id::kLengthBox)->setTitle(QString::fromLatin1(setup_.PositionCaption()));
  Box(id::kFansBox)->setTitle(QString::fromLatin1(setup_.FansCaption()));
  const auto name = [this](int control_id, const char* text) {
    Indicator(control_id)->setText(QString::fromLatin1(text));
  };
  for (std::size_t i = 0; i < id::kModules.size(); ++i) name(id::kModules[i], kModuleNames[i]);
  for (std::size_t i = 0; i < id::kLoad.size(); ++i) name(id::kLoad[i], kLoadNames[i]);
  for (std::size_t i = 0; i < id::kFans.size(); ++i) name(id::kFans[i], kFanNames[i]);
  for (std::size_t i = 0; i < id::kFuel.size(); ++i) name(id::kFuel[i], kFuelNames[i]);
  for (std::size_t i = 0; i < id::kPositions.size(); ++i)
    name(id::kPositions[i], setup_.PositionName(static_cast<int>(i)));
  name(id::kFourInch, "4 inch");
  name(id::kSevenInch, "7 inch");
  name(id::kCycledMode, "Enable Cycled Mode");

  Refresh();
}

void HardwareSetupDialog::PlaceInLayout(QWidget* control, int control_id) {
  const Rect r = ControlRect(control_id, setup_.Layout());
  Place(control, control_id, r);
  // What the layout leaves out stays hidden.
  if (r.w == 0) control->hide();
}

void HardwareSetupDialog::AddBox(int control_id) {
  auto* box = new QGroupBox;
  box->setFont(platform::Bold(box->font(), 12));
  PlaceInLayout(box, control_id);
}

void HardwareSetupDialog::AddIndicator(int control_id) {
  auto* indicator = new QRadioButton;
  // They show the choice; the SELECT buttons change it.
  indicator->setAutoExclusive(false);
  indicator->setAttribute(Qt::WA_TransparentForMouseEvents);
  indicator->setFocusPolicy(Qt::NoFocus);
  indicator->setFont(platform::Bold(indicator->font(), 12));
  // A choice the module count rules out stays readable, in grey.
  QPalette palette = indicator->palette();
  for (QPalette::ColorRole role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
    palette.setColor(QPalette::Disabled, role, QColor(112, 112, 112));
  indicator->setPalette(palette);
  PlaceInLayout(indicator, control_id);
}

void HardwareSetupDialog::AddButton(int control_id, const char* text, int pixel_size) {
  auto* button = platform::TouchButton(QString::fromLatin1(text), QString::number(control_id));
  button->setFont(platform::Bold(button->font(), pixel_size));
  PlaceInLayout(button, control_id);
  connect(button, &QPushButton::clicked, this, [this, control_id] { OnControl(control_id); });
}

void HardwareSetupDialog::OnControl(int control_id) {
  if (outcome_ != HardwareSetup::Outcome::kKeepOpen) return;  // already closing
  const HardwareSetup::Outcome outcome = setup_.Press(control_id, prompter_);
  if (pressed_) pressed_();
  Refresh();
  if (outcome == HardwareSetup::Outcome::kKeepOpen) return;
  outcome_ = outcome;
  accept();
}

void HardwareSetupDialog::Refresh() {
  const auto tick = [this](const auto& ids, int chosen) {
    for (std::size_t i = 0; i < ids.size(); ++i)
      Indicator(ids[i])->setChecked(static_cast<int>(i) == chosen);
  };
  tick(id::kModules, setup_.Modules());
  tick(id::kLoad, setup_.LoadSystem());
  tick(id::kPositions, setup_.Position());
  tick(id::kFans, setup_.FanCode());
  tick(id::kFuel, setup_.Fuel());
  for (std::size_t i = 0; i < id::kFans.size(); ++i)
    Indicator(id::kFans[i])->setEnabled(setup_.FanAllowed(static_cast<int>(i)));
  Indicator(id::kFourInch)->setChecked(setup_.FourInchRoll());
  Indicator(id::kSevenInch)->setChecked(!setup_.FourInchRoll());
  Indicator(id::kCycledMode)->setChecked(setup_.CycledSampler());
  update();
}

void RunHardwareSetupDialog(QWidget* parent, shell::ShellHost& host) {
  HardwareSetup setup(host.Context().shared);
  setup.Open();
  HardwareSetupDialog dialog(parent, setup, host.Context().prompter,
                             [&host] { host.RequestSetupRepaint(); });
  dialog.exec();
}

}  // namespace orvandry::setup
