#pragma once

#include <cstdint>

namespace orvandry::warnings {

// A local wall-clock date and time, as the operator set it on the panel. No time zone is attached:
// the shutdown history stores what the clock on the wall said.
struct LocalDateTime {
  int year = 1601;
  int month = 1;  // 1-12
  int day = 1;    // 1-31
  int hour = 0;   // 0-23
  int minute = 0;
  int second = 0;
  int millisecond = 0;

  friend bool operator==(const LocalDateTime&, const LocalDateTime&) = default;
};

// Where the recorder takes its time from. Two readings on purpose: the repeat hold-off runs on a
// monotonic count so that an operator setting the clock back cannot stretch or cut it, while the
// stored time stamp is the local wall-clock time. Tests substitute a clock they move by hand.
class ShutdownClock {
 public:
  virtual ~ShutdownClock() = default;
  // Seconds on a clock that never goes backwards; the origin is arbitrary.
  virtual std::int64_t SteadySeconds() const = 0;
  virtual LocalDateTime LocalNow() const = 0;
};

// The system's clocks: std::chrono::steady_clock and the local time of the process.
class SystemShutdownClock final : public ShutdownClock {
 public:
  std::int64_t SteadySeconds() const override;
  LocalDateTime LocalNow() const override;
};

}  // namespace orvandry::warnings
