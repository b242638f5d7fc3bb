#include "setup/continuous_flow_dialog.h"

#include <QFont>
#include <QGroupBox>

#include "platform/dialog_kit.h"
#include "setup/bracket_dialog.h"
#include "setup/drying_mode_dialog.h"
#include "setup/temperature_entry_dialog.h"
#include "shell/view_context.h"

namespace orvandry::setup {

namespace {

namespace id = continuous_flow_id;
using platform::Rect;

// Two columns of three groups; each group has a row of two buttons and a row of indicators.
constexpr int kLeft = 10;
constexpr int kRight = 305;
constexpr int kGroupW = 285;
constexpr int kGroupY[3] = {6, 124, 242};
constexpr int kGroupH = 110;
constexpr int kButtonW = 130;
constexpr int kButtonH = 44;

Rect ButtonAt(int column_x, int group, int slot) {
  return Rect{column_x + 8 + slot * (kButtonW + 10), kGroupY[group] + 22, kButtonW, kButtonH};
}
Rect IndicatorAt(int column_x, int group, int slot, int line = 0) {
  return Rect{column_x + 14 + slot * (kButtonW + 15), kGroupY[group] + 72 + line * 0, kButtonW, 24};
}

// Group boxes carry ids of their own where the template gives them one.
struct Group {
  int id;
  int column_x;
  int row;
  const char* title;
};
constexpr Group kGroups[] = {
    {1400, kLeft, 0, "Continuous Flow Control Schemes"},
    {id::kTempOptionsGroup, kLeft, 1, "Temp Based Options"},
    {id::kMoistureOptionsGroup, kLeft, 2, "Moisture Based Options"},
    {1401, kRight, 0, "Safety Parameters"},
    {id::kFiveSpeedGroup, kRight, 1, "5 Speed Setup"},
    {id::kUpperSensorGroup, kRight, 2, "Upper Moisture Sensor"},
};

}  // namespace

Rect ContinuousFlowDialog::ControlRect(int control_id) {
  for (const Group& g : kGroups)
    if (g.id == control_id) return Rect{g.column_x, kGroupY[g.row], kGroupW, kGroupH};
  switch (control_id) {
    case id::kTemperature:
      return ButtonAt(kLeft, 0, 0);
    case id::kMoisture:
      return ButtonAt(kLeft, 0, 1);
    case id::kTemperatureIndicator:
      return IndicatorAt(kLeft, 0, 0);
    case id::kMoistureIndicator:
      return IndicatorAt(kLeft, 0, 1);
    case id::kTempTwoSpeed:
      return ButtonAt(kLeft, 1, 0);
    case id::kTempFiveSpeed:
      return ButtonAt(kLeft, 1, 1);
    case id::kTempTwoSpeedIndicator:
      return IndicatorAt(kLeft, 1, 0);
    case id::kTempFiveSpeedIndicator:
      return IndicatorAt(kLeft, 1, 1);
    case id::kVariable:
      return ButtonAt(kLeft, 2, 0);
    case id::kMoistureFiveSpeed:
      return ButtonAt(kLeft, 2, 1);
    case id::kVariableIndicator:
      return IndicatorAt(kLeft, 2, 0);
    case id::kMoistureFiveSpeedIndicator:
      return IndicatorAt(kLeft, 2, 1);
    case id::kSafetyToggle:
      return ButtonAt(kRight, 0, 0);
    case id::kMaxGrainTemp:
      return ButtonAt(kRight, 0, 1);
    case id::kMaxGrainTempBox:
      return Rect{kRight + 8 + kButtonW + 10, kGroupY[0] + 70, kButtonW, 30};
    case id::kAutoCentering:
      return ButtonAt(kRight, 1, 0);
    case id::kAutoCenteringIndicator:
      return IndicatorAt(kRight, 1, 0);
    case id::kFiveSpeedSetup:
      return ButtonAt(kRight, 1, 1);
    case id::kUpperSensorSelect:
      return ButtonAt(kRight, 2, 0);
    case id::kUpperSensorEnabled:
      return Rect{kRight + 12 + kButtonW + 10, kGroupY[2] + 24, kButtonW, 24};
    case id::kUpperSensorDisabled:
      return Rect{kRight + 12 + kButtonW + 10, kGroupY[2] + 50, kButtonW, 24};
    case id::kHelp:
      return Rect{kLeft, 364, 120, 50};
    case id::kCancel:
      return Rect{340, 364, 120, 50};
    case id::kAccept:
      return Rect{470, 364, 120, 50};
    default:
      return Rect{};
  }
}

ContinuousFlowDialog::ContinuousFlowDialog(QWidget* parent, shell::ViewContext& context)
    : platform::Dialog(parent, id::kTemplate, "CONTINUOUS FLOW SETUP - 08", kClientSize),
      context_(context),
      flow_(context.shared) {
  for (const Group& g : kGroups) {
    auto* box = new QGroupBox(QString::fromUtf8(g.title));
    QFont font = box->font();
    font.setPixelSize(12);
    font.setBold(true);
    box->setFont(font);
    Place(box, g.id, ControlRect(g.id));
  }
  const auto add = [this](int control_id, const char* text) {
    QPushButton* button = Place(MakeModeButton(text, 12), control_id, ControlRect(control_id));
    connect(button, &QPushButton::clicked, this, [this, control_id] { OnControl(control_id); });
  };
  add(id::kTemperature, "TEMPERATURE");
  add(id::kMoisture, "MOISTURE");
  add(id::kTempTwoSpeed, "2 SPEED");
  add(id::kTempFiveSpeed, "5 SPEED");
  add(id::kVariable, "VARIABLE");
  add(id::kMoistureFiveSpeed, "5 SPEED");
  add(id::kSafetyToggle, "DISABLE");
  add(id::kMaxGrainTemp, "MAX GRAIN TEMP");
  add(id::kAutoCentering, "AUTO CENTERING");
  add(id::kFiveSpeedSetup, "5 SPEED SETUP");
  add(id::kUpperSensorSelect, "SELECT");
  add(id::kHelp, "HELP");
  add(id::kCancel, "CANCEL");
  add(id::kAccept, "ACCEPT");
  const auto indicator = [this](int control_id, const char* text) {
    Place(MakeIndicator(text), control_id, ControlRect(control_id));
  };
  indicator(id::kTemperatureIndicator, "TEMPERATURE");
  indicator(id::kMoistureIndicator, "MOISTURE");
  indicator(id::kTempTwoSpeedIndicator, "2 SPEED");
  indicator(id::kTempFiveSpeedIndicator, "5 SPEED");
  indicator(id::kVariableIndicator, "VARIABLE");
  indicator(id::kMoistureFiveSpeedIndicator, "5 SPEED");
  indicator(id::kAutoCenteringIndicator, "ENABLED");
  indicator(id::kUpperSensorEnabled, "ENABLED");
  indicator(id::kUpperSensorDisabled, "DISABLED");
  Refresh();
}

void ContinuousFlowDialog::Refresh() {
  const bool temperature = flow_.TemperatureScheme();
  const bool five = flow_.FiveSpeedGroupEnabled();
  Indicator(id::kTemperatureIndicator)->setChecked(temperature);
  Indicator(id::kMoistureIndicator)->setChecked(!temperature);
  Indicator(id::kTempTwoSpeedIndicator)->setChecked(temperature && !five);
  Indicator(id::kTempFiveSpeedIndicator)->setChecked(temperature && five);
  Indicator(id::kVariableIndicator)->setChecked(flow_.Variable());
  Indicator(id::kMoistureFiveSpeedIndicator)->setChecked(!temperature && five);
  // Only the buttons are disabled: the group titles and the indicators stay readable.
  for (int c : {id::kTempTwoSpeed, id::kTempFiveSpeed}) Control(c)->setEnabled(temperature);
  for (int c : {id::kVariable, id::kMoistureFiveSpeed}) Control(c)->setEnabled(!temperature);
  for (int c : {id::kAutoCentering, id::kFiveSpeedSetup}) Control(c)->setEnabled(five);
  Indicator(id::kAutoCenteringIndicator)->setChecked(flow_.AutoCentering());
  Indicator(id::kUpperSensorEnabled)->setChecked(flow_.UpperSensorEnabled());
  Indicator(id::kUpperSensorDisabled)->setChecked(!flow_.UpperSensorEnabled());
  const bool safety = flow_.SafetyEnabled();
  Button(id::kSafetyToggle)->setText(safety ? QStringLiteral("DISABLE") : QStringLiteral("ENABLE"));
  Button(id::kMaxGrainTemp)->setEnabled(safety);
  update();
}

void ContinuousFlowDialog::OnControl(int control_id) {
  const ContinuousFlow::Outcome outcome = flow_.Press(control_id, context_.prompter);
  switch (outcome) {
    case ContinuousFlow::Outcome::kKeepOpen:
      break;
    case ContinuousFlow::Outcome::kOpenMaxGrainTemp: {
      TemperatureEntry entry = TemperatureEntry::Open(
          context_.shared, link::Rec::kMoistureControlValue, kMaxGrainTempLimits);
      RunTemperatureEntryDialog(this, entry, context_.shared, context_.prompter);
      flow_.ReloadMaxGrainTemp();
      break;
    }
    case ContinuousFlow::Outcome::kOpenFiveSpeedSetup:
      RunBracketDialog(this, context_, flow_.Mode());
      break;
    case ContinuousFlow::Outcome::kCancelled:
      reject();
      return;
    case ContinuousFlow::Outcome::kAccepted: {
      accept();
      // The drying mode dialog this setup was reached from is finished as well.
      auto* under = qobject_cast<platform::Dialog*>(parentWidget());
      if (under != nullptr && under->TemplateNumber() == drying_mode_id::kTemplate)
        under->done(QDialog::Accepted);
      return;
    }
  }
  Refresh();
}

void ContinuousFlowDialog::Paint(platform::Canvas& canvas) {
  // Box 1330: the limit, greyed while the limit is off.
  const Rect box = ControlRect(id::kMaxGrainTempBox);
  const bool safety = flow_.SafetyEnabled();
  canvas.FillRect(box, safety ? platform::Rgb(255, 255, 255) : platform::Rgb(224, 224, 224));
  canvas.RectOutline(box, platform::Rgb(96, 96, 96), 1);
  canvas.SetFont(platform::Font{16, 700});
  canvas.SetTextColour(safety ? platform::Rgb(0, 0, 0) : platform::Rgb(128, 128, 128));
  canvas.SetBackgroundMode(platform::BackgroundMode::kTransparent);
  canvas.Text(box, flow_.MaxGrainTempText(),
              platform::kAlignCentre | platform::kAlignVCentre | platform::kSingleLine);
  // What the toggle's caption does not say: whether the limit is on now.
  canvas.SetFont(platform::Font{12, 700});
  canvas.SetTextColour(platform::Rgb(0, 0, 0));
  const Rect toggle = ControlRect(id::kSafetyToggle);
  canvas.Text(Rect{toggle.x, box.y, toggle.w, box.h}, safety ? "Limit is on" : "Limit is off",
              platform::kAlignCentre | platform::kAlignVCentre | platform::kSingleLine);
}

void ContinuousFlowDialog::showEvent(QShowEvent* event) {
  platform::Dialog::showEvent(event);
  platform::PlaceAboveCentre(*this, kAboveCentre);
}

void RunContinuousFlowDialog(QWidget* parent, shell::ViewContext& context) {
  ContinuousFlowDialog dialog(parent, context);
  dialog.exec();
}

}  // namespace orvandry::setup
