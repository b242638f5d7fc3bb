#pragma once

#include <string_view>

#include "platform/canvas.h"

namespace orvandry::views {

// The smallest height a squeezed text is given; below it the text is cut at its box instead.
inline constexpr int kMinFittedHeight = 9;

// The lightest weight text is drawn in. The display's face renders weights below regular as
// hairlines that all but vanish in blue or olive on the black panel; the panel's own faces came
// in regular and bold only and drew such requests regular, which is what is drawn here too.
inline constexpr int kLightestShownWeight = 400;

// The font for one line of text that must fit `width` pixels: `font` itself when it fits,
// otherwise the largest lower height (same weight, not below kMinFittedHeight) that does.
// Long texts such as "TEMP HOLD... [- 10 °C]" or a three-digit reading in a narrow column would
// otherwise be cut at both ends of their box, which reads worse than a slightly smaller text.
platform::Font FitFont(platform::Canvas& canvas, std::string_view text, platform::Font font,
                       int width);

// Sets the fitted font (at least kLightestShownWeight) and draws the text on one line in `rect`;
// `fit_width` is the room the text may take: by default the rectangle less a 2-pixel margin on
// each side, so squeezed figures in neighbouring boxes never touch.
void DrawFitted(platform::Canvas& canvas, platform::Rect rect, std::string_view text,
                platform::Font font, unsigned flags, int fit_width = -1);

}  // namespace orvandry::views
