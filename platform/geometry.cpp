#include "platform/geometry.h"

#include <ostream>

namespace orvandry::platform {

std::ostream& operator<<(std::ostream& out, Point p) {
  return out << '(' << p.x << ',' << p.y << ')';
}

std::ostream& operator<<(std::ostream& out, Size s) {
  return out << s.w << 'x' << s.h;
}

std::ostream& operator<<(std::ostream& out, Rect r) {
  return out << '(' << r.x << ',' << r.y << ")-(" << r.Right() << ',' << r.Bottom() << ')';
}

}  // namespace orvandry::platform
