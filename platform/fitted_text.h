#pragma once

#include <string_view>

#include "platform/canvas.h"

namespace orvandry::platform {

// The smallest height a squeezed text is given by default; below it the text is cut at its box.
inline constexpr int kMinFittedHeight = 9;

// Sets and returns the font for one line of `text` that fits `width` pixels: `font` itself when it
// fits, otherwise the largest lower height (same weight, not below `min_height`) that does. The
// views' layouts were made for the panel's narrower face; a figure or message cut at both ends of
// its box reads as a wrong value, a slightly smaller one does not.
Font FitFont(Canvas& canvas, std::string_view text, Font font, int width,
             int min_height = kMinFittedHeight);

}  // namespace orvandry::platform
