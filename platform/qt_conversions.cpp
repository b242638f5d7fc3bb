#include "platform/qt_conversions.h"

#include <QFontMetrics>
#include <algorithm>

namespace orvandry::platform {

namespace {
constexpr int kNormalWeight = 400;
}

QFont MakeQFont(Font font) {
  QFont q(QStringLiteral("DejaVu Sans"));
  q.setStyleHint(QFont::SansSerif);
  q.setPixelSize(std::max(1, font.height));
  // Qt's weights use the same 100..900 scale as the panel's.
  const int weight = font.weight <= 0 ? kNormalWeight : std::clamp(font.weight, 100, 900);
  q.setWeight(static_cast<QFont::Weight>(weight));
  return q;
}

Size QtTextSize(std::string_view text, Font font) {
  const QFontMetrics metrics(MakeQFont(font));
  return Size{metrics.horizontalAdvance(ToQString(text)), metrics.height()};
}

}  // namespace orvandry::platform
