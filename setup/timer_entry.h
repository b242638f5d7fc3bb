#pragma once

#include <cstddef>
#include <cstdint>

#include "link/link_shared.h"
#include "link/pending_write.h"
#include "platform/colour.h"
#include "platform/geometry.h"
#include "platform/prompter.h"

namespace orvandry::platform {
class Canvas;
class Prompter;
}  // namespace orvandry::platform

namespace orvandry::setup {

// Controls of the timer entry dialog (template 165).
namespace timer_entry_id {
inline constexpr int kTemplate = 165;
// Minutes keypad: digit d is kMinutesDigits[d].
inline constexpr int kMinutesDigits[10] = {1046, 1068, 1071, 1072, 1069,
                                           1074, 1076, 1070, 1075, 1077};
inline constexpr int kMinutesDelete = 1073;
// Seconds keypad: digit d is kSecondsDigits[d].
inline constexpr int kSecondsDigits[10] = {1078, 1079, 1082, 1083, 1080,
                                           1085, 1087, 1081, 1086, 1088};
inline constexpr int kSecondsDelete = 1084;
inline constexpr int kDefault = 1066;
inline constexpr int kAccept = 1090;
inline constexpr int kCancel = 1089;
}  // namespace timer_entry_id

// The dialog's face colour; its limit lines are drawn on it.
inline constexpr platform::Colour kTimerEntryBackground = platform::Bgr(0xC0C0C0);

// Where the keypads' names go: over the minutes keypad and over the seconds keypad.
inline constexpr platform::Rect kMinutesLabel{11, 113, 159, 18};
inline constexpr platform::Rect kSecondsLabel{317, 113, 159, 18};

// What ACCEPT says when the dryer has not answered yet since start-up.
using platform::kNotConnectedCaption;
using platform::kNotConnectedText;

// Values of TimerEntry::key.
inline constexpr std::int32_t kKeyDelete = 10;
inline constexpr std::int32_t kKeyDefault = 11;

// A timer's editing limits and default, minutes:seconds, inclusive.
struct TimerLimits {
  std::uint8_t min_minutes = 0;
  std::uint8_t min_seconds = 0;
  std::uint8_t max_minutes = 0;
  std::uint8_t max_seconds = 0;
  std::uint8_t default_minutes = 0;
  std::uint8_t default_seconds = 0;
};

// The edit record of the timer entry dialog: the value being typed on the two keypads, the
// timer's limits, and the PendingWrite the value goes to. Every timer is two bytes, minutes then
// seconds; the record's request bytes sit at the record's own table offset.
struct TimerEntry {
  enum class Outcome {
    kKeepOpen,  // a key was taken; the dialog stays
    kWritten,   // ACCEPT stored the value and raised the record
    kRefused,   // ACCEPT found the value out of range; nothing written
    kCancelled,
  };

  std::int32_t seconds_digits = 0;  // seconds keypad state, 0..2
  std::int32_t minutes_digits = 0;  // minutes keypad state, 0..3
  std::uint8_t seconds = 0;
  std::uint8_t minutes = 0;
  std::uint8_t max_minutes = 0, default_minutes = 0, min_minutes = 0;
  std::uint8_t max_seconds = 0, default_seconds = 0, min_seconds = 0;
  // The PendingWrite the value goes to: its request bytes are the two targets (minutes at
  // TargetOffset(), seconds after it) and its flag is the one raised.
  link::Rec record = link::Rec::kDryTimerReload;
  std::int32_t key = 0;  // last key: 0..9, kKeyDelete, kKeyDefault
  std::uint8_t started = 0;

  // Fills the record for editing `record`'s timer: the value being edited starts as the timer's
  // DryerState value, or as the requested value while an earlier change is still pending; opening
  // writes and raises nothing; the keypads start afresh.
  static TimerEntry Open(link::LinkShared& shared, link::Rec record, const TimerLimits& limits);

  std::size_t TargetOffset() const { return link::RecordOf(record).target_offset(); }
  int TotalSeconds() const { return minutes * 60 + seconds; }

  // The keypads: key 0..9 is a digit, kKeyDelete deletes the last digit.
  void MinutesKey(int digit_or_delete);
  void SecondsKey(int digit_or_delete);
  void Default();
  // Checks the range; asks nothing and writes the value when it fits, otherwise tells the
  // operator and writes nothing (also before the dryer's first report). Either way the dialog
  // closes.
  Outcome Accept(link::LinkShared& shared, platform::Prompter& prompter);

  // One dialog control by id, as the dialog forwards touches. Unknown ids are ignored.
  Outcome Press(int control_id, link::LinkShared& shared, platform::Prompter& prompter);

 private:
  void Start(std::uint8_t& value);
};

// The dialog's own drawing over its client area: the limits and the value being edited.
void PaintTimerEntry(platform::Canvas& canvas, const TimerEntry& entry);

}  // namespace orvandry::setup
