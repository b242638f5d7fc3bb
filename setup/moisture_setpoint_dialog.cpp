#include "setup/moisture_setpoint_dialog.h"

#include <QFont>
#include <algorithm>

#include "platform/dialog_kit.h"
#include "shell/view_context.h"

namespace orvandry::setup {

namespace {

namespace id = moisture_id;
using platform::Rect;

// The keypad: three 60 x 48 columns, four rows under the value box; ACCEPT and CANCEL in a wide
// column at the right, each two rows high.
constexpr int kColumnX[3] = {10, 78, 146};
constexpr int kRowY[4] = {76, 132, 188, 244};
constexpr int kKeyWidth = 60;
constexpr int kKeyHeight = 48;
constexpr int kCommandX = 214;
constexpr int kCommandWidth = 106;

QPushButton* MakeButton(const char* text, int pixel_size) {
  auto* button = platform::TouchButton(QString::fromLatin1(text), QString::fromLatin1(text));
  QFont font = button->font();
  font.setPixelSize(pixel_size);
  font.setBold(true);
  button->setFont(font);
  return button;
}

}  // namespace

Rect MoistureKeypadDialog::ControlRect(int control_id) {
  for (int digit = 1; digit < 10; ++digit) {
    if (control_id == id::kDigits[digit]) {
      // Telephone order: 7 8 9 / 4 5 6 / 1 2 3.
      const int row = 2 - (digit - 1) / 3;
      return Rect{kColumnX[(digit - 1) % 3], kRowY[row], kKeyWidth, kKeyHeight};
    }
  }
  switch (control_id) {
    case id::kDigits[0]:
      return Rect{kColumnX[0], kRowY[3], kKeyWidth, kKeyHeight};
    case id::kDelete:
      return Rect{kColumnX[1], kRowY[3], kColumnX[2] + kKeyWidth - kColumnX[1], kKeyHeight};
    case id::kAccept:
      return Rect{kCommandX, kRowY[0], kCommandWidth, kRowY[1] + kKeyHeight - kRowY[0]};
    case id::kCancel:
      return Rect{kCommandX, kRowY[2], kCommandWidth, kRowY[3] + kKeyHeight - kRowY[2]};
    default:
      return Rect{};
  }
}

MoistureKeypadDialog::MoistureKeypadDialog(QWidget* parent, MoistureKeypad& keypad)
    : platform::Dialog(parent, id::kKeypadTemplate, "MODIFY M/C SETPOINT", kClientSize),
      keypad_(keypad) {
  static constexpr const char* kDigitText[10] = {"0", "1", "2", "3", "4", "5", "6", "7", "8", "9"};
  const auto add = [this](int control_id, const char* text, int pixel_size) {
    QPushButton* button = Place(MakeButton(text, pixel_size), control_id, ControlRect(control_id));
    connect(button, &QPushButton::clicked, this, [this, control_id] { OnControl(control_id); });
  };
  for (int digit = 0; digit < 10; ++digit) add(id::kDigits[digit], kDigitText[digit], 22);
  add(id::kDelete, "DELETE", 17);
  add(id::kAccept, "ACCEPT", 17);
  add(id::kCancel, "CANCEL", 17);
}

void MoistureKeypadDialog::OnControl(int control_id) {
  if (outcome_ != MoistureKeypad::Outcome::kKeepOpen) return;  // already closing
  const MoistureKeypad::Outcome outcome = keypad_.Press(control_id);
  update();
  if (outcome == MoistureKeypad::Outcome::kKeepOpen) return;
  outcome_ = outcome;
  if (outcome == MoistureKeypad::Outcome::kAccepted) {
    accept();
  } else {
    reject();
  }
}

void MoistureKeypadDialog::Paint(platform::Canvas& canvas) {
  PaintMoistureKeypad(canvas, keypad_);
}

MoistureKeypad::Outcome RunMoistureKeypad(QWidget* parent, MoistureKeypad& keypad) {
  MoistureKeypadDialog dialog(parent, keypad);
  dialog.exec();
  const MoistureKeypad::Outcome outcome = dialog.Outcome();
  return outcome == MoistureKeypad::Outcome::kKeepOpen ? MoistureKeypad::Outcome::kCancelled
                                                       : outcome;
}

Rect MoistureSetpointDialog::ControlRect(int control_id) {
  switch (control_id) {
    case id::kModify:
      return Rect{20, 80, 190, 56};
    case id::kExit:
      return Rect{220, 80, 80, 56};
    default:
      return Rect{};
  }
}

MoistureSetpointDialog::MoistureSetpointDialog(QWidget* parent, link::LinkShared& shared,
                                               platform::Prompter& prompter)
    : platform::Dialog(parent, id::kSetpointTemplate, " MOISTURE SETPOINT - 26", kClientSize),
      setpoint_(shared),
      prompter_(prompter) {
  QPushButton* modify =
      Place(MakeButton("MODIFY SETPOINT", 16), id::kModify, ControlRect(id::kModify));
  connect(modify, &QPushButton::clicked, this, [this] { Modify(); });
  QPushButton* exit = Place(MakeButton("EXIT", 17), id::kExit, ControlRect(id::kExit));
  connect(exit, &QPushButton::clicked, this, [this] { accept(); });
}

void MoistureSetpointDialog::Modify() {
  MoistureKeypad keypad = setpoint_.OpenKeypad();
  const MoistureKeypad::Outcome outcome = RunMoistureKeypad(this, keypad);
  setpoint_.Apply(outcome, keypad, prompter_);
  update();
}

void MoistureSetpointDialog::Paint(platform::Canvas& canvas) {
  PaintMoistureSetpoint(canvas, setpoint_);
}

void MoistureSetpointDialog::showEvent(QShowEvent* event) {
  platform::Dialog::showEvent(event);
  if (parentWidget() == nullptr) return;
  // Right of the panel's centre, so the dryer picture's moisture readings stay in view; whole on
  // the panel. (The window it is opened over may be a small or hidden one at the left.)
  const QRect panel = parentWidget()->window()->frameGeometry();
  const int right_of_centre = panel.left() + (panel.width() - width()) / 2 + kRightOfCentre;
  move(std::max(panel.left(), std::min(right_of_centre, panel.right() + 1 - width())), y());
}

void RunMoistureSetpointDialog(QWidget* parent, shell::ViewContext& context) {
  MoistureSetpointDialog dialog(parent, context.shared, context.prompter);
  dialog.exec();
}

void RepaintOpenDialogs(QWidget& root, int template_id) {
  for (auto* dialog : root.findChildren<platform::Dialog*>())
    if (dialog->TemplateNumber() == template_id && dialog->isVisible()) dialog->update();
}

}  // namespace orvandry::setup
