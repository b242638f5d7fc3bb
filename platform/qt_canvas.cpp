#include "platform/qt_canvas.h"

#include <QFontMetrics>
#include <map>
#include <set>
#include <tuple>

#include "platform/qt_conversions.h"
#include "resources/picture_library.h"

namespace orvandry::platform {

namespace {

int ToQtTextFlags(unsigned flags) {
  int qt = 0;
  switch (flags & kHorizontalMask) {
    case kAlignCentre:
      qt |= Qt::AlignHCenter;
      break;
    case kAlignRight:
      qt |= Qt::AlignRight;
      break;
    default:
      qt |= Qt::AlignLeft;
  }
  switch (flags & kVerticalMask) {
    case kAlignVCentre:
      qt |= Qt::AlignVCenter;
      break;
    case kAlignBottom:
      qt |= Qt::AlignBottom;
      break;
    default:
      qt |= Qt::AlignTop;
  }
  // Single line wins when both are asked for: a line break inside would otherwise move the text.
  if (flags & kSingleLine) {
    qt |= Qt::TextSingleLine;
  } else if (flags & kWordBreak) {
    qt |= Qt::TextWordWrap;
  }
  return qt;
}

// Letters larger than this Qt does not keep in its glyph cache: it fills their outlines anew on
// every paint, and hinting the outlines is the dear part of a paint of the main screen.
constexpr int kLargestCachedGlyph = 64;

// A large text met again, drawn onto a transparent picture of its box and kept for the next paint
// (a text met the first time gives a null image: it is drawn directly, as a live value seen once
// is not worth a picture). Laying the picture over the screen gives exactly the pixels that
// filling the outlines on the screen gives: the fill leaves the colour times each pixel's coverage
// with the coverage as alpha, and Qt blends that over the screen by the same rule it fills with.
QImage LargeTextPicture(const QFont& font, QSize box, int qt_flags, const QString& text,
                        QColor colour) {
  using Key = std::tuple<QString, int, int, int, int, int, QRgb>;
  static constexpr std::size_t kMaxKept = 16;  // a screen shows a few; live values come and go
  static constexpr std::size_t kMaxSeen = 64;
  thread_local std::map<Key, QImage> kept;
  thread_local std::set<Key> seen;
  const Key key{text,         font.pixelSize(), font.weight(), box.width(),
                box.height(), qt_flags,         colour.rgba()};
  if (const auto it = kept.find(key); it != kept.end()) return it->second;
  if (seen.insert(key).second) {
    if (seen.size() > kMaxSeen) seen = {key};
    return {};
  }
  QImage picture(box, QImage::Format_ARGB32_Premultiplied);
  picture.fill(Qt::transparent);
  {
    QPainter painter(&picture);
    painter.setFont(font);
    painter.setPen(colour);
    painter.drawText(QRect(QPoint(0, 0), box), qt_flags, text);
  }
  if (kept.size() >= kMaxKept) kept.clear();
  kept.emplace(key, picture);
  return picture;
}

}  // namespace

QtCanvas::QtCanvas(QImage& image) : QtCanvas(image, FromQRect(image.rect())) {}

QtCanvas::QtCanvas(QImage& image, Rect area) : QtCanvas(image, area, resources::SharedPictures()) {}

QtCanvas::QtCanvas(QImage& image, Rect area, resources::PictureLibrary& pictures)
    : area_(area),
      pictures_(pictures),
      painter_(&image),
      font_(MakeQFont(Font{})),
      text_colour_(Bgr(0x000000)),
      background_(Bgr(0xFFFFFF)) {
  painter_.translate(area.x, area.y);
  ClearClip();
  painter_.setFont(font_);
}

void QtCanvas::FillRect(Rect rect, Colour colour) {
  painter_.fillRect(ToQRect(rect), ToQColor(colour));
}

void QtCanvas::Line(Point from, Point to, Colour colour, int pen_width) {
  QPen pen(ToQColor(colour));
  pen.setWidth(std::max(1, pen_width));
  pen.setCapStyle(Qt::SquareCap);
  painter_.setPen(pen);
  painter_.drawLine(ToQPoint(from), ToQPoint(to));
}

void QtCanvas::RectOutline(Rect rect, Colour colour, int pen_width) {
  // Drawn as four bands inside the rectangle, so a thick outline never spills over its neighbours.
  const int width = std::max(1, std::min({pen_width, rect.w, rect.h}));
  if (rect.IsEmpty()) return;
  const QColor q = ToQColor(colour);
  painter_.fillRect(QRect(rect.x, rect.y, rect.w, width), q);
  painter_.fillRect(QRect(rect.x, rect.Bottom() - width, rect.w, width), q);
  painter_.fillRect(QRect(rect.x, rect.y, width, rect.h), q);
  painter_.fillRect(QRect(rect.Right() - width, rect.y, width, rect.h), q);
}

void QtCanvas::SetFont(Font font) {
  if (font == font_asked_) return;
  font_asked_ = font;
  font_ = MakeQFont(font);
  painter_.setFont(font_);
}

void QtCanvas::DrawText(const QRect& box, int qt_flags, std::string_view text, bool clipped) {
  const QString q = ToQString(text);
  if (background_mode_ == BackgroundMode::kOpaque) {
    painter_.fillRect(painter_.boundingRect(box, qt_flags, q), ToQColor(background_));
  }
  // A kept picture ends at the box, so only a text cut at its box may come from one.
  if (clipped && font_.pixelSize() > kLargestCachedGlyph && !box.isEmpty()) {
    if (const QImage picture =
            LargeTextPicture(font_, box.size(), qt_flags, q, ToQColor(text_colour_));
        !picture.isNull()) {
      painter_.drawImage(box.topLeft(), picture);
      return;
    }
  }
  painter_.setPen(ToQColor(text_colour_));
  painter_.drawText(box, qt_flags, q);
}

void QtCanvas::Text(Rect rect, std::string_view text, unsigned flags) {
  // Text never leaves its rectangle: clip to the intersection with the current clip.
  painter_.save();
  painter_.setClipRect(ToQRect(rect), Qt::IntersectClip);
  DrawText(ToQRect(rect), ToQtTextFlags(flags), text, true);
  painter_.restore();
}

void QtCanvas::TextAt(Point at, std::string_view text) {
  const QSize size = QFontMetrics(font_).size(Qt::TextSingleLine, ToQString(text));
  DrawText(QRect(ToQPoint(at), size), Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, text,
           false);
}

Size QtCanvas::MeasureText(std::string_view text) const {
  return QtTextSize(text, font_asked_);  // font_ is made from font_asked_
}

void QtCanvas::Picture(int resource, Point at) {
  painter_.drawImage(ToQPoint(at), pictures_.Image(resource));
}

void QtCanvas::Picture(int resource, Rect into) {
  if (into.IsEmpty()) return;
  painter_.drawImage(ToQPoint(into.TopLeft()), pictures_.Image(resource, QSize(into.w, into.h)));
}

void QtCanvas::SetClip(Rect rect) {
  ClearClip();
  painter_.setClipRect(ToQRect(rect), Qt::IntersectClip);
}

void QtCanvas::ClearClip() {
  if (limit_)
    painter_.setClipRegion(*limit_);
  else
    painter_.setClipRect(QRect(0, 0, area_.w, area_.h));
}

void QtCanvas::LimitTo(const QRegion& region) {
  limit_ = region & QRect(0, 0, area_.w, area_.h);
  ClearClip();
}

}  // namespace orvandry::platform
