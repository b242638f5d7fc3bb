#include "platform/window_frame.h"

#include <algorithm>

#include "platform/qt_canvas.h"
#include "platform/qt_conversions.h"

namespace orvandry::platform {

namespace {

// Classic panel colours: a navy caption bar with white text, grey bevels.
constexpr Colour kCaptionColour = Bgr(0x800000);
constexpr Colour kCaptionTextColour = Bgr(0xFFFFFF);
constexpr Colour kFaceColour = Bgr(0xC0C0C0);
constexpr Colour kLightColour = Bgr(0xFFFFFF);
constexpr Colour kShadowColour = Bgr(0x808080);
constexpr Colour kDarkShadowColour = Bgr(0x404040);
constexpr int kCaptionTextIndent = 4;

// A two-pixel bevel: `outer_*` on the outer ring, `inner_*` on the ring inside it.
void Bevel(QPainter& p, QRect r, Colour outer_top_left, Colour outer_bottom_right,
           Colour inner_top_left, Colour inner_bottom_right) {
  auto ring = [&p](QRect box, Colour top_left, Colour bottom_right) {
    p.fillRect(QRect(box.left(), box.top(), box.width(), 1), ToQColor(top_left));
    p.fillRect(QRect(box.left(), box.top(), 1, box.height()), ToQColor(top_left));
    p.fillRect(QRect(box.left(), box.bottom(), box.width(), 1), ToQColor(bottom_right));
    p.fillRect(QRect(box.right(), box.top(), 1, box.height()), ToQColor(bottom_right));
  };
  ring(r, outer_top_left, outer_bottom_right);
  ring(r.adjusted(1, 1, -1, -1), inner_top_left, inner_bottom_right);
}

}  // namespace

Rect ClientRectFor(Size window, unsigned frame) {
  Rect r{0, 0, window.w, window.h};
  auto inset = [&r](int left, int top, int right, int bottom) {
    r = Rect{r.x + left, r.y + top, std::max(0, r.w - left - right),
             std::max(0, r.h - top - bottom)};
  };
  if (frame & kDialogFrame)
    inset(kDialogFrameWidth, kDialogFrameWidth, kDialogFrameWidth, kDialogFrameWidth);
  if (frame & kCaptionBar) inset(0, kCaptionBarHeight, 0, 0);
  if (frame & kSunkenEdge)
    inset(kSunkenEdgeWidth, kSunkenEdgeWidth, kSunkenEdgeWidth, kSunkenEdgeWidth);
  return r;
}

Size WindowSizeFor(Size client, unsigned frame) {
  int extra_w = 0;
  int extra_h = 0;
  if (frame & kDialogFrame) {
    extra_w += 2 * kDialogFrameWidth;
    extra_h += 2 * kDialogFrameWidth;
  }
  if (frame & kCaptionBar) extra_h += kCaptionBarHeight;
  if (frame & kSunkenEdge) {
    extra_w += 2 * kSunkenEdgeWidth;
    extra_h += 2 * kSunkenEdgeWidth;
  }
  return Size{client.w + extra_w, client.h + extra_h};
}

void PaintFrame(QPainter& painter, Size window, unsigned frame, const QString& caption) {
  QRect r(0, 0, window.w, window.h);
  if (frame & kDialogFrame) {
    painter.fillRect(r, ToQColor(kFaceColour));
    Bevel(painter, r, kFaceColour, kDarkShadowColour, kLightColour, kShadowColour);
    r.adjust(kDialogFrameWidth, kDialogFrameWidth, -kDialogFrameWidth, -kDialogFrameWidth);
  }
  if (frame & kCaptionBar) {
    const QRect bar(r.left(), r.top(), r.width(), kCaptionBarHeight);
    painter.fillRect(bar, ToQColor(kCaptionColour));
    painter.setFont(MakeQFont(kCaptionFont));
    painter.setPen(ToQColor(kCaptionTextColour));
    painter.drawText(bar.adjusted(kCaptionTextIndent, 0, -kCaptionTextIndent, 0),
                     Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, caption);
    r.adjust(0, kCaptionBarHeight, 0, 0);
  }
  if ((frame & kSunkenEdge) && r.width() > 0 && r.height() > 0) {
    Bevel(painter, r, kShadowColour, kLightColour, kDarkShadowColour, kFaceColour);
  }
}

QImage RenderFramedWindow(Size window, unsigned frame, const QString& caption, Colour background,
                          const std::function<void(Canvas&)>& paint) {
  QImage image(window.w, window.h, QImage::Format_RGB32);
  {
    QPainter painter(&image);
    PaintFrame(painter, window, frame, caption);
  }
  const Rect client = ClientRectFor(window, frame);
  if (!client.IsEmpty()) {
    QtCanvas canvas(image, client);
    canvas.FillRect(Rect{0, 0, client.w, client.h}, background);
    paint(canvas);
  }
  return image;
}

}  // namespace orvandry::platform
