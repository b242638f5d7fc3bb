#pragma once

#include <cstdint>
#include <iosfwd>

namespace orvandry::platform {

// One colour of the panel. Screens write colours in two notations: the panel's colour word
// 0xBBGGRR (blue in the high byte, so 0x0000FF is red) and (r, g, b) triples. Each notation has
// exactly one helper below, and everything that draws converts from this type alone, so a swapped
// byte order can only ever be wrong in one place.
struct Colour {
  std::uint8_t r = 0;
  std::uint8_t g = 0;
  std::uint8_t b = 0;

  // The colour as the panel's 0xBBGGRR word.
  constexpr std::uint32_t ToBgr() const {
    return static_cast<std::uint32_t>(b) << 16 | static_cast<std::uint32_t>(g) << 8 | r;
  }
  friend constexpr bool operator==(Colour, Colour) = default;
};

// The panel's colour word. The top byte carries no colour and is ignored.
constexpr Colour Bgr(std::uint32_t bbggrr) {
  return Colour{static_cast<std::uint8_t>(bbggrr & 0xFF),
                static_cast<std::uint8_t>((bbggrr >> 8) & 0xFF),
                static_cast<std::uint8_t>((bbggrr >> 16) & 0xFF)};
}

constexpr Colour Rgb(std::uint8_t r, std::uint8_t g, std::uint8_t b) {
  return Colour{r, g, b};
}

// Prints "0xBBGGRR", the notation most screens use, so failing assertions read like the screen's
// own description.
std::ostream& operator<<(std::ostream& out, Colour colour);

}  // namespace orvandry::platform
