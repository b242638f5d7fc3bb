#pragma once

#include <string_view>

#include "platform/colour.h"
#include "platform/geometry.h"

namespace orvandry::platform {

// A font as screens ask for it: a pixel height and a weight (100 thin .. 400 normal .. 700 bold ..
// 900 heavy) in the display's one default face. A weight of 0 means normal.
struct Font {
  int height = 12;
  int weight = 400;
  friend constexpr bool operator==(Font, Font) = default;
};

enum class BackgroundMode {
  kTransparent,  // text is drawn over whatever is there
  kOpaque,       // the text's own box is first filled with the background colour
};

// Text placement inside a rectangle. Combine one horizontal, one vertical and one line flag with |.
// The vertical alignment is honoured for word-broken text too (the text block is aligned).
enum TextFlags : unsigned {
  kAlignLeft = 0x00,
  kAlignCentre = 0x01,
  kAlignRight = 0x02,
  kAlignTop = 0x00,
  kAlignVCentre = 0x04,
  kAlignBottom = 0x08,
  kWordBreak = 0x10,
  kSingleLine = 0x20,
};
inline constexpr unsigned kHorizontalMask = kAlignCentre | kAlignRight;
inline constexpr unsigned kVerticalMask = kAlignVCentre | kAlignBottom;

// What every screen draws on. Coordinates are in the drawing window's client area. Text is the
// panel's 8-bit Latin-1 (write the degree sign as "\xB0"). Font, text colour and background are
// state, as on the panel: set them, then draw any number of texts.
class Canvas {
 public:
  virtual ~Canvas() = default;

  // The drawable area, at (0, 0).
  virtual Size GetSize() const = 0;

  virtual void FillRect(Rect rect, Colour colour) = 0;
  // A straight line of the given pen width between the two points, both end points included.
  virtual void Line(Point from, Point to, Colour colour, int pen_width = 1) = 0;
  // The outline of a rectangle, drawn inside it, pen_width pixels wide.
  virtual void RectOutline(Rect rect, Colour colour, int pen_width = 1) = 0;

  virtual void SetFont(Font font) = 0;
  virtual void SetTextColour(Colour colour) = 0;
  virtual void SetBackgroundMode(BackgroundMode mode) = 0;
  virtual void SetBackgroundColour(Colour colour) = 0;

  // Text placed in a rectangle by TextFlags; whatever falls outside the rectangle is cut off.
  virtual void Text(Rect rect, std::string_view text, unsigned flags) = 0;
  // Text whose top-left corner is at the point, on one line.
  virtual void TextAt(Point at, std::string_view text) = 0;
  // Width and height of one line of text in the current font.
  virtual Size MeasureText(std::string_view text) const = 0;

  // A picture from the resources by number: at its own size with its top-left at the point, or
  // scaled into a rectangle. An unknown number draws a visible placeholder.
  virtual void Picture(int resource, Point at) = 0;
  virtual void Picture(int resource, Rect into) = 0;

  // Restricts all following drawing to the rectangle (within the window) until ClearClip.
  virtual void SetClip(Rect rect) = 0;
  virtual void ClearClip() = 0;
};

}  // namespace orvandry::platform
