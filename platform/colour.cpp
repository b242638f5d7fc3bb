#include "platform/colour.h"

#include <cstdio>
#include <ostream>

namespace orvandry::platform {

std::ostream& operator<<(std::ostream& out, Colour colour) {
  char text[16];
  std::snprintf(text, sizeof text, "0x%06X", static_cast<unsigned>(colour.ToBgr()));
  return out << text;
}

}  // namespace orvandry::platform
