#include "setup/timer_entry.h"

#include <algorithm>
#include <cstdio>
#include <string>

#include "link/setting_edit.h"
#include "platform/canvas.h"
#include "platform/fitted_text.h"
#include "platform/prompter.h"

namespace orvandry::setup {

namespace {

// The limit lines are always this many characters wide: the spaces around the numbers erase what
// a previous value left behind. A three-digit minutes value makes the text one longer; the last
// (blank) character is the one that goes.
constexpr std::size_t kLimitLineLength = 21;

std::string LimitLine(const char* format, int minutes, int seconds) {
  char text[48];
  std::snprintf(text, sizeof text, format, minutes, seconds);
  std::string line(text);
  if (line.size() > kLimitLineLength) line.resize(kLimitLineLength);
  return line;
}

}  // namespace

TimerEntry TimerEntry::Open(link::LinkShared& shared, link::Rec record, const TimerLimits& limits) {
  TimerEntry entry;
  entry.record = record;
  const std::size_t offset = entry.TargetOffset();
  // The dryer's value, or the one still on its way to it: opening never sends anything, and never
  // puts the old value back over a change that is still pending.
  link::SettingEdit edit(shared);
  edit.Load(record);
  entry.minutes = edit.Get(offset);
  entry.seconds = edit.Get(offset + 1);
  entry.min_minutes = limits.min_minutes;
  entry.min_seconds = limits.min_seconds;
  entry.max_minutes = limits.max_minutes;
  entry.max_seconds = limits.max_seconds;
  entry.default_minutes = limits.default_minutes;
  entry.default_seconds = limits.default_seconds;
  return entry;
}

void TimerEntry::Start(std::uint8_t& value) {
  // The first key after opening starts the keypad's value from nothing, so typing "5" gives 5 and
  // not the old value with a 5 appended. The other keypad keeps its value until its own first
  // digit, which replaces it anyway.
  if (started == 0) {
    started = 1;
    value = 0;
  }
}

void TimerEntry::MinutesKey(int digit_or_delete) {
  key = digit_or_delete;
  Start(minutes);
  const bool erase = digit_or_delete == kKeyDelete;
  const auto digit = static_cast<std::uint8_t>(digit_or_delete);
  switch (minutes_digits) {
    case 0:
      if (erase) {
        minutes /= 10;
      } else {
        minutes = digit;
        // A leading zero is not a digit yet.
        if (digit != 0) minutes_digits = 1;
      }
      break;
    case 1:
      if (erase) {
        minutes /= 10;
        minutes_digits = 0;
      } else {
        minutes = static_cast<std::uint8_t>(minutes * 10 + digit);
        minutes_digits = 2;
      }
      break;
    case 2:
      if (erase) {
        minutes /= 10;
        minutes_digits = 1;
      } else {
        // Three digits go up to 249 and no further: the value is one byte.
        if (minutes <= 24) minutes = static_cast<std::uint8_t>(minutes * 10 + digit);
        minutes_digits = 3;
      }
      break;
    default:
      if (erase) {
        minutes /= 10;
        minutes_digits = 2;
      }
      break;
  }
}

void TimerEntry::SecondsKey(int digit_or_delete) {
  key = digit_or_delete;
  Start(seconds);
  const bool erase = digit_or_delete == kKeyDelete;
  const auto digit = static_cast<std::uint8_t>(digit_or_delete);
  switch (seconds_digits) {
    case 0:
      if (erase) {
        seconds /= 10;
      } else {
        seconds = digit;
        if (digit != 0) seconds_digits = 1;
      }
      break;
    case 1:
      if (erase) {
        seconds /= 10;
        seconds_digits = 0;
      } else {
        // Only a first digit of 0..5 can take a second one: seconds stay below 60.
        if (seconds <= 5) seconds = static_cast<std::uint8_t>(seconds * 10 + digit);
        seconds_digits = 2;
      }
      break;
    default:
      if (erase) {
        seconds /= 10;
        seconds_digits = 1;
      }
      break;
  }
}

void TimerEntry::Default() {
  key = kKeyDefault;
  minutes = default_minutes;
  seconds = default_seconds;
  seconds_digits = seconds >= 10 ? 1 : 0;
  minutes_digits = minutes >= 100 ? 3 : (minutes < 10 ? 1 : 2);
  // The default counts as typed: the next key edits it (8:00 and a "0" make 80:00) instead of
  // starting the keypad from nothing.
  started = 1;
}

TimerEntry::Outcome TimerEntry::Accept(link::LinkShared& shared, platform::Prompter& prompter) {
  const int total = TotalSeconds();
  const int highest = max_minutes * 60 + max_seconds;
  const int lowest = min_minutes * 60 + min_seconds;
  if (total > highest || total < lowest) {
    prompter.Ask("The value entered is out of range.", "WARNING!", platform::Buttons::kOk,
                 platform::kExclamation);
    return Outcome::kRefused;
  }
  link::SettingEdit edit(shared);
  edit.Load(record);
  edit.SetTime(TargetOffset(), minutes, seconds);
  if (edit.Commit(record) == link::CommitResult::kNotConnected) {
    // The dryer has not reported yet: nothing is known to edit against, so nothing is sent.
    prompter.Ask(kNotConnectedText, kNotConnectedCaption, platform::Buttons::kOk,
                 platform::kExclamation);
    return Outcome::kRefused;
  }
  return Outcome::kWritten;
}

TimerEntry::Outcome TimerEntry::Press(int control_id, link::LinkShared& shared,
                                      platform::Prompter& prompter) {
  namespace id = timer_entry_id;
  for (int digit = 0; digit < 10; ++digit) {
    if (control_id == id::kMinutesDigits[digit]) {
      MinutesKey(digit);
      return Outcome::kKeepOpen;
    }
    if (control_id == id::kSecondsDigits[digit]) {
      SecondsKey(digit);
      return Outcome::kKeepOpen;
    }
  }
  switch (control_id) {
    case id::kMinutesDelete:
      MinutesKey(kKeyDelete);
      break;
    case id::kSecondsDelete:
      SecondsKey(kKeyDelete);
      break;
    case id::kDefault:
      Default();
      break;
    case id::kAccept:
      return Accept(shared, prompter);
    case id::kCancel:
      return Outcome::kCancelled;
    default:
      break;
  }
  return Outcome::kKeepOpen;
}

void PaintTimerEntry(platform::Canvas& canvas, const TimerEntry& entry) {
  using platform::BackgroundMode;
  // The limit lines are drawn opaque in the dialog's own grey, so they need no erase first.
  canvas.SetFont(platform::Font{15, 400});
  canvas.SetTextColour(platform::Bgr(0x000000));
  canvas.SetBackgroundMode(BackgroundMode::kOpaque);
  canvas.SetBackgroundColour(kTimerEntryBackground);
  canvas.TextAt(platform::Point{431, 50}, LimitLine("  Default = %02d : %02d  ",
                                                    entry.default_minutes, entry.default_seconds));
  canvas.TextAt(platform::Point{420, 65},
                LimitLine("  Maximum = %02d : %02d  ", entry.max_minutes, entry.max_seconds));
  canvas.TextAt(platform::Point{423, 80},
                LimitLine("  Minimum = %02d : %02d  ", entry.min_minutes, entry.min_seconds));

  char value[32];
  std::snprintf(value, sizeof value, " %03d : %02d ", entry.minutes, entry.seconds);
  const platform::Rect box = platform::Rect::FromEdges(150, 40, 398, 110);
  // A three-digit minutes value cut at its box would read as two digits.
  platform::FitFont(canvas, value, platform::Font{60, 900}, box.w, 8);
  canvas.SetTextColour(platform::Rgb(50, 0, 250));
  canvas.SetBackgroundColour(platform::Bgr(0x000000));
  canvas.Text(box, value, platform::kAlignRight | platform::kSingleLine);

  // Which keypad is which, so the operator need not guess from the value's layout.
  canvas.SetFont(platform::Font{15, 700});
  canvas.SetTextColour(platform::Bgr(0x000000));
  canvas.SetBackgroundMode(BackgroundMode::kTransparent);
  canvas.Text(kMinutesLabel, "MINUTES", platform::kAlignCentre | platform::kSingleLine);
  canvas.Text(kSecondsLabel, "SECONDS", platform::kAlignCentre | platform::kSingleLine);
}

}  // namespace orvandry::setup
