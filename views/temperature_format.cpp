#include "views/temperature_format.h"

namespace orvandry::views {

std::string format_temperature(std::int16_t fahrenheit, bool si_units, bool degree_sign,
                               bool unit_letter) {
  std::string text = std::to_string(ShownTemperature(fahrenheit, si_units));
  if (!unit_letter) return text;  // the degree sign alone is never shown
  if (degree_sign) text += '\xB0';
  text += si_units ? 'C' : 'F';
  return text;
}

}  // namespace orvandry::views
