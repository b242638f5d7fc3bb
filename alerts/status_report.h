#pragma once

#include <string>
#include <string_view>

#include "link/link_shared.h"

namespace orvandry::alerts {

// The values an operator reads on the main screen, named, in the panel's units (°C when the panel
// shows SI units, else °F), as one JSON object:
//   {"time", "units": {"temperature", "moisture", "unload_rate", "roll_speed"},
//    "link": "waiting" | "up" | "lost", "running", "warning": null | {"code", "node", "text"},
//    "plenums": [{"fan_heater", "setpoint", "reading"}...], "grain_temp_setpoint",
//    "moisture_outgoing", "moisture_incoming", "moisture_setpoint", "metering_roll_rpm",
//    "bushels_per_hour", "total_bushels"}
// Free of any transport: the MQTT status and a web status page serve the same text. Reads the
// shared records only (safe from any thread); `time` is written as given.
std::string StatusJson(const link::LinkShared& shared, std::string_view time);

// The number of fan/heaters the configuration code stands for (1, 2, 3, 4 or 6).
int FanHeaterCount(std::uint8_t fan_count_code);

}  // namespace orvandry::alerts
