#include "warnings/shutdown_clock.h"

#include <chrono>
#include <ctime>

namespace orvandry::warnings {

std::int64_t SystemShutdownClock::SteadySeconds() const {
  const auto since_origin = std::chrono::steady_clock::now().time_since_epoch();
  return std::chrono::duration_cast<std::chrono::seconds>(since_origin).count();
}

LocalDateTime SystemShutdownClock::LocalNow() const {
  const auto now = std::chrono::system_clock::now();
  const std::time_t seconds = std::chrono::system_clock::to_time_t(now);
  std::tm local{};
  localtime_r(&seconds, &local);
  const auto millis =
      std::chrono::duration_cast<std::chrono::milliseconds>(now.time_since_epoch()).count() % 1000;
  return LocalDateTime{local.tm_year + 1900,
                       local.tm_mon + 1,
                       local.tm_mday,
                       local.tm_hour,
                       local.tm_min,
                       local.tm_sec,
                       static_cast<int>(millis < 0 ? millis + 1000 : millis)};
}

}  // namespace orvandry::warnings
