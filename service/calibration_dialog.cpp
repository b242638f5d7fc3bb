#include "service/calibration_dialog.h"

#include <string>

#include "link/status_intake.h"
#include "platform/canvas.h"
#include "platform/dialog_kit.h"
#include "shell/subsystem.h"
#include "shell/view_context.h"

namespace orvandry::service {

namespace {

namespace id = calibration_id;
using platform::Rect;

constexpr platform::Colour kFace = platform::Bgr(0xC0C0C0);
constexpr platform::Colour kInk = platform::Rgb(0, 0, 0);
constexpr platform::Colour kReadingInk = platform::Rgb(0, 0, 100);
constexpr Offset kAll[kOffsetCount] = {Offset::kWetMoisture, Offset::kDryMoisture,
                                       Offset::kWetTemperature, Offset::kDryTemperature};

// The offsets' rows on the right.
constexpr int kRowX = 262;
int RowY(Offset offset) {
  return 8 + static_cast<int>(offset) * 64;
}

bool IsTemperature(Offset offset) {
  return offset == Offset::kWetTemperature || offset == Offset::kDryTemperature;
}

}  // namespace

CalibrationDialog::CalibrationDialog(QWidget* parent, Calibration& calibration,
                                     const link::LinkShared& shared, platform::Prompter& prompter)
    : platform::Dialog(parent, id::kTemplate, " MOISTURE SENSOR CALIBRATION - 13", kClientSize,
                       kFace),
      calibration_(calibration),
      shared_(shared),
      prompter_(prompter) {
  for (Offset offset : kAll) {
    const OffsetDef& def = DefOf(offset);
    const int y = RowY(offset) + 20;
    QPushButton* down = Place(platform::TouchButton(QStringLiteral("<<<"), 18), def.down_id,
                              Rect{kRowX, y, 80, 42});
    Place(platform::ValueBox(20), def.edit_id, Rect{kRowX + 88, y, 110, 42});
    QPushButton* up = Place(platform::TouchButton(QStringLiteral(">>>"), 18), def.up_id,
                            Rect{kRowX + 206, y, 80, 42});
    connect(down, &QPushButton::pressed, this, [this, c = def.down_id] { OnControl(c); });
    connect(up, &QPushButton::pressed, this, [this, c = def.up_id] { OnControl(c); });
  }
  QPushButton* accept = Place(platform::TouchButton(QStringLiteral("ACCEPT"), 18), id::kAccept,
                              Rect{kRowX, 270, 170, 50});
  QPushButton* help = Place(platform::TouchButton(QStringLiteral("HELP"), 18), id::kHelp,
                            Rect{kRowX + 186, 270, 100, 50});
  connect(accept, &QPushButton::clicked, this, [this] { OnControl(id::kAccept); });
  connect(help, &QPushButton::clicked, this, [this] { OnControl(id::kHelp); });
  Refresh();
}

void CalibrationDialog::OnControl(int control) {
  if (calibration_.Press(control, prompter_) == Calibration::Outcome::kClose) {
    accept();
    return;
  }
  Refresh();
}

void CalibrationDialog::Follow() {
  calibration_.Follow();
  Refresh();
}

void CalibrationDialog::Refresh() {
  for (Offset offset : kAll)
    Edit(offset)->setText(QString::fromStdString(calibration_.Text(offset)));
  update();
}

void CalibrationDialog::Paint(platform::Canvas& canvas) {
  const bool si = shared_.si_units.load(std::memory_order_relaxed) != 0;
  const unsigned line = platform::kAlignLeft | platform::kAlignVCentre | platform::kSingleLine;
  canvas.SetBackgroundMode(platform::BackgroundMode::kTransparent);
  for (bool wet : {true, false}) {
    const int top = wet ? 8 : 138;
    canvas.SetFont({16, 500});
    canvas.SetTextColour(kInk);
    canvas.Text(Rect{12, top, 240, 25}, wet ? "WET SENSOR" : "DRY SENSOR", line);
    canvas.SetTextColour(kReadingInk);
    canvas.Text(Rect{12, top + 25, 240, 25},
                "MOISTURE:    " + Tenths(calibration_.Moisture(wet)) + " %", line);
    int temperature = calibration_.TemperatureF(wet);
    if (si) temperature = (temperature - 320) * 5 / 9;  // tenths of a degree F to tenths C
    canvas.Text(Rect{12, top + 50, 240, 25},
                "TEMPERATURE: " + Tenths(temperature) + (si ? " C" : " F"), line);
  }
  for (Offset offset : kAll) {
    const int y = RowY(offset);
    canvas.SetFont({14, 700});
    canvas.SetTextColour(kInk);
    canvas.Text(Rect{kRowX, y, 290, 18}, DefOf(offset).label, line);
    // The offsets are whole tenths of a percent or of a degree F, whatever units the panel shows.
    canvas.SetFont({16, 700});
    canvas.Text(Rect{kRowX + 292, y + 20, 40, 42},
                IsTemperature(offset) ? "\xB0"
                                        "F"
                                      : "%",
                line);
  }
}

void CalibrationHost::Open(shell::ShellHost& host, QWidget* parent) {
  if (dialog_ != nullptr) return;
  if (!repeat_registered_) {
    host.AddRepeatSource(this);
    repeat_registered_ = true;
  }
  shell::ViewContext& context = host.Context();
  Calibration calibration(context.shared);
  calibration.Open();
  CalibrationDialog dialog(parent, calibration, context.shared, context.prompter);
  dialog_ = &dialog;
  dialog.exec();
  dialog_ = nullptr;
}

void CalibrationHost::OnIntake(const link::IntakeResult& result) {
  if (dialog_ != nullptr && result.repaints.Has(link::ViewId::kMoistureCalibration))
    dialog_->Follow();
}

int CalibrationHost::HeldButton() const {
  if (dialog_ == nullptr) return 0;
  for (Offset offset : kAll)
    for (int control : {DefOf(offset).down_id, DefOf(offset).up_id})
      if (QPushButton* button = dialog_->Button(control); button != nullptr && button->isDown())
        return control;
  return 0;
}

void CalibrationHost::SendRepeat(int command) {
  if (dialog_ != nullptr) dialog_->OnControl(command);
}

}  // namespace orvandry::service
