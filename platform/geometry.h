#pragma once

#include <iosfwd>

namespace orvandry::platform {

struct Point {
  int x = 0;
  int y = 0;
  friend constexpr bool operator==(Point, Point) = default;
};

struct Size {
  int w = 0;
  int h = 0;
  friend constexpr bool operator==(Size, Size) = default;
};

// A rectangle in pixels. Screens give rectangles either as x, y, width, height or as the edges
// (left, top)-(right, bottom) with right and bottom outside the rectangle; FromEdges takes the
// latter so both read as written.
struct Rect {
  int x = 0;
  int y = 0;
  int w = 0;
  int h = 0;

  static constexpr Rect FromEdges(int left, int top, int right, int bottom) {
    return Rect{left, top, right - left, bottom - top};
  }
  constexpr int Right() const { return x + w; }
  constexpr int Bottom() const { return y + h; }
  constexpr Point TopLeft() const { return Point{x, y}; }
  constexpr Size GetSize() const { return Size{w, h}; }
  constexpr bool IsEmpty() const { return w <= 0 || h <= 0; }
  constexpr bool Contains(Point p) const {
    return p.x >= x && p.x < Right() && p.y >= y && p.y < Bottom();
  }
  friend constexpr bool operator==(Rect, Rect) = default;
};

std::ostream& operator<<(std::ostream& out, Point p);
std::ostream& operator<<(std::ostream& out, Size s);
// Prints the edges "(l,t)-(r,b)", the way screens describe text rectangles.
std::ostream& operator<<(std::ostream& out, Rect r);

}  // namespace orvandry::platform
