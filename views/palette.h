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

}  // namespace orvandry::views::palette
