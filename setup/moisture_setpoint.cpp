#include "setup/moisture_setpoint.h"

#include <cstdio>

#include "link/status_map.h"
#include "platform/canvas.h"
#include "platform/prompter.h"
#include "setup/timer_entry.h"

namespace orvandry::setup {

namespace {

constexpr std::size_t kSetpoint = link::status_map::kMoistureSetpoint;

std::string Tenths(const char* format, std::uint16_t tenths) {
  char text[32];
  std::snprintf(text, sizeof text, format, tenths / 10, tenths % 10);
  return text;
}

// Where the dialogs draw their value, in client coordinates (shared with the widgets).
void ValueBox(platform::Canvas& canvas, platform::Rect box, const std::string& text) {
  canvas.FillRect(box, platform::Rgb(255, 255, 255));
  canvas.RectOutline(box, platform::Rgb(64, 64, 64), 2);
  canvas.SetFont(platform::Font{34, 700});
  canvas.SetTextColour(platform::Rgb(0, 0, 0));
  canvas.SetBackgroundMode(platform::BackgroundMode::kTransparent);
  canvas.Text(box, text, platform::kAlignCentre | platform::kAlignVCentre | platform::kSingleLine);
}

}  // namespace

std::string MoistureText(std::uint16_t tenths) {
  return Tenths("%d.%01d %%", tenths);
}

void MoistureKeypad::Digit(int digit) {
  if (!started) {
    started = true;
    value = 0;
  }
  if (digits == 0 && digit == 0) {
    // A leading zero: shown as typed, but not one of the three digits.
    value = 0;
    entered = true;
    return;
  }
  if (digits >= kMaxDigits) return;
  value = static_cast<std::uint16_t>(value * 10 + digit);
  ++digits;
  entered = true;
}

void MoistureKeypad::Delete() {
  if (!started) {
    started = true;
    value = 0;
  }
  value = static_cast<std::uint16_t>(value / 10);
  if (digits > 0) --digits;
  // Everything typed is gone again: ACCEPT now changes nothing.
  if (digits == 0) entered = false;
}

MoistureKeypad::Outcome MoistureKeypad::Press(int control_id) {
  namespace id = moisture_id;
  for (int digit = 0; digit < 10; ++digit) {
    if (control_id == id::kDigits[digit]) {
      Digit(digit);
      return Outcome::kKeepOpen;
    }
  }
  switch (control_id) {
    case id::kDelete:
      Delete();
      break;
    case id::kAccept:
      return entered ? Outcome::kAccepted : Outcome::kCancelled;
    case id::kCancel:
      return Outcome::kCancelled;
    default:
      break;
  }
  return Outcome::kKeepOpen;
}

std::string MoistureKeypad::Text() const {
  return Tenths("%02d.%01d %%", value);
}

std::uint16_t MoistureSetpoint::Shown() const {
  return shared_.dryer_state.GetBe16(kSetpoint);
}

MoistureKeypad MoistureSetpoint::OpenKeypad() const {
  link::SettingEdit edit(shared_);
  edit.Load(link::Rec::kMoistureSetpoint);
  return MoistureKeypad::Open(edit.GetBe16(kSetpoint));
}

link::CommitResult MoistureSetpoint::Apply(MoistureKeypad::Outcome outcome,
                                           const MoistureKeypad& keypad,
                                           platform::Prompter& prompter) {
  if (outcome != MoistureKeypad::Outcome::kAccepted || !keypad.entered)
    return link::CommitResult::kUnchanged;
  link::SettingEdit edit(shared_);
  edit.Load(link::Rec::kMoistureSetpoint);
  edit.SetBe16(kSetpoint, keypad.value);
  const link::CommitResult result = edit.CommitIfChanged(link::Rec::kMoistureSetpoint);
  if (result == link::CommitResult::kNotConnected) {
    prompter.Ask(kNotConnectedText, kNotConnectedCaption, platform::Buttons::kOk,
                 platform::kExclamation);
  }
  return result;
}

void PaintMoistureKeypad(platform::Canvas& canvas, const MoistureKeypad& keypad) {
  ValueBox(canvas, kMoistureKeypadValueBox, keypad.Text());
}

void PaintMoistureSetpoint(platform::Canvas& canvas, const MoistureSetpoint& setpoint) {
  ValueBox(canvas, kMoistureSetpointValueBox, setpoint.ShownText());
}

}  // namespace orvandry::setup
