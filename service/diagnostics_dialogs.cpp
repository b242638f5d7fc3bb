#include "service/diagnostics_dialogs.h"

#include <QShowEvent>

#include "link/status_intake.h"
#include "link/status_map.h"
#include "platform/canvas.h"
#include "platform/dialog_kit.h"
#include "platform/prompter.h"

namespace orvandry::service {

namespace {

namespace id = diagnostics_id;
using platform::Rect;

constexpr platform::Colour kFace = platform::Bgr(0xC0C0C0);
constexpr platform::Colour kGroupLine = platform::Rgb(96, 96, 96);
constexpr platform::Colour kInk = platform::Rgb(0, 0, 0);
constexpr platform::Colour kValueInk = platform::Rgb(0, 0, 100);

// A group frame with its title over the top edge.
void PaintGroup(platform::Canvas& canvas, Rect rect, const char* title) {
  canvas.RectOutline(Rect{rect.x, rect.y + 7, rect.w, rect.h - 7}, kGroupLine, 1);
  canvas.SetFont({13, 700});
  canvas.SetTextColour(kInk);
  canvas.SetBackgroundMode(platform::BackgroundMode::kOpaque);
  canvas.SetBackgroundColour(kFace);
  const platform::Size size = canvas.MeasureText(title);
  canvas.Text(Rect{rect.x + 8, rect.y, size.w + 6, 16}, title, platform::kAlignCentre);
  canvas.SetBackgroundMode(platform::BackgroundMode::kTransparent);
}

// The light outputs: four columns of four.
constexpr int kLightGroupW = 148;
constexpr int kLightGroupH = 74;
Rect LightGroup(std::size_t index) {
  const int column = static_cast<int>(index % 4);
  const int row = static_cast<int>(index / 4);
  return Rect{8 + column * 153, 6 + row * 80, kLightGroupW, kLightGroupH};
}

// The switch groups: the four connectors across the top, the small blocks under them.
constexpr int kSwitchRowH = 21;
Rect SwitchGroupRect(std::size_t index, std::size_t inputs) {
  const int rows = static_cast<int>(inputs);
  if (index < 4)
    return Rect{8 + static_cast<int>(index) * 153, 6, kLightGroupW, 26 + 9 * kSwitchRowH};
  if (index < 6)
    return Rect{8 + static_cast<int>(index - 4) * 153, 230, kLightGroupW, 26 + rows * kSwitchRowH};
  return Rect{314, 230, 298, 26 + 4 * kSwitchRowH};
}

Rect SwitchBoxRect(std::size_t group, std::size_t input, std::size_t inputs) {
  const Rect g = SwitchGroupRect(group, inputs);
  if (group == 6) {  // two columns of four
    const int column = static_cast<int>(input / 4);
    const int row = static_cast<int>(input % 4);
    return Rect{g.x + 8 + column * 145, g.y + 22 + row * kSwitchRowH, 137, 20};
  }
  return Rect{g.x + 6, g.y + 22 + static_cast<int>(input) * kSwitchRowH, g.w - 8, 20};
}

}  // namespace

// --- System diagnostics ---------------------------------------------------------------------

Rect DiagnosticsDialog::ControlRect(int control) {
  constexpr int kLeft = 15;
  constexpr int kRight = 290;
  constexpr int kW = 255;
  switch (control) {
    case id::kLightOutputs:
      return {kLeft, 12, kW, 50};
    case id::kSwitchWiring:
      return {kLeft, 72, kW, 50};
    case id::kAirswitch:
      return {kLeft, 132, kW, 50};
    case id::kAirswitchDisabled:
      return {kLeft + 6, 186, kW - 6, 26};
    case id::kCalibrate:
      return {kLeft, 222, kW, 50};
    case id::kMeterRolls:
      return {kRight, 12, kW, 50};
    case id::kSpeedViaScreen:
      return {kRight, 72, kW, 50};
    case id::kMeteringSensor:
      return {kRight, 132, kW, 60};
    case id::kHelp:
      return {kRight, 222, 120, 50};
    case id::kExit:
      return {kRight + 135, 222, 120, 50};
    default:
      return {};
  }
}

DiagnosticsDialog::DiagnosticsDialog(QWidget* parent, Diagnostics& diagnostics,
                                     platform::Prompter& prompter,
                                     std::function<void(int template_id)> open)
    : platform::Dialog(parent, id::kTemplate, "System Diagnostics - 14", kClientSize, kFace),
      diagnostics_(diagnostics),
      prompter_(prompter),
      open_(std::move(open)) {
  const std::pair<int, const char*> buttons[] = {
      {id::kLightOutputs, "Check Light Outputs"},
      {id::kSwitchWiring, "Check Switch Wiring"},
      {id::kAirswitch, "DISABLE Testing"},
      {id::kCalibrate, "Calibrate Moisture Sensors"},
      {id::kMeterRolls, "Setup Metering Rolls"},
      {id::kSpeedViaScreen, "Set MR Speed Via Screen"},
      {id::kMeteringSensor, "Disable metering rolls\nsensor failure shutdown"},
      {id::kHelp, "Help"},
      {id::kExit, "Exit"},
  };
  for (const auto& [control, text] : buttons) {
    QPushButton* button =
        Place(platform::TouchButton(QString::fromLatin1(text), 15), control, ControlRect(control));
    connect(button, &QPushButton::clicked, this, [this, c = control] { OnControl(c); });
  }
  Place(platform::Indicator(QStringLiteral("Air Switch Testing Disabled"), 14),
        id::kAirswitchDisabled, ControlRect(id::kAirswitchDisabled));
  Refresh();
}

void DiagnosticsDialog::OnControl(int control) {
  switch (diagnostics_.Press(control, prompter_)) {
    case Diagnostics::Outcome::kOpenLightOutputs:
      open_(id::kLightOutputsTemplate);
      break;
    case Diagnostics::Outcome::kOpenSwitchTest:
      open_(id::kSwitchTestTemplate);
      break;
    case Diagnostics::Outcome::kOpenMeterOutput:
      open_(id::kMeterOutputTemplate);
      break;
    case Diagnostics::Outcome::kOpenCalibration:
      open_(id::kCalibrationTemplate);
      break;
    case Diagnostics::Outcome::kClose:
      accept();
      return;
    case Diagnostics::Outcome::kKeepOpen:
      break;
  }
  Refresh();
}

void DiagnosticsDialog::Follow() {
  diagnostics_.Follow();
  Refresh();
}

void DiagnosticsDialog::Refresh() {
  Button(id::kAirswitch)->setText(QString::fromLatin1(diagnostics_.AirswitchCaption()));
  ControlAs<QCheckBox>(id::kAirswitchDisabled)->setChecked(diagnostics_.AirswitchIndicator());
  update();
}

void DiagnosticsDialog::Paint(platform::Canvas& canvas) {
  // Where the two metering settings stand, so the technician need not press to find out.
  canvas.FillRect(Rect{15, 284, 530, 1}, kGroupLine);
  canvas.SetFont({14, 700});
  canvas.SetTextColour(kValueInk);
  canvas.SetBackgroundMode(platform::BackgroundMode::kTransparent);
  canvas.Text(Rect{15, 292, 265, 26},
              diagnostics_.ScreenSetsSpeed() ? "MR speed set by: SCREEN" : "MR speed set by: KNOB",
              platform::kAlignLeft | platform::kAlignVCentre | platform::kSingleLine);
  canvas.Text(Rect{290, 292, 255, 26},
              diagnostics_.SensorShutdownDisabled() ? "Sensor shutdown: DISABLED"
                                                    : "Sensor shutdown: ENABLED",
              platform::kAlignLeft | platform::kAlignVCentre | platform::kSingleLine);
}

// --- Light outputs --------------------------------------------------------------------------

LightOutputsDialog::LightOutputsDialog(QWidget* parent, const link::LinkShared& shared,
                                       platform::Prompter& prompter)
    : platform::Dialog(parent, id::kLightOutputsTemplate, "Display I/O Switch Light Outputs - 28",
                       kClientSize, kFace),
      shared_(shared),
      prompter_(prompter) {
  for (std::size_t i = 0; i < kLightOutputs.size(); ++i) {
    const LightOutput& output = kLightOutputs[i];
    const Rect g = LightGroup(i);
    Place(platform::Indicator(QStringLiteral("ACTIVATED"), 13), output.activated_id,
          Rect{g.x + 12, g.y + 22, g.w - 20, 22});
    Place(platform::Indicator(QStringLiteral("SHORTED"), 13), output.shorted_id,
          Rect{g.x + 12, g.y + 46, g.w - 20, 22});
  }
  QPushButton* help = Place(platform::TouchButton(QStringLiteral("HELP"), 16),
                            light_outputs_id::kHelp, Rect{8, 330, 148, 50});
  connect(help, &QPushButton::clicked, this, [this] {
    prompter_.Ask(kLightOutputsHelpText, kLightOutputsHelpCaption, platform::Buttons::kOkCancel,
                  platform::Icon::kInformation);
  });
  QPushButton* exit = Place(platform::TouchButton(QStringLiteral("EXIT"), 16),
                            light_outputs_id::kExit, Rect{464, 330, 148, 50});
  connect(exit, &QPushButton::clicked, this, &QDialog::accept);
  Refresh();
}

void LightOutputsDialog::Refresh() {
  for (const LightOutput& output : kLightOutputs) {
    Box(output.activated_id)
        ->setChecked(BitSet(shared_, output.activated_byte, output.activated_bit));
    QCheckBox* shorted = Box(output.shorted_id);
    shorted->setChecked(BitSet(shared_, output.shorted_byte, output.shorted_bit));
    // A short is a wiring fault: it stands out in red.
    shorted->setStyleSheet(shorted->isChecked() ? QStringLiteral("color: #B00000") : QString());
  }
  update();
}

void LightOutputsDialog::Paint(platform::Canvas& canvas) {
  for (std::size_t i = 0; i < kLightOutputs.size(); ++i)
    PaintGroup(canvas, LightGroup(i), kLightOutputs[i].name);
}

void LightOutputsDialog::showEvent(QShowEvent* event) {
  platform::Dialog::showEvent(event);
  platform::ShiftOnPanel(*this, 20, 0);
}

// --- Switch test ----------------------------------------------------------------------------

SwitchTestDialog::SwitchTestDialog(QWidget* parent, const link::LinkShared& shared)
    : platform::Dialog(parent, id::kSwitchTestTemplate, "Display I/O Switch Test - 31", kClientSize,
                       kFace),
      shared_(shared) {
  const std::vector<SwitchGroup>& groups = SwitchGroups();
  for (std::size_t g = 0; g < groups.size(); ++g)
    for (std::size_t i = 0; i < groups[g].inputs.size(); ++i)
      Place(platform::Indicator(QString::fromLatin1(groups[g].inputs[i].name), 13, false),
            groups[g].inputs[i].id, SwitchBoxRect(g, i, groups[g].inputs.size()));
  QPushButton* exit = Place(platform::TouchButton(QStringLiteral("EXIT"), 16),
                            switch_test_id::kExit, Rect{8, 327, 301, 50});
  connect(exit, &QPushButton::clicked, this, &QDialog::accept);
  Refresh();
}

void SwitchTestDialog::Refresh() {
  for (const SwitchGroup& group : SwitchGroups())
    for (const SwitchInput& input : group.inputs)
      Box(input.id)->setChecked(BitSet(shared_, input.byte, input.bit));
  update();
}

void SwitchTestDialog::Paint(platform::Canvas& canvas) {
  const std::vector<SwitchGroup>& groups = SwitchGroups();
  for (std::size_t g = 0; g < groups.size(); ++g)
    PaintGroup(canvas, SwitchGroupRect(g, groups[g].inputs.size()), groups[g].name);
}

void SwitchTestDialog::showEvent(QShowEvent* event) {
  platform::Dialog::showEvent(event);
  platform::ShiftOnPanel(*this, 40, 0);
}

// --- Host -----------------------------------------------------------------------------------

void DiagnosticsHost::OpenDiagnostics(QWidget* parent, link::LinkShared& shared,
                                      platform::Prompter& prompter,
                                      std::function<void(int, QWidget*)> open_dialog) {
  if (diagnostics_ != nullptr) return;
  Diagnostics diagnostics(shared);
  diagnostics.Open();
  DiagnosticsDialog* self = nullptr;
  DiagnosticsDialog dialog(parent, diagnostics, prompter, [&self, open_dialog](int template_id) {
    open_dialog(template_id, self);
  });
  self = &dialog;
  diagnostics_ = &dialog;
  dialog.Follow();
  dialog.exec();
  diagnostics_ = nullptr;
}

void DiagnosticsHost::OpenLightOutputs(QWidget* parent, const link::LinkShared& shared,
                                       platform::Prompter& prompter) {
  if (lights_ != nullptr) return;
  LightOutputsDialog dialog(parent, shared, prompter);
  lights_ = &dialog;
  dialog.exec();
  lights_ = nullptr;
}

void DiagnosticsHost::OpenSwitchTest(QWidget* parent, const link::LinkShared& shared) {
  if (switches_ != nullptr) return;
  SwitchTestDialog dialog(parent, shared);
  switches_ = &dialog;
  dialog.exec();
  switches_ = nullptr;
}

void DiagnosticsHost::OnIntake(const link::IntakeResult& result) {
  using link::ViewId;
  // The diagnostics dialog also depends on bytes 3, 49, 118 and 148, which no repaint names:
  // follow every frame while it is open (a few byte reads).
  if (diagnostics_ != nullptr) diagnostics_->Follow();
  // The shorted bits (177-178) come in under the switch test's repaint.
  if (lights_ != nullptr &&
      (result.repaints.Has(ViewId::kLightOutputs) || result.repaints.Has(ViewId::kSwitchTest)))
    lights_->Refresh();
  if (switches_ != nullptr && result.repaints.Has(ViewId::kSwitchTest)) switches_->Refresh();
}

}  // namespace orvandry::service
