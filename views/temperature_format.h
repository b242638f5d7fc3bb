#pragma once

#include <cstdint>
#include <string>

#include "platform/temperature_units.h"

namespace orvandry::views {

// Whole degrees F to whole degrees C, truncated toward zero: 212 -> 100, 0 -> -17, -40 -> -40.
// Every temperature shown in SI units goes through this one function.
using platform::fahrenheit_to_celsius;

// A stored degrees-F value as the views show it, converted when the display shows SI units:
// with the degree sign and the unit letter "180\xB0F", with the letter alone "180F", otherwise the
// bare number. Texts are Latin-1 (0xB0 is the degree sign).
std::string format_temperature(std::int16_t fahrenheit, bool si_units, bool degree_sign,
                               bool unit_letter);

// The value shown for a stored degrees-F value, in the display's units.
constexpr int ShownTemperature(int fahrenheit, bool si_units) {
  return si_units ? fahrenheit_to_celsius(fahrenheit) : fahrenheit;
}

}  // namespace orvandry::views
