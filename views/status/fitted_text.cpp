#include "views/status/fitted_text.h"

#include <algorithm>

namespace orvandry::views {

void DrawFitted(platform::Canvas& canvas, platform::Rect rect, std::string_view text,
                platform::Font font, unsigned flags, int fit_width) {
  constexpr int kMargin = 2;
  font.weight = std::max(font.weight, kLightestShownWeight);
  FitFont(canvas, text, font, fit_width < 0 ? std::max(rect.w - 2 * kMargin, 0) : fit_width);
  canvas.Text(rect, text, flags | platform::kSingleLine);
}

}  // namespace orvandry::views
