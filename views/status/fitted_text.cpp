#include "views/status/fitted_text.h"

#include <algorithm>

namespace orvandry::views {

platform::Font FitFont(platform::Canvas& canvas, std::string_view text, platform::Font font,
                       int width) {
  canvas.SetFont(font);
  const int measured = canvas.MeasureText(text).w;
  if (measured <= width) return font;
  // Text width grows about linearly with the height: start from the proportional guess and step
  // down from there, so a big figure costs two or three measurements rather than twenty.
  font.height = std::max(kMinFittedHeight, font.height * std::max(width, 0) / measured);
  canvas.SetFont(font);
  while (font.height > kMinFittedHeight && canvas.MeasureText(text).w > width) {
    --font.height;
    canvas.SetFont(font);
  }
  return font;
}

void DrawFitted(platform::Canvas& canvas, platform::Rect rect, std::string_view text,
                platform::Font font, unsigned flags, int fit_width) {
  constexpr int kMargin = 2;
  font.weight = std::max(font.weight, kLightestShownWeight);
  FitFont(canvas, text, font, fit_width < 0 ? std::max(rect.w - 2 * kMargin, 0) : fit_width);
  canvas.Text(rect, text, flags | platform::kSingleLine);
}

}  // namespace orvandry::views
