#include "platform/drawn_changes.h"

#include <algorithm>
#include <optional>

#include "platform/qt_conversions.h"
#include "resources/picture_library.h"

namespace orvandry::platform {

namespace {

// The area a call can touch, or nothing when it cannot be told from the call alone.
std::optional<QRect> AreaOf(const DrawCall& call) {
  struct Visitor {
    std::optional<QRect> operator()(const FillRectCall& c) const {
      return ToQRect(c.rect).normalized();
    }
    std::optional<QRect> operator()(const RectOutlineCall& c) const { return ToQRect(c.rect); }
    std::optional<QRect> operator()(const LineCall& c) const {
      // Square caps reach half a pen beyond each end; a whole pen (and a pixel) is ample.
      const int reach = std::max(1, c.pen_width) + 1;
      return QRect(ToQPoint(c.from), ToQPoint(c.to))
          .normalized()
          .adjusted(-reach, -reach, reach, reach);
    }
    std::optional<QRect> operator()(const TextCall& c) const {
      // Text() never leaves its rectangle; TextAt() has none.
      if (!c.rect) return std::nullopt;
      const QRect box = ToQRect(*c.rect);
      // One line takes its measured width at its alignment, with room for the letters' overhang
      // (and the opaque box around it). Broken lines fill the rectangle.
      if ((c.flags & kWordBreak) != 0 || c.text.find('\n') != std::string::npos) return box;
      const int width = QtTextSize(c.text, c.font).w;
      const int overhang = c.font.height / 4 + 2;
      int left = box.left();
      switch (c.flags & kHorizontalMask) {
        case kAlignCentre:
          left += (box.width() - width) / 2;
          break;
        case kAlignRight:
          left = box.right() + 1 - width;
          break;
        default:
          break;
      }
      return QRect(left - overhang, box.top(), width + 2 * overhang, box.height()) & box;
    }
    std::optional<QRect> operator()(const PictureCall& c) const {
      if (c.into) return ToQRect(*c.into);
      // The size Image(resource) is drawn at, without making the image.
      return QRect(ToQPoint(c.at),
                   resources::SharedPictures().NaturalSize(c.resource).expandedTo(QSize(1, 1)));
    }
    std::optional<QRect> operator()(const ClipCall&) const { return std::nullopt; }
  };
  return std::visit(Visitor{}, call);
}

// Where a picture drawn in place of another at the same place changes the drawing: only where
// the two pictures' pixels differ. Nothing when the calls are not two pictures at one place.
std::optional<QRect> PictureSwapArea(const DrawCall& before, const DrawCall& now) {
  const auto* was = std::get_if<PictureCall>(&before);
  const auto* is = std::get_if<PictureCall>(&now);
  if (was == nullptr || is == nullptr || was->at != is->at || was->into != is->into)
    return std::nullopt;
  resources::PictureLibrary& pictures = resources::SharedPictures();
  QSize size;
  if (is->into) {
    size = QSize(is->into->w, is->into->h);
  } else {
    size = pictures.NaturalSize(is->resource);
    if (pictures.NaturalSize(was->resource) != size) return std::nullopt;
  }
  const QPoint origin = is->into ? ToQPoint(is->into->TopLeft()) : ToQPoint(is->at);
  return pictures.DifferingArea(was->resource, is->resource, size).translated(origin);
}

// The call from which on the drawing shows in `box`: the last opaque fill, or unscaled picture
// opaque all over the box, that covers the whole box, drawn while no clip is set (a clip could
// cut it, and the calls left out must leave no state behind). What is drawn before it is covered;
// 0 when nothing covers.
std::size_t FirstShownCall(const std::vector<DrawCall>& calls, const QRect& box) {
  std::size_t unclipped = calls.size();
  for (std::size_t i = 0; i < calls.size(); ++i) {
    if (std::holds_alternative<ClipCall>(calls[i])) {
      unclipped = i;
      break;
    }
  }
  resources::PictureLibrary& pictures = resources::SharedPictures();
  for (std::size_t i = unclipped; i-- > 0;) {
    if (const auto* fill = std::get_if<FillRectCall>(&calls[i])) {
      if (ToQRect(fill->rect).normalized().contains(box)) return i;  // colours are opaque
    } else if (const auto* picture = std::get_if<PictureCall>(&calls[i]);
               picture != nullptr && !picture->into) {
      if (pictures.OpaqueIn(picture->resource, box.translated(-ToQPoint(picture->at)))) return i;
    }
  }
  return 0;
}

}  // namespace

QRegion ChangedArea(const std::vector<DrawCall>& before, const std::vector<DrawCall>& now,
                    Size size) {
  const QRect whole(0, 0, size.w, size.h);
  if (before.size() != now.size()) return QRegion(whole);
  QRegion changed;
  for (std::size_t i = 0; i < now.size(); ++i) {
    if (before[i] == now[i]) continue;
    if (const std::optional<QRect> swap = PictureSwapArea(before[i], now[i])) {
      changed += *swap;
      continue;
    }
    const std::optional<QRect> was = AreaOf(before[i]);
    const std::optional<QRect> is = AreaOf(now[i]);
    if (!was || !is) return QRegion(whole);
    changed += *was;
    changed += *is;
  }
  return changed & whole;
}

void Replay(const std::vector<DrawCall>& calls, Canvas& canvas,
            const std::optional<QRegion>& only) {
  struct Visitor {
    Canvas& canvas;
    void operator()(const FillRectCall& c) const { canvas.FillRect(c.rect, c.colour); }
    void operator()(const LineCall& c) const { canvas.Line(c.from, c.to, c.colour, c.pen_width); }
    void operator()(const RectOutlineCall& c) const {
      canvas.RectOutline(c.rect, c.colour, c.pen_width);
    }
    void operator()(const TextCall& c) const {
      canvas.SetFont(c.font);
      canvas.SetTextColour(c.colour);
      canvas.SetBackgroundMode(c.background_mode);
      canvas.SetBackgroundColour(c.background);
      if (c.rect)
        canvas.Text(*c.rect, c.text, c.flags);
      else
        canvas.TextAt(c.at, c.text);
    }
    void operator()(const PictureCall& c) const {
      if (c.into)
        canvas.Picture(c.resource, *c.into);
      else
        canvas.Picture(c.resource, c.at);
    }
    void operator()(const ClipCall& c) const {
      if (c.clip)
        canvas.SetClip(*c.clip);
      else
        canvas.ClearClip();
    }
  };
  // Within one rectangle, what a later opaque call covers whole need not be drawn.
  const std::size_t first =
      only && only->rectCount() == 1 ? FirstShownCall(calls, only->boundingRect()) : 0;
  for (std::size_t i = first; i < calls.size(); ++i) {
    if (only) {
      const std::optional<QRect> area = AreaOf(calls[i]);
      if (area && !only->intersects(*area)) continue;
    }
    std::visit(Visitor{canvas}, calls[i]);
  }
}

}  // namespace orvandry::platform
