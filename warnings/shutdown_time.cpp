#include "warnings/shutdown_time.h"

namespace orvandry::warnings {
namespace {

constexpr std::int64_t kSecondsPerDay = 86'400;
constexpr std::int64_t kTicksPerMillisecond = 10'000;
constexpr std::int64_t kDaysFrom0000To1601 = 584'694;  // from 0000-03-01 to 1601-01-01
constexpr std::int64_t kDaysPerEra = 146'097;          // 400 Gregorian years

// Days from 1601-01-01 for a proleptic Gregorian date (H. Hinnant's days-from-civil, shifted to
// start in March so the leap day is the last day of the year).
std::int64_t DaysSince1601(std::int64_t year, unsigned month, unsigned day) {
  year -= month <= 2 ? 1 : 0;
  const std::int64_t era = (year >= 0 ? year : year - 399) / 400;
  const auto year_of_era = static_cast<unsigned>(year - era * 400);
  const unsigned day_of_year = (153 * (month > 2 ? month - 3 : month + 9) + 2) / 5 + day - 1;
  const unsigned day_of_era = year_of_era * 365 + year_of_era / 4 - year_of_era / 100 + day_of_year;
  return era * kDaysPerEra + static_cast<std::int64_t>(day_of_era) - kDaysFrom0000To1601;
}

}  // namespace

ShutdownTime ToShutdownTime(const LocalDateTime& local) {
  const std::int64_t days = DaysSince1601(local.year, static_cast<unsigned>(local.month),
                                          static_cast<unsigned>(local.day));
  const std::int64_t seconds =
      days * kSecondsPerDay + local.hour * 3600 + local.minute * 60 + local.second;
  if (seconds < 0) return 0;
  return static_cast<ShutdownTime>(seconds) * kTicksPerSecond +
         static_cast<ShutdownTime>(local.millisecond) * kTicksPerMillisecond;
}

LocalDateTime FromShutdownTime(ShutdownTime time) {
  const ShutdownTime total_seconds = time / kTicksPerSecond;
  const auto days = static_cast<std::int64_t>(total_seconds / kSecondsPerDay);
  const auto second_of_day = static_cast<int>(total_seconds % kSecondsPerDay);

  // civil-from-days, counted from 0000-03-01.
  const std::int64_t z = days + kDaysFrom0000To1601;
  const std::int64_t era = z / kDaysPerEra;
  const auto day_of_era = static_cast<unsigned>(z - era * kDaysPerEra);
  const unsigned year_of_era =
      (day_of_era - day_of_era / 1460 + day_of_era / 36'524 - day_of_era / 146'096) / 365;
  const unsigned day_of_year =
      day_of_era - (365 * year_of_era + year_of_era / 4 - year_of_era / 100);
  const unsigned shifted_month = (5 * day_of_year + 2) / 153;
  const unsigned day = day_of_year - (153 * shifted_month + 2) / 5 + 1;
  const unsigned month = shifted_month < 10 ? shifted_month + 3 : shifted_month - 9;
  const std::int64_t year =
      static_cast<std::int64_t>(year_of_era) + era * 400 + (month <= 2 ? 1 : 0);

  LocalDateTime local;
  local.year = static_cast<int>(year);
  local.month = static_cast<int>(month);
  local.day = static_cast<int>(day);
  local.hour = second_of_day / 3600;
  local.minute = second_of_day / 60 % 60;
  local.second = second_of_day % 60;
  local.millisecond = static_cast<int>(time % kTicksPerSecond / kTicksPerMillisecond);
  return local;
}

}  // namespace orvandry::warnings
