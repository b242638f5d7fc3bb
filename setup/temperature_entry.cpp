#include "setup/temperature_entry.h"

#include <algorithm>
#include <array>
#include <cstdio>

#include "link/setting_edit.h"
#include "platform/canvas.h"
#include "platform/prompter.h"
#include "platform/temperature_units.h"
#include "setup/timer_entry.h"

namespace orvandry::setup {

namespace {

using link::Rec;

constexpr std::array kTemperatureRecords = {
    Rec::kPlenumSetpoint1, Rec::kPlenumSetpoint2, Rec::kPlenumSetpoint3, Rec::kPlenumSetpoint4,
    Rec::kPlenumSetpoint5, Rec::kPlenumSetpoint6, Rec::kPlenum1LowTemp,  Rec::kPlenum2LowTemp,
    Rec::kGrainSetpoint,   Rec::kGrainHigh,       Rec::kGrainLow,
};

constexpr int kLargestTyped = 100;  // digits are taken only below this: three significant digits

char UnitLetter(bool celsius) {
  return celsius ? 'C' : 'F';
}

}  // namespace

int celsius_entry_to_fahrenheit(int celsius) {
  const int fahrenheit = celsius * 9 / 5 + 32;
  switch (celsius % 5) {
    case 4:
      return fahrenheit + 1;
    case 1:
    case 2:
    case 3:
      return fahrenheit + 2;
    default:
      return fahrenheit;
  }
}

std::optional<link::Rec> TemperatureRecordAt(std::size_t offset) {
  for (Rec rec : kTemperatureRecords)
    if (link::RecordOf(rec).target_offset() == offset) return rec;
  return std::nullopt;
}

TemperatureEntry TemperatureEntry::Open(link::LinkShared& shared, link::Rec record,
                                        const TemperatureLimits& limits) {
  TemperatureEntry entry;
  entry.record = record;
  // The dryer's value, or the one still on its way to it: opening never sends anything, and never
  // puts the old value back over a change that is still pending.
  link::SettingEdit edit(shared);
  edit.Load(record);
  entry.value = static_cast<std::uint16_t>(edit.GetLe16(entry.TargetOffset()));
  entry.min = limits.min;
  entry.max = limits.max;
  entry.default_value = limits.default_value;
  entry.celsius = shared.si_units.load(std::memory_order_relaxed) != 0;
  return entry;
}

int TemperatureEntry::Shown() const {
  if (celsius && fahrenheit_held) return platform::fahrenheit_to_celsius(value);
  return value;
}

std::optional<std::uint16_t> TemperatureEntry::ValueToStore() const {
  int stored = value;
  if (celsius && !fahrenheit_held) {
    // The limits hold for the plain conversion; the correction then only makes the value show as
    // typed, and where it alone would pass the limit the limit itself shows as the typed value.
    const int plain = value * 9 / 5 + 32;
    if (plain > max || plain < min) return std::nullopt;
    stored = std::min<int>(celsius_entry_to_fahrenheit(value), max);
  }
  if (stored > max || stored < min) return std::nullopt;
  return static_cast<std::uint16_t>(stored);
}

void TemperatureEntry::TypeFromShown() {
  // The keys edit the number the operator sees.
  value = static_cast<std::uint16_t>(std::max(Shown(), 0));
  fahrenheit_held = false;
}

void TemperatureEntry::Digit(int digit) {
  key = static_cast<std::uint16_t>(digit);
  TypeFromShown();
  if (started == 0) {
    started = 1;
    value = 0;
  }
  if (value < kLargestTyped) value = static_cast<std::uint16_t>(value * 10 + digit);
}

void TemperatureEntry::Delete() {
  key = kTemperatureKeyDelete;
  TypeFromShown();
  if (started == 0) {
    started = 1;
    value = 0;
  }
  value /= 10;
}

void TemperatureEntry::Clear() {
  value = 0;
  fahrenheit_held = false;
}

void TemperatureEntry::Default() {
  key = kTemperatureKeyDefault;
  value = default_value;
  // The default is a stored value and counts as typed: the next digit adds to it rather than
  // starting afresh.
  fahrenheit_held = true;
  started = 1;
}

TemperatureEntry::Outcome TemperatureEntry::Accept(link::LinkShared& shared,
                                                   platform::Prompter& prompter) {
  const std::optional<std::uint16_t> stored = ValueToStore();
  if (!stored) {
    prompter.Ask("The value entered is out of range.", "WARNING!", platform::Buttons::kOk,
                 platform::kExclamation);
    return Outcome::kRefused;
  }
  link::SettingEdit edit(shared);
  edit.Load(record);
  edit.SetLe16(TargetOffset(), *stored);
  if (edit.CommitIfChanged(record) == link::CommitResult::kNotConnected) {
    prompter.Ask(kNotConnectedText, kNotConnectedCaption, platform::Buttons::kOk,
                 platform::kExclamation);
    return Outcome::kRefused;
  }
  return Outcome::kWritten;
}

TemperatureEntry::Outcome TemperatureEntry::Press(int control_id, link::LinkShared& shared,
                                                  platform::Prompter& prompter) {
  namespace id = temperature_entry_id;
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
    case id::kClear:
      Clear();
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

void PaintTemperatureEntry(platform::Canvas& canvas, const TemperatureEntry& entry) {
  const char unit = UnitLetter(entry.celsius);
  const auto shown = [&](int fahrenheit) {
    return entry.celsius ? platform::fahrenheit_to_celsius(fahrenheit) : fahrenheit;
  };
  // The limits, so the operator knows what will be taken before pressing ACCEPT.
  canvas.SetFont(platform::Font{15, 700});
  canvas.SetTextColour(platform::Bgr(0x000000));
  canvas.SetBackgroundMode(platform::BackgroundMode::kTransparent);
  char line[40];
  const int left = 12;
  std::snprintf(line, sizeof line, "Max %d \xB0%c", shown(entry.max), unit);
  canvas.TextAt(platform::Point{left, 44}, line);
  std::snprintf(line, sizeof line, "Min %d \xB0%c", shown(entry.min), unit);
  canvas.TextAt(platform::Point{left, 66}, line);
  std::snprintf(line, sizeof line, "Default %d \xB0%c", shown(entry.default_value), unit);
  canvas.TextAt(platform::Point{left, 88}, line);

  char value[32];
  std::snprintf(value, sizeof value, " %03d \xB0%c ", entry.Shown(), unit);
  const platform::Rect box = platform::Rect::FromEdges(150, 40, 398, 110);
  canvas.FillRect(box, platform::Bgr(0x000000));
  canvas.SetFont(platform::Font{60, 900});
  canvas.SetTextColour(platform::Rgb(50, 0, 250));
  canvas.SetBackgroundMode(platform::BackgroundMode::kOpaque);
  canvas.SetBackgroundColour(platform::Bgr(0x000000));
  canvas.Text(box, value, platform::kAlignRight | platform::kAlignVCentre | platform::kSingleLine);
}

}  // namespace orvandry::setup
