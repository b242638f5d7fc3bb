#pragma once

#include <string_view>

#include "platform/canvas.h"
#include "platform/fitted_text.h"
#include "views/palette.h"

namespace orvandry::views {

using palette::kLightestShownWeight;

using platform::FitFont;
using platform::kMinFittedHeight;

// Sets the fitted font (at least kLightestShownWeight) and draws the text on one line in `rect`;
// `fit_width` is the room the text may take: by default the rectangle less a 2-pixel margin on
// each side, so squeezed figures in neighbouring boxes never touch.
void DrawFitted(platform::Canvas& canvas, platform::Rect rect, std::string_view text,
                platform::Font font, unsigned flags, int fit_width = -1);

}  // namespace orvandry::views
