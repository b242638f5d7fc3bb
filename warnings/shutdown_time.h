#pragma once

#include <cstdint>

#include "warnings/shutdown_clock.h"

namespace orvandry::warnings {

// The stored time of a shutdown: 100-nanosecond units since 1 January 1601, counted from the local
// date and time as they read, without any time-zone shift. Histories written by earlier panels
// use the same count, so their records sort and export alongside new ones.
using ShutdownTime = std::uint64_t;

inline constexpr ShutdownTime kTicksPerSecond = 10'000'000;

// Fields out of range are not normalised; callers pass what a clock produced.
ShutdownTime ToShutdownTime(const LocalDateTime& local);

// The inverse; every count maps to a valid date (years past 9999 included).
LocalDateTime FromShutdownTime(ShutdownTime time);

}  // namespace orvandry::warnings
