#pragma once

#include "platform/colour.h"

// The panel's pure colours, as the views name them. Colours particular to one view stay with it.
namespace orvandry::views::palette {

inline constexpr platform::Colour kBlack = platform::Bgr(0x000000);
inline constexpr platform::Colour kWhite = platform::Bgr(0xFFFFFF);
inline constexpr platform::Colour kRed = platform::Bgr(0x0000FF);
inline constexpr platform::Colour kGreen = platform::Bgr(0x00FF00);
inline constexpr platform::Colour kBlue = platform::Bgr(0xFF0000);
inline constexpr platform::Colour kYellow = platform::Bgr(0x00FFFF);
// The solid grey of the views' dividing lines.
inline constexpr platform::Colour kLineGrey = platform::Bgr(0x969696);

// Legibility on the black panel, the same for every view.
//
// The lightest weight text is drawn in. The display's face renders weights below regular as
// hairlines that all but vanish in blue or olive on the black panel; the panel's own faces came
// in regular and bold only and drew such requests regular, which is what is drawn here too.
inline constexpr int kLightestShownWeight = 400;

// Pure blue, and any darker blue, is barely visible as text on black; such text is drawn in this
// lighter blue instead (same hue family, about the brightness of the panel's green).
inline constexpr platform::Colour kTextBlue = platform::Rgb(0x50, 0x8C, 0xFF);

// The colour text of `colour` is drawn in on the black panel: blues of 0xFF0000 and darker
// (no red, no green) become kTextBlue; every other colour is drawn as it is.
constexpr platform::Colour OnBlack(platform::Colour colour) {
  return colour.r == 0 && colour.g == 0 && colour.b != 0 ? kTextBlue : colour;
}

}  // namespace orvandry::views::palette
