#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/clock.h"
#include "platform/system_memory.h"

namespace orvandry::service {

// Controls of the system information dialog (template 440).
namespace system_info_id {
inline constexpr int kTemplate = 440;
inline constexpr int kVersion = 1245;
inline constexpr int kTime = 1246;
inline constexpr int kDate = 1247;
inline constexpr int kRamSize = 1248;
inline constexpr int kFreeRam = 1249;
inline constexpr int kCopyright = 1250;
inline constexpr int kExit = 1244;
}  // namespace system_info_id

inline constexpr const char* kSystemInfoCaption = " SYSTEM INFORMATION / SOFTWARE VERSION - 32";

// Controls of the software release information dialog (template 524).
namespace release_notes_id {
inline constexpr int kTemplate = 524;
inline constexpr int kNotes = 1331;  // the text of the notes; no id of the dryer's
inline constexpr int kExit = 1332;
}  // namespace release_notes_id

inline constexpr const char* kReleaseNotesCaption = "Software Release Information - 30";

// "9:05:07 PM": the hour on a 12-hour clock without a leading zero, then AM or PM.
std::string FormatClockTime(const platform::LocalDateTime& t);
// "Monday  Dec 07, 2026": the weekday, two spaces, the short month, the day and the year.
std::string FormatLongDate(const platform::LocalDateTime& t);

// What the system information dialog shows, as of one paint.
struct SystemInfoTexts {
  std::string version;
  std::string time;
  std::string date;
  std::string ram_size;
  std::string free_ram;
  std::string copyright;
};

// The texts for the clock's time now and the memory figures the system reports (nothing: the
// lines say the figure is not known).
SystemInfoTexts SystemInfoNow(const platform::LocalDateTime& now,
                              const std::optional<platform::MemoryFigures>& memory);

// The release notes, newest release first, one string per line of the dialog (long lines wrap).
const std::vector<std::string_view>& ReleaseNoteLines();

}  // namespace orvandry::service
