#pragma once

#include <cstdint>
#include <ctime>
#include <string>

namespace orvandry::alerts {

// One shutdown as it is sent: numbered from 1 in the order taken since the display started, so a
// receiver sees from a gap that older ones were dropped while the broker was out of reach.
struct ShutdownAlert {
  std::uint64_t seq = 0;
  std::uint16_t code = 0;  // node id high, warning id low
  std::string node;
  std::string text;
  std::string time;  // ISO 8601 with the local offset
};

// {"seq", "code": "0205", "node", "text", "time"}
std::string ShutdownJson(const ShutdownAlert& alert);

// {"online", "time"}: retained under link; the broker sends the offline one itself (the last will)
// when the display vanishes without saying goodbye, so it carries no time.
std::string LinkJson(bool online, const std::string& time);

// The local time as ISO 8601 with its offset: "2026-12-07T21:30:05+01:00".
std::string IsoLocalTime(std::time_t time);

}  // namespace orvandry::alerts
