#include "platform/fitted_text.h"

#include <algorithm>

namespace orvandry::platform {

Font FitFont(Canvas& canvas, std::string_view text, Font font, int width, int min_height) {
  canvas.SetFont(font);
  const int measured = canvas.MeasureText(text).w;
  if (measured <= width || font.height <= min_height) return font;
  // Text width grows about linearly with the height: start from the proportional guess and step
  // down from there, so a big figure costs two or three measurements rather than twenty.
  font.height =
      std::clamp(font.height * std::max(width, 0) / measured, min_height, font.height - 1);
  canvas.SetFont(font);
  while (font.height > min_height && canvas.MeasureText(text).w > width) {
    --font.height;
    canvas.SetFont(font);
  }
  return font;
}

}  // namespace orvandry::platform
