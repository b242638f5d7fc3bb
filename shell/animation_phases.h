#pragma once

#include <array>
#include <cstdint>

namespace orvandry::shell {

// The animation phases of the dryer picture, each 0, 1 or 2. The 100 ms tick advances them; the
// dryer picture reads them when it paints.
struct AnimationPhases {
  std::array<std::uint8_t, 6> fan{};  // fan/heater k at k - 1
  std::uint8_t loading = 0;
  std::uint8_t unloading_fast = 0;
  std::uint8_t unloading_slow = 0;
  std::uint8_t direction_a = 0;
  std::uint8_t direction_b = 0;
};

}  // namespace orvandry::shell
