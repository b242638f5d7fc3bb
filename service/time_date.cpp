#include "service/time_date.h"

#include <algorithm>

#include "platform/prompter.h"

namespace orvandry::service {

namespace {

namespace id = time_date_id;

constexpr const char* kMonths[12] = {" JANUARY",   " FEBRUARY", " MARCH",    " APRIL",
                                     " MAY",       " JUNE",     " JULY",     " AUGUST",
                                     " SEPTEMBER", " OCTOBER",  " NOVEMBER", " DECEMBER"};
constexpr const char* kWeekdays[7] = {" SUNDAY",   " MONDAY", " TUESDAY", " WEDNESDAY",
                                      " THURSDAY", " FRIDAY", " SATURDAY"};

int DaysInMonth(int year, int month) {
  constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
  return month == 2 && leap ? 29 : kDays[month - 1];
}

// value + step within first..last, wrapping both ways.
int Wrap(int value, int step, int first, int last) {
  const int span = last - first + 1;
  return first + ((value - first + step) % span + span) % span;
}

}  // namespace

void TimeDate::Open(const platform::LocalDateTime& now) {
  year_ = std::clamp(now.year, kFirstYear, kLastYear);
  month_ = std::clamp(now.month, 1, 12);
  day_ = std::max(now.day, 1);
  ClampDay();
  pm_ = now.hour >= 12;
  hour12_ = now.hour % 12 == 0 ? 12 : now.hour % 12;
  minute_ = std::clamp(now.minute, 0, 59);
}

void TimeDate::ClampDay() {
  day_ = std::min(day_, DaysInMonth(year_, month_));
}

platform::LocalDateTime TimeDate::ToLocal() const {
  platform::LocalDateTime t;
  t.year = year_;
  t.month = month_;
  t.day = day_;
  t.hour = hour12_ % 12 + (pm_ ? 12 : 0);
  t.minute = minute_;
  t.second = 0;
  t.weekday = Weekday();
  return t;
}

std::string TimeDate::MonthText() const {
  return kMonths[month_ - 1];
}

std::string TimeDate::WeekdayText() const {
  return kWeekdays[Weekday()];
}

TimeDate::Outcome TimeDate::Press(int control_id, platform::Clock& clock,
                                  platform::Prompter& prompter) {
  switch (control_id) {
    case id::kMonthUp:
    case id::kMonthDown:
      month_ = Wrap(month_, control_id == id::kMonthUp ? 1 : -1, 1, 12);
      ClampDay();
      break;
    case id::kDayUp:
    case id::kDayDown:
      day_ = Wrap(day_, control_id == id::kDayUp ? 1 : -1, 1, DaysInMonth(year_, month_));
      break;
    case id::kYearUp:
    case id::kYearDown:
      year_ = Wrap(year_, control_id == id::kYearUp ? 1 : -1, kFirstYear, kLastYear);
      ClampDay();
      break;
    case id::kHourUp:
    case id::kHourDown:
      hour12_ = Wrap(hour12_, control_id == id::kHourUp ? 1 : -1, 1, 12);
      break;
    case id::kMinuteUp:
    case id::kMinuteDown:
      minute_ = Wrap(minute_, control_id == id::kMinuteUp ? 1 : -1, 0, 59);
      break;
    case id::kAm:
      pm_ = false;
      break;
    case id::kPm:
      pm_ = true;
      break;
    case id::kAccept:
      return Accept(clock, prompter);
    case id::kCancel:
      return Outcome::kCancelled;
    default:
      break;
  }
  return Outcome::kKeepOpen;
}

TimeDate::Outcome TimeDate::Accept(platform::Clock& clock, platform::Prompter& prompter) {
  const platform::SetTimeResult result = clock.SetLocalTime(ToLocal());
  if (result == platform::SetTimeResult::kSet) return Outcome::kSet;
  const char* text = result == platform::SetTimeResult::kNotPermitted ? kClockNotPermittedText
                     : result == platform::SetTimeResult::kInvalid    ? kClockInvalidText
                                                                      : kClockFailedText;
  prompter.Ask(text, kClockCaption, platform::Buttons::kOk, platform::Icon::kError);
  return Outcome::kRefused;
}

}  // namespace orvandry::service
