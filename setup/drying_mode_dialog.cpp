#include "setup/drying_mode_dialog.h"

#include <QFont>
#include <algorithm>

#include "platform/dialog_kit.h"
#include "shell/subsystem.h"
#include "shell/view_context.h"

namespace orvandry::setup {

namespace {

namespace id = drying_mode_id;
using platform::Rect;

}  // namespace

QPushButton* MakeModeButton(const char* text, int pixel_size) {
  auto* button = platform::TouchButton(QString::fromUtf8(text), QString::fromUtf8(text));
  QFont font = button->font();
  font.setPixelSize(pixel_size);
  font.setBold(true);
  button->setFont(font);
  return button;
}

QCheckBox* MakeIndicator(const char* text) {
  auto* box = new QCheckBox(QString::fromUtf8(text));
  box->setObjectName(QString::fromUtf8(text));
  box->setAttribute(Qt::WA_TransparentForMouseEvents);
  box->setFocusPolicy(Qt::NoFocus);
  QFont font = box->font();
  font.setPixelSize(12);
  font.setBold(true);
  box->setFont(font);
  return box;
}

Rect DryingModeDialog::ControlRect(int control_id) {
  switch (control_id) {
    case id::kContinuousFlow:
      return Rect{20, 18, 200, 52};
    case id::kContinuousFlowIndicator:
      return Rect{240, 32, 100, 24};
    case id::kStagedBatch:
      return Rect{20, 84, 200, 52};
    case id::kStagedBatchIndicator:
      return Rect{240, 98, 100, 24};
    case id::kMcSetup:
      return Rect{20, 150, 105, 40};
    case id::kHelp:
      return Rect{20, 204, 100, 48};
    case id::kCancel:
      return Rect{130, 204, 100, 48};
    case id::kAccept:
      return Rect{240, 204, 100, 48};
    default:
      return Rect{};
  }
}

DryingModeDialog::DryingModeDialog(QWidget* parent, shell::ShellHost& host)
    : platform::Dialog(parent, id::kTemplate, "Drying Mode Selection - 07", kClientSize),
      host_(host),
      mode_(host.Context().shared) {
  const auto add = [this](int control_id, const char* text) {
    QPushButton* button = Place(MakeModeButton(text, 15), control_id, ControlRect(control_id));
    connect(button, &QPushButton::clicked, this, [this, control_id] { OnControl(control_id); });
  };
  add(id::kContinuousFlow, "CONTINUOUS FLOW");
  add(id::kStagedBatch, "STAGED BATCH");
  add(id::kHelp, "HELP");
  add(id::kCancel, "CANCEL");
  add(id::kAccept, "ACCEPT");
  Place(MakeIndicator(""), id::kContinuousFlowIndicator, ControlRect(id::kContinuousFlowIndicator));
  Place(MakeIndicator(""), id::kStagedBatchIndicator, ControlRect(id::kStagedBatchIndicator));
  const Rect mc = ControlRect(id::kMcSetup);
  auto* mc_setup = new platform::PictureButton(this, "M/C Setup", id::kMcSetup, mc, kMcSetupFace,
                                               kMcSetupPressedFace);
  Place(mc_setup, id::kMcSetup, mc);
  connect(mc_setup, &QAbstractButton::clicked, this, [this] { OnControl(id::kMcSetup); });
  Refresh();
}

void DryingModeDialog::Refresh() {
  const bool allowed = mode_.StagedBatchAllowed();
  Button(id::kStagedBatch)->setEnabled(allowed);
  Indicator(id::kStagedBatchIndicator)->setEnabled(allowed);
  Indicator(id::kContinuousFlowIndicator)->setChecked(!mode_.StagedBatchShown());
  Indicator(id::kStagedBatchIndicator)->setChecked(mode_.StagedBatchShown());
  update();
}

void DryingModeDialog::OnControl(int control_id) {
  if (!isEnabled()) return;
  const DryingMode::Outcome outcome = mode_.Press(control_id, host_.Context().prompter);
  Refresh();
  switch (outcome) {
    case DryingMode::Outcome::kKeepOpen:
      return;
    case DryingMode::Outcome::kClosed:
      done(control_id == id::kAccept ? QDialog::Accepted : QDialog::Rejected);
      return;
    case DryingMode::Outcome::kOpenContinuousFlowSetup:
    case DryingMode::Outcome::kOpenStagedBatchSetup: {
      shell::DialogRequest request;
      request.template_id = outcome == DryingMode::Outcome::kOpenStagedBatchSetup
                                ? id::kStagedBatchSetupTemplate
                                : id::kContinuousFlowSetupTemplate;
      request.parent = this;
      host_.OpenDialog(request);
      return;
    }
  }
}

void DryingModeDialog::showEvent(QShowEvent* event) {
  platform::Dialog::showEvent(event);
  platform::PlaceAboveCentre(*this, kAboveCentre);
}

void RunDryingModeDialog(QWidget* parent, shell::ShellHost& host) {
  DryingModeDialog dialog(parent, host);
  dialog.exec();
}

}  // namespace orvandry::setup
