#pragma once

#include <string>

#include "platform/clock.h"

namespace orvandry::platform {
class Prompter;
}

namespace orvandry::service {

// Controls of the set time / date dialog (template 199).
namespace time_date_id {
inline constexpr int kTemplate = 199;
inline constexpr int kMonth = 1146;
inline constexpr int kDay = 1147;
inline constexpr int kYear = 1148;
inline constexpr int kWeekday = 1149;
inline constexpr int kHour = 1150;
inline constexpr int kMinute = 1151;
inline constexpr int kAmPm = 1152;
inline constexpr int kMonthUp = 1056;
inline constexpr int kMonthDown = 1055;
inline constexpr int kDayUp = 1058;
inline constexpr int kDayDown = 1057;
inline constexpr int kYearUp = 1060;
inline constexpr int kYearDown = 1059;
inline constexpr int kHourUp = 1210;
inline constexpr int kHourDown = 1211;
inline constexpr int kMinuteUp = 1046;
inline constexpr int kMinuteDown = 1045;
inline constexpr int kAm = 1048;
inline constexpr int kPm = 1047;
inline constexpr int kAccept = 1008;
inline constexpr int kCancel = 1009;
// The panel clock as it runs, above the fields; no id of the dryer's.
inline constexpr int kNow = 1299;
}  // namespace time_date_id

inline constexpr const char* kTimeDateCaption = "Set Time / Date - 18";
inline constexpr int kFirstYear = 2000;
inline constexpr int kLastYear = 2050;

// The set time / date dialog's rules: the panel's local time on a 12-hour clock, stepped field by
// field. Only real dates can be chosen: the day steps within the month's length (leap years
// included), and a change of month or year that leaves the day past the month's end brings it back
// to the last day. The day of the week follows the date. ACCEPT sets the clock (seconds 0).
class TimeDate {
 public:
  enum class Outcome {
    kKeepOpen,
    kSet,      // the clock was set
    kRefused,  // the clock could not be set and says why; nothing changed
    kCancelled,
  };

  // Takes the clock's time now (a year outside 2000-2050 is brought to the nearest end).
  void Open(const platform::LocalDateTime& now);

  int Month() const { return month_; }
  int Day() const { return day_; }
  int Year() const { return year_; }
  int Weekday() const { return platform::WeekdayOf(year_, month_, day_); }
  int Hour12() const { return hour12_; }
  int Minute() const { return minute_; }
  bool Pm() const { return pm_; }
  // The fields as a 24-hour local time, seconds 0.
  platform::LocalDateTime ToLocal() const;

  std::string MonthText() const;    // " JANUARY" .. " DECEMBER"
  std::string WeekdayText() const;  // " SUNDAY" .. " SATURDAY"

  // One control by id, as the dialog forwards touches. Unknown ids are ignored.
  Outcome Press(int control_id, platform::Clock& clock, platform::Prompter& prompter);

 private:
  void ClampDay();
  Outcome Accept(platform::Clock& clock, platform::Prompter& prompter);

  int month_ = 1;
  int day_ = 1;
  int year_ = kFirstYear;
  int hour12_ = 12;
  int minute_ = 0;
  bool pm_ = false;
};

// What the dialog says when the clock refuses the time.
inline constexpr const char* kClockNotPermittedText =
    "The panel clock was NOT changed.\nThis program is not allowed to set the system time.\n"
    "Run the display with the right to set the clock (root) to set it here.";
inline constexpr const char* kClockInvalidText =
    "The panel clock was NOT changed.\nThat date does "
    "not exist.";
inline constexpr const char* kClockFailedText =
    "The panel clock was NOT changed.\nThe system refused the new time.";
inline constexpr const char* kClockCaption = " SET TIME / DATE";

}  // namespace orvandry::service
