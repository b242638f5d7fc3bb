#include "platform/clock.h"

#include <cerrno>
#include <cstdio>
#include <ctime>
#include <ostream>

namespace orvandry::platform {

namespace {

constexpr long long kSecondsPerDay = 86400;

bool IsLeap(int year) {
  return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int DaysInMonth(int year, int month) {
  constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return month == 2 && IsLeap(year) ? 29 : kDays[month - 1];
}

// Days since 1970-01-01 of a proleptic Gregorian date, and back (H. Hinnant's algorithms).
long long DaysFromCivil(long long y, unsigned m, unsigned d) {
  y -= m <= 2;
  const long long era = (y >= 0 ? y : y - 399) / 400;
  const unsigned yoe = static_cast<unsigned>(y - era * 400);
  const unsigned doy = (153 * (m > 2 ? m - 3 : m + 9) + 2) / 5 + d - 1;
  const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + static_cast<long long>(doe) - 719468;
}

void CivilFromDays(long long z, int& year, int& month, int& day) {
  z += 719468;
  const long long era = (z >= 0 ? z : z - 146096) / 146097;
  const unsigned doe = static_cast<unsigned>(z - era * 146097);
  const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const unsigned mp = (5 * doy + 2) / 153;
  day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
  month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
  year = static_cast<int>(static_cast<long long>(yoe) + era * 400 + (month <= 2));
}

}  // namespace

bool IsValid(const LocalDateTime& t) {
  return t.year >= 1970 && t.year <= 9999 && t.month >= 1 && t.month <= 12 && t.day >= 1 &&
         t.day <= DaysInMonth(t.year, t.month) && t.hour >= 0 && t.hour < 24 && t.minute >= 0 &&
         t.minute < 60 && t.second >= 0 && t.second < 60;
}

int WeekdayOf(int year, int month, int day) {
  const long long days =
      DaysFromCivil(year, static_cast<unsigned>(month), static_cast<unsigned>(day));
  // 1970-01-01 was a Thursday (4).
  return static_cast<int>(((days % 7) + 7 + 4) % 7);
}

std::ostream& operator<<(std::ostream& out, const LocalDateTime& t) {
  char text[48];
  std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d:%02d (weekday %d)", t.year, t.month,
                t.day, t.hour, t.minute, t.second, t.weekday);
  return out << text;
}

LocalDateTime SystemClock::Now() const {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  return LocalDateTime{local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour,
                       local.tm_min,         local.tm_sec,     local.tm_wday};
}

std::ostream& operator<<(std::ostream& out, SetTimeResult result) {
  switch (result) {
    case SetTimeResult::kSet:
      return out << "set";
    case SetTimeResult::kInvalid:
      return out << "invalid";
    case SetTimeResult::kNotPermitted:
      return out << "not permitted";
    case SetTimeResult::kFailed:
      return out << "failed";
  }
  return out << "?";
}

SetTimeResult SystemClock::SetLocalTime(const LocalDateTime& t) {
  if (!IsValid(t)) return SetTimeResult::kInvalid;
  std::tm local{};
  local.tm_year = t.year - 1900;
  local.tm_mon = t.month - 1;
  local.tm_mday = t.day;
  local.tm_hour = t.hour;
  local.tm_min = t.minute;
  local.tm_sec = t.second;
  local.tm_isdst = -1;  // let the time zone decide
  const std::time_t when = std::mktime(&local);
  if (when == static_cast<std::time_t>(-1)) return SetTimeResult::kInvalid;
  const timespec ts{when, 0};
  if (clock_settime(CLOCK_REALTIME, &ts) == 0) return SetTimeResult::kSet;
  return errno == EPERM ? SetTimeResult::kNotPermitted : SetTimeResult::kFailed;
}

SetTimeResult FakeClock::SetLocalTime(const LocalDateTime& t) {
  ++set_calls_;
  if (fail_set_) return SetTimeResult::kNotPermitted;
  if (!IsValid(t)) return SetTimeResult::kInvalid;
  Set(t);
  return SetTimeResult::kSet;
}

void FakeClock::Set(const LocalDateTime& t) {
  now_ = t;
  now_.weekday = WeekdayOf(t.year, t.month, t.day);
}

void FakeClock::Advance(long long seconds) {
  const long long days =
      DaysFromCivil(now_.year, static_cast<unsigned>(now_.month), static_cast<unsigned>(now_.day));
  long long total =
      days * kSecondsPerDay + now_.hour * 3600LL + now_.minute * 60LL + now_.second + seconds;
  long long new_days = total / kSecondsPerDay;
  long long rest = total % kSecondsPerDay;
  if (rest < 0) {
    rest += kSecondsPerDay;
    --new_days;
  }
  LocalDateTime next;
  CivilFromDays(new_days, next.year, next.month, next.day);
  next.hour = static_cast<int>(rest / 3600);
  next.minute = static_cast<int>(rest / 60 % 60);
  next.second = static_cast<int>(rest % 60);
  Set(next);
}

}  // namespace orvandry::platform
