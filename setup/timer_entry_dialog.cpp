#include "setup/timer_entry_dialog.h"

#include <QFont>
#include <algorithm>

#include "platform/dialog_geometry.h"
#include "platform/dialog_kit.h"

namespace orvandry::setup {

namespace {

namespace id = timer_entry_id;
using platform::DluRect;
using platform::Rect;

// The keypads in dialog units: three columns of 31-unit keys from x = 7 (minutes) and x = 211
// (seconds), four rows from y = 82, level with the command buttons between them.
constexpr int kMinutesPadX = 7;
constexpr int kSecondsPadX = 211;
constexpr int kColumnX[3] = {0, 37, 75};
constexpr int kRowY[4] = {82, 108, 134, 160};
constexpr int kKeyWidth = 31;
constexpr int kKeyHeight = 24;
constexpr int kDeleteWidth = 69;  // from the middle column to the pad's right edge

// 24 dialog units are 39 pixels: one short of the smallest target a gloved finger hits reliably.
Rect Touchable(Rect rect) {
  rect.w = std::max(rect.w, TimerEntryDialog::kMinTouch);
  rect.h = std::max(rect.h, TimerEntryDialog::kMinTouch);
  return rect;
}

// Telephone order: 7 8 9 / 4 5 6 / 1 2 3 / 0 DELETE.
Rect DigitRect(int pad_x, int digit) {
  if (digit == 0) return Touchable(DluRect(pad_x, kRowY[3], kKeyWidth, kKeyHeight));
  const int row = 2 - (digit - 1) / 3;
  const int column = (digit - 1) % 3;
  return Touchable(DluRect(pad_x + kColumnX[column], kRowY[row], kKeyWidth, kKeyHeight));
}

Rect DeleteRect(int pad_x) {
  return Touchable(DluRect(pad_x + kColumnX[1], kRowY[3], kDeleteWidth, kKeyHeight));
}

}  // namespace

Rect TimerEntryDialog::ControlRect(int control_id) {
  for (int digit = 0; digit < 10; ++digit) {
    if (control_id == id::kMinutesDigits[digit]) return DigitRect(kMinutesPadX, digit);
    if (control_id == id::kSecondsDigits[digit]) return DigitRect(kSecondsPadX, digit);
  }
  switch (control_id) {
    case id::kMinutesDelete:
      return DeleteRect(kMinutesPadX);
    case id::kSecondsDelete:
      return DeleteRect(kSecondsPadX);
    case id::kDefault:
      return Touchable(DluRect(125, 82, 72, 32));
    case id::kAccept:
      return Touchable(DluRect(125, 122, 72, 32));
    case id::kCancel:
      return Touchable(DluRect(126, 162, 72, 32));
    default:
      return Rect{};
  }
}

TimerEntryDialog::TimerEntryDialog(QWidget* parent, TimerEntry& entry, link::LinkShared& shared,
                                   platform::Prompter& prompter)
    : platform::Dialog(parent, id::kTemplate, "MODIFYING TIMER SETPOINT - 21", kClientSize,
                       kTimerEntryBackground),
      entry_(entry),
      shared_(shared),
      prompter_(prompter) {
  static constexpr const char* kDigitText[10] = {"0", "1", "2", "3", "4", "5", "6", "7", "8", "9"};
  for (int digit = 0; digit < 10; ++digit) {
    AddButton(id::kMinutesDigits[digit], kDigitText[digit]);
    AddButton(id::kSecondsDigits[digit], kDigitText[digit]);
  }
  AddButton(id::kMinutesDelete, "DELETE");
  AddButton(id::kSecondsDelete, "DELETE");
  AddButton(id::kDefault, "DEFAULT");
  AddButton(id::kAccept, "ACCEPT");
  AddButton(id::kCancel, "CANCEL");
}

void TimerEntryDialog::AddButton(int control_id, const char* text) {
  auto* button = platform::TouchButton(QString::fromLatin1(text), QString::fromLatin1(text));
  QFont font = button->font();
  font.setPixelSize(17);
  font.setBold(true);
  button->setFont(font);
  Place(button, control_id, ControlRect(control_id));
  connect(button, &QPushButton::clicked, this, [this, control_id] { OnControl(control_id); });
}

void TimerEntryDialog::OnControl(int control_id) {
  if (outcome_ != TimerEntry::Outcome::kKeepOpen) return;  // already closing
  const TimerEntry::Outcome outcome = entry_.Press(control_id, shared_, prompter_);
  update();
  if (outcome == TimerEntry::Outcome::kKeepOpen) return;
  outcome_ = outcome;
  if (outcome == TimerEntry::Outcome::kWritten) {
    accept();
  } else {
    reject();
  }
}

void TimerEntryDialog::Paint(platform::Canvas& canvas) {
  PaintTimerEntry(canvas, entry_);
}

TimerEntry::Outcome RunTimerEntryDialog(QWidget* parent, TimerEntry& entry,
                                        link::LinkShared& shared, platform::Prompter& prompter) {
  TimerEntryDialog dialog(parent, entry, shared, prompter);
  dialog.exec();
  const TimerEntry::Outcome outcome = dialog.Outcome();
  // Closed some other way (e.g. Escape): nothing was written.
  return outcome == TimerEntry::Outcome::kKeepOpen ? TimerEntry::Outcome::kCancelled : outcome;
}

}  // namespace orvandry::setup
