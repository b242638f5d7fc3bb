#pragma once

#include "platform/geometry.h"

namespace orvandry::platform {

// Dialog layouts are given in dialog units of the display's "System 8" base font: one horizontal
// unit is 1.5 px and one vertical unit 1.625 px. Results are rounded to the nearest pixel, halves
// away from zero, as the panel's own conversion does.
namespace detail {
constexpr int MulDivRounded(int value, int numerator, int denominator) {
  const long long product = static_cast<long long>(value) * numerator;
  const long long half = denominator / 2;
  return static_cast<int>(product >= 0 ? (product + half) / denominator
                                       : -((-product + half) / denominator));
}
}  // namespace detail

constexpr int DluToPixelsX(int dlu) {
  return detail::MulDivRounded(dlu, 3, 2);
}
constexpr int DluToPixelsY(int dlu) {
  return detail::MulDivRounded(dlu, 13, 8);
}

// A rectangle given as x, y, width, height in dialog units.
constexpr Rect DluRect(int x, int y, int w, int h) {
  return Rect{DluToPixelsX(x), DluToPixelsY(y), DluToPixelsX(w), DluToPixelsY(h)};
}

// Where a window of `size` goes to be centred over `parent`: x = parent.x + (parent.w - w) / 2,
// and likewise for y. A window larger than its parent would land at a negative position, partly
// off the panel; it is moved to 0 instead.
constexpr Point CentredOver(Rect parent, Size size) {
  const int x = parent.x + (parent.w - size.w) / 2;
  const int y = parent.y + (parent.h - size.h) / 2;
  return Point{x < 0 ? 0 : x, y < 0 ? 0 : y};
}

}  // namespace orvandry::platform
