#pragma once

#include <QColor>
#include <QFont>
#include <QPoint>
#include <QRect>
#include <QString>
#include <string_view>

#include "platform/canvas.h"

namespace orvandry::platform {

// The only bridges between the panel's plain values and Qt's types.

inline QColor ToQColor(Colour colour) {
  return QColor(colour.r, colour.g, colour.b);
}
inline QPoint ToQPoint(Point p) {
  return QPoint(p.x, p.y);
}
inline QRect ToQRect(Rect r) {
  return QRect(r.x, r.y, r.w, r.h);
}
inline Rect FromQRect(const QRect& r) {
  return Rect{r.x(), r.y(), r.width(), r.height()};
}

// The panel's texts are 8-bit Latin-1.
inline QString ToQString(std::string_view latin1) {
  return QString::fromLatin1(latin1.data(), static_cast<qsizetype>(latin1.size()));
}

// The display's one face at a pixel height and weight. The face is fixed (DejaVu Sans, falling back
// to the system's sans serif) so text measures the same on the panel, on a desktop and in tests.
QFont MakeQFont(Font font);

// One line of text measured with the real font.
Size QtTextSize(std::string_view text, Font font);

}  // namespace orvandry::platform
