#include "service/system_info.h"

#include <cinttypes>
#include <cstdio>

namespace orvandry::service {

namespace {

constexpr const char* kWeekdays[7] = {"Sunday",   "Monday", "Tuesday", "Wednesday",
                                      "Thursday", "Friday", "Saturday"};
constexpr const char* kShortMonths[12] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                          "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};

// 25324953600 as "25,324,953,600": eleven digits read at a glance.
std::string Grouped(std::uint64_t value) {
  char digits[24];
  std::snprintf(digits, sizeof digits, "%" PRIu64, value);
  std::string text;
  const std::string_view all(digits);
  for (std::size_t i = 0; i < all.size(); ++i) {
    if (i != 0 && (all.size() - i) % 3 == 0) text += ',';
    text += all[i];
  }
  return text;
}

std::string Bytes(const char* label, std::optional<std::uint64_t> bytes) {
  return std::string(label) + ": " + (bytes ? Grouped(*bytes) + " Bytes" : "not reported");
}

}  // namespace

std::string FormatClockTime(const platform::LocalDateTime& t) {
  const int hour12 = t.hour % 12 == 0 ? 12 : t.hour % 12;
  char text[16];
  std::snprintf(text, sizeof text, "%d:%02d:%02d %s", hour12, t.minute, t.second,
                t.hour < 12 ? "AM" : "PM");
  return text;
}

std::string FormatLongDate(const platform::LocalDateTime& t) {
  const int weekday = platform::WeekdayOf(t.year, t.month, t.day);
  char text[48];
  std::snprintf(text, sizeof text, "%s  %s %02d, %d", kWeekdays[weekday],
                kShortMonths[(t.month - 1) % 12], t.day, t.year);
  return text;
}

SystemInfoTexts SystemInfoNow(const platform::LocalDateTime& now,
                              const std::optional<platform::MemoryFigures>& memory) {
  SystemInfoTexts texts;
  char version[24];
  std::snprintf(version, sizeof version, "VER: %d.%02d", 1, 10);
  texts.version = version;
  texts.time = FormatClockTime(now);
  texts.date = FormatLongDate(now);
  texts.ram_size =
      Bytes("RAM MEMORY SIZE", memory ? std::optional<std::uint64_t>(memory->total) : std::nullopt);
  texts.free_ram = Bytes("FREE RAM MEMORY",
                         memory ? std::optional<std::uint64_t>(memory->available) : std::nullopt);
  texts.copyright = "Copyright (C) 2026 Kelvra. All rights reserved.";
  return texts;
}

const std::vector<std::string_view>& ReleaseNoteLines() {
  static const std::vector<std::string_view> kLines = {
      "***************** Display Software - Version 1.10 ****************",
      "1.  Set Time / Date offers only dates that exist; the day of the week follows the date.",
      "2.  System information shows the panel's memory in full, beyond 4 GB.",
      "3.  Unload bushels, meter rolls output and sampler setup no longer cancel each other's "
      "pending changes, so a requested bushel counter clear always happens.",
      "",
      "***************** Display Software - Version 1.09 ****************",
      "1.  User settings: SAVE / RESTORE stays requested until the dryer has done it.",
      "2.  Remote connection setup keeps the dryer's other settings in the same byte.",
      "",
      "***************** Display Software - Version 1.08 ****************",
      "1.  Service dialogs sized for gloved fingers: every button at least 40 x 40 pixels.",
  };
  return kLines;
}

}  // namespace orvandry::service
