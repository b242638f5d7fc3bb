#pragma once

namespace orvandry::platform {

// A stored whole-degree Fahrenheit value as shown in Celsius: (F - 32) x 5 / 9 in integer
// arithmetic, truncated toward zero (212 -> 100, 0 -> -17).
constexpr int fahrenheit_to_celsius(int fahrenheit) {
  return (fahrenheit - 32) * 5 / 9;
}

}  // namespace orvandry::platform
