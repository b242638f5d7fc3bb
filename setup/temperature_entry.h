#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>

#include "link/link_shared.h"
#include "link/pending_write.h"
#include "platform/colour.h"

namespace orvandry::platform {
class Canvas;
class Prompter;
}  // namespace orvandry::platform

namespace orvandry::setup {

// Controls of the temperature entry dialog (template 101).
namespace temperature_entry_id {
inline constexpr int kTemplate = 101;
// Digit d is kDigits[d].
inline constexpr int kDigits[10] = {1002, 1003, 1007, 1008, 1004, 1009, 1011, 1005, 1010, 1012};
inline constexpr int kDelete = 1006;
inline constexpr int kClear = 1015;
inline constexpr int kDefault = 1014;
inline constexpr int kAccept = 1013;
inline constexpr int kCancel = 1001;
}  // namespace temperature_entry_id

inline constexpr platform::Colour kTemperatureEntryBackground = platform::Bgr(0xC0C0C0);

// Values of TemperatureEntry::key.
inline constexpr std::uint16_t kTemperatureKeyDelete = 10;
inline constexpr std::uint16_t kTemperatureKeyDefault = 11;

// A temperature setting's editing limits and default, whole degrees F, inclusive.
struct TemperatureLimits {
  std::uint16_t min = 0;
  std::uint16_t max = 0;
  std::uint16_t default_value = 0;
};

// A typed Celsius value as the Fahrenheit value to store: c x 9 / 5 + 32, plus the correction
// (+1 when c mod 5 is 4, +2 when it is 1, 2 or 3) that makes the stored value show as c again.
int celsius_entry_to_fahrenheit(int celsius);

// The temperature records an entry dialog may edit, by the offset of their value; nothing for any
// other offset.
std::optional<link::Rec> TemperatureRecordAt(std::size_t offset);

// The edit record of the temperature entry dialog: the value on the keypad, the setting's limits,
// and the PendingWrite the value goes to (a 16-bit temperature at the record's own offset).
//
// In Celsius mode the keypad works in degrees C, but the value the dialog opens with (and the
// default) is a stored Fahrenheit value: until the operator types a digit, DELETE or CLEAR the
// value is "still F" (fahrenheit_held). ACCEPT then stores it unchanged, and it is shown
// converted. The first such key turns it into the Celsius value shown, and the key then works on
// that.
struct TemperatureEntry {
  enum class Outcome {
    kKeepOpen,  // a key was taken; the dialog stays
    kWritten,   // ACCEPT stored the value and raised the record (or it was already so)
    kRefused,   // ACCEPT found the value out of range, or the dryer has not reported yet
    kCancelled,
  };

  std::uint16_t value = 0;          // F, or C once typed in Celsius mode
  std::uint16_t max = 0;            // F
  std::uint16_t min = 0;            // F
  std::uint16_t key = 0;            // last key: 0..9, kTemperatureKeyDelete, kTemperatureKeyDefault
  std::uint16_t default_value = 0;  // F
  std::uint8_t started = 0;         // the first digit or DELETE clears the value first
  bool celsius = false;             // the display shows and takes degrees C
  bool fahrenheit_held = true;      // value is a stored F value, not a typed one
  link::Rec record = link::Rec::kGrainSetpoint;

  // Fills the record for editing `record`'s temperature: the value starts as the dryer's value,
  // or as the requested one while an earlier change is still pending. Opening writes and raises
  // nothing.
  static TemperatureEntry Open(link::LinkShared& shared, link::Rec record,
                               const TemperatureLimits& limits);

  std::size_t TargetOffset() const { return link::RecordOf(record).target_offset(); }
  // The number the dialog shows, in the display's unit.
  int Shown() const;
  // The F value ACCEPT would store, or nothing when it is out of range.
  std::optional<std::uint16_t> ValueToStore() const;

  void Digit(int digit);
  void Delete();
  void Clear();
  void Default();
  // Stores the value and raises the record when it fits and differs from what the dialog started
  // from; otherwise says why and writes nothing. Either way the dialog closes.
  Outcome Accept(link::LinkShared& shared, platform::Prompter& prompter);

  // One dialog control by id, as the dialog forwards touches. Unknown ids are ignored.
  Outcome Press(int control_id, link::LinkShared& shared, platform::Prompter& prompter);

 private:
  void TypeFromShown();
};

// The dialog's own drawing over its client area: the limits and the value being edited.
void PaintTemperatureEntry(platform::Canvas& canvas, const TemperatureEntry& entry);

}  // namespace orvandry::setup
