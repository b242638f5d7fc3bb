#pragma once

#include <iosfwd>

namespace orvandry::platform {

// A local date and time as the panel keeps it.
struct LocalDateTime {
  int year = 2000;
  int month = 1;  // 1..12
  int day = 1;    // 1..31
  int hour = 0;
  int minute = 0;
  int second = 0;
  int weekday = 6;  // 0 = Sunday .. 6 = Saturday; 1 January 2000 was a Saturday
  friend constexpr bool operator==(const LocalDateTime&, const LocalDateTime&) = default;
};

// True when the fields name a real calendar date and time (the weekday is not checked).
bool IsValid(const LocalDateTime& t);
// 0 = Sunday .. 6 = Saturday, proleptic Gregorian.
int WeekdayOf(int year, int month, int day);

std::ostream& operator<<(std::ostream& out, const LocalDateTime& t);

// What an attempt to set the clock came to. Only kSet changed the time.
enum class SetTimeResult {
  kSet,
  kInvalid,       // the fields name no real date and time
  kNotPermitted,  // this process may not change the system time
  kFailed,        // the system refused for another reason
};

std::ostream& operator<<(std::ostream& out, SetTimeResult result);

class Clock {
 public:
  virtual ~Clock() = default;
  virtual LocalDateTime Now() const = 0;
  // Sets the local time (the weekday is ignored). Never throws: on anything but kSet the display
  // carries on with the old time.
  virtual SetTimeResult SetLocalTime(const LocalDateTime& t) = 0;
};

// The system's clock in the local time zone. Setting it needs the right to change the system time
// (root, or CAP_SYS_TIME); without it SetLocalTime reports kNotPermitted.
class SystemClock final : public Clock {
 public:
  LocalDateTime Now() const override;
  SetTimeResult SetLocalTime(const LocalDateTime& t) override;
};

// A clock for tests: stands still until set or advanced.
class FakeClock final : public Clock {
 public:
  FakeClock() = default;
  // The weekday of `start` is recomputed from its date.
  explicit FakeClock(const LocalDateTime& start) { Set(start); }

  LocalDateTime Now() const override { return now_; }
  // Validates and sets like the real clock, unless told to refuse; counts every attempt.
  SetTimeResult SetLocalTime(const LocalDateTime& t) override;

  // Sets the time directly (the weekday is recomputed from the date).
  void Set(const LocalDateTime& t);
  // Moves the time by whole seconds, forward or back, across days, months and years.
  void Advance(long long seconds);

  // true: every attempt is refused as a process without the right to set the clock is.
  void SetFailSetLocalTime(bool fail) { fail_set_ = fail; }
  int SetLocalTimeCalls() const { return set_calls_; }

 private:
  LocalDateTime now_;
  bool fail_set_ = false;
  int set_calls_ = 0;
};

}  // namespace orvandry::platform
