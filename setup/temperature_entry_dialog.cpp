#include "setup/temperature_entry_dialog.h"

#include <QFont>

#include "platform/dialog_geometry.h"
#include "platform/dialog_kit.h"
#include "shell/subsystem.h"
#include "shell/view_context.h"

namespace orvandry::setup {

namespace {

namespace id = temperature_entry_id;
using platform::DluRect;
using platform::Rect;

// The keypad in dialog units: 50 x 29 keys in columns at x = 7, 66 and 126, rows at y = 73, 111
// and 148 (7 8 9 / 4 5 6 / 1 2 3), with 0 and DELETE below at y = 184.
constexpr int kColumnX[3] = {7, 66, 126};
constexpr int kRowY[3] = {73, 111, 148};
constexpr int kBottomRowY = 184;

Rect DigitRect(int digit) {
  if (digit == 0) return DluRect(7, kBottomRowY, 50, 29);
  const int row = 2 - (digit - 1) / 3;
  const int column = (digit - 1) % 3;
  return DluRect(kColumnX[column], kRowY[row], 50, 29);
}

}  // namespace

Rect TemperatureEntryDialog::ControlRect(int control_id) {
  for (int digit = 0; digit < 10; ++digit)
    if (control_id == id::kDigits[digit]) return DigitRect(digit);
  switch (control_id) {
    case id::kDelete:
      return DluRect(66, kBottomRowY, 110, 29);
    case id::kClear:
      return DluRect(206, 73, 64, 29);
    case id::kDefault:
      return DluRect(206, 109, 64, 29);
    case id::kAccept:
      return DluRect(206, 146, 64, 29);
    case id::kCancel:
      return DluRect(206, 184, 64, 29);
    default:
      return Rect{};
  }
}

TemperatureEntryDialog::TemperatureEntryDialog(QWidget* parent, TemperatureEntry& entry,
                                               link::LinkShared& shared,
                                               platform::Prompter& prompter)
    : platform::Dialog(parent, id::kTemplate, "Modifying Temperature Setpoint - 22", kClientSize,
                       kTemperatureEntryBackground),
      entry_(entry),
      shared_(shared),
      prompter_(prompter) {
  static constexpr const char* kDigitText[10] = {"0", "1", "2", "3", "4", "5", "6", "7", "8", "9"};
  for (int digit = 0; digit < 10; ++digit) AddButton(id::kDigits[digit], kDigitText[digit]);
  AddButton(id::kDelete, "DELETE");
  AddButton(id::kClear, "CLEAR");
  AddButton(id::kDefault, "DEFAULT");
  AddButton(id::kAccept, "ACCEPT");
  AddButton(id::kCancel, "CANCEL");
}

void TemperatureEntryDialog::AddButton(int control_id, const char* text) {
  auto* button = platform::TouchButton(QString::fromLatin1(text), QString::fromLatin1(text));
  QFont font = button->font();
  font.setPixelSize(17);
  font.setBold(true);
  button->setFont(font);
  Place(button, control_id, ControlRect(control_id));
  connect(button, &QPushButton::clicked, this, [this, control_id] { OnControl(control_id); });
}

void TemperatureEntryDialog::OnControl(int control_id) {
  if (outcome_ != TemperatureEntry::Outcome::kKeepOpen) return;  // already closing
  const TemperatureEntry::Outcome outcome = entry_.Press(control_id, shared_, prompter_);
  update();
  if (outcome == TemperatureEntry::Outcome::kKeepOpen) return;
  outcome_ = outcome;
  if (outcome == TemperatureEntry::Outcome::kWritten) {
    accept();
  } else {
    reject();
  }
}

void TemperatureEntryDialog::Paint(platform::Canvas& canvas) {
  PaintTemperatureEntry(canvas, entry_);
}

TemperatureEntry::Outcome RunTemperatureEntryDialog(QWidget* parent, TemperatureEntry& entry,
                                                    link::LinkShared& shared,
                                                    platform::Prompter& prompter) {
  TemperatureEntryDialog dialog(parent, entry, shared, prompter);
  dialog.exec();
  const TemperatureEntry::Outcome outcome = dialog.Outcome();
  // Closed some other way (e.g. Escape): nothing was written.
  return outcome == TemperatureEntry::Outcome::kKeepOpen ? TemperatureEntry::Outcome::kCancelled
                                                         : outcome;
}

TemperatureEntry::Outcome OpenTemperatureEntry(const shell::DialogRequest& request,
                                               const shell::ViewContext& context) {
  const std::optional<link::Rec> record = TemperatureRecordAt(request.offset);
  if (!record) return TemperatureEntry::Outcome::kCancelled;
  const TemperatureLimits limits{static_cast<std::uint16_t>(request.min),
                                 static_cast<std::uint16_t>(request.max),
                                 static_cast<std::uint16_t>(request.fallback)};
  TemperatureEntry entry = TemperatureEntry::Open(context.shared, *record, limits);
  return RunTemperatureEntryDialog(request.parent, entry, context.shared, context.prompter);
}

}  // namespace orvandry::setup
