#pragma once

#include <cstdint>
#include <string>

#include "link/link_shared.h"
#include "link/setting_edit.h"
#include "platform/geometry.h"

namespace orvandry::platform {
class Canvas;
class Prompter;
}  // namespace orvandry::platform

namespace orvandry::setup {

// Controls of the moisture setpoint dialog (template 225) and of its keypad (template 224).
namespace moisture_id {
inline constexpr int kSetpointTemplate = 225;
inline constexpr int kValueBox = 1146;
inline constexpr int kModify = 1157;
inline constexpr int kExit = 1045;

inline constexpr int kKeypadTemplate = 224;
// Digit d is kDigits[d].
inline constexpr int kDigits[10] = {1166, 1163, 1164, 1165, 1160, 1161, 1162, 1157, 1158, 1159};
inline constexpr int kDelete = 1167;
inline constexpr int kAccept = 1168;
// The way out without a change.
inline constexpr int kCancel = 1169;
}  // namespace moisture_id

// Where the two dialogs draw their values, in client coordinates.
inline constexpr platform::Rect kMoistureSetpointValueBox{20, 12, 280, 54};
inline constexpr platform::Rect kMoistureKeypadValueBox{10, 10, 310, 56};

// The moisture setpoint in tenths of a percent as the dialog shows it: "15.5 %".
std::string MoistureText(std::uint16_t tenths);

// The keypad's edit: a setpoint in tenths of a percent, typed digit by digit. At most three
// digits (99.9 %); leading zeros are not digits yet. The first key starts from 0; until then the
// keypad shows the value it was opened with.
struct MoistureKeypad {
  enum class Outcome {
    kKeepOpen,
    kAccepted,   // ACCEPT with a typed value: `value` is the new setpoint
    kCancelled,  // CANCEL, or ACCEPT with nothing typed: nothing changes
  };
  static constexpr int kMaxDigits = 3;

  std::uint16_t value = 0;
  int digits = 0;        // significant digits typed, 0..kMaxDigits
  bool started = false;  // a key has been pressed since opening
  bool entered = false;  // what the keypad shows was typed (a digit, even a lone 0)

  static MoistureKeypad Open(std::uint16_t current) {
    MoistureKeypad pad;
    pad.value = current;
    return pad;
  }
  void Digit(int digit);
  void Delete();
  // One control by id, as the dialog forwards touches. Unknown ids are ignored.
  Outcome Press(int control_id);
  // "%02d.%01d %%" of the value: "15.5 %", "05.0 %".
  std::string Text() const;
};

// The setpoint dialog's rules. It shows the controller's setpoint; MODIFY SETPOINT opens the
// keypad on the setpoint being edited (the controller's, or a change still on its way) and an
// accepted keypad value goes out as the setpoint's PendingWrite, high byte first.
class MoistureSetpoint {
 public:
  explicit MoistureSetpoint(link::LinkShared& shared) : shared_(shared) {}

  // What box 1146 shows: the controller's value.
  std::uint16_t Shown() const;
  std::string ShownText() const { return MoistureText(Shown()); }

  // The keypad for MODIFY SETPOINT.
  MoistureKeypad OpenKeypad() const;

  // What the keypad returned. An accepted value that differs from the setpoint being edited is
  // stored and raised; anything else sends nothing. Before the dryer's first report nothing is
  // sent and the operator is told so.
  link::CommitResult Apply(MoistureKeypad::Outcome outcome, const MoistureKeypad& keypad,
                           platform::Prompter& prompter);

 private:
  link::LinkShared& shared_;
};

// The keypad dialog's own drawing: the value being typed in its box.
void PaintMoistureKeypad(platform::Canvas& canvas, const MoistureKeypad& keypad);
// The setpoint dialog's own drawing: the controller's setpoint in box 1146.
void PaintMoistureSetpoint(platform::Canvas& canvas, const MoistureSetpoint& setpoint);

}  // namespace orvandry::setup
