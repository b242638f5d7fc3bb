#include "platform/qt_conversions.h"

#include <QFontMetrics>
#include <algorithm>

namespace orvandry::platform {

namespace {
constexpr int kNormalWeight = 400;
constexpr int kLineHeightPercent = 86;
}  // namespace

QFont MakeQFont(Font font) {
  QFont q(QStringLiteral("DejaVu Sans"));
  q.setStyleHint(QFont::SansSerif);
  // A font height is the height of a whole text line (the panel's fonts were asked for by cell
  // height), and every layout is sized for that. DejaVu Sans' line is about 1.16 of its pixel size,
  // so the letters are set at 86 % of the height to fit the same boxes.
  q.setPixelSize(std::max(1, (font.height * kLineHeightPercent + 50) / 100));
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
