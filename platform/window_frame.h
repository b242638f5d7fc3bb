#pragma once

#include <QImage>
#include <QPainter>
#include <QString>
#include <functional>

#include "platform/canvas.h"

namespace orvandry::platform {

// The frame parts a window can have, outermost first: a raised dialog frame, a caption bar, a
// sunken edge around the client area. Combine with |.
enum FrameFlags : unsigned {
  kNoFrame = 0,
  kCaptionBar = 1,
  kSunkenEdge = 2,
  kDialogFrame = 4,
};

// One caption bar height for every window, so all screens line up the same way.
inline constexpr int kCaptionBarHeight = 20;
inline constexpr int kSunkenEdgeWidth = 2;
inline constexpr int kDialogFrameWidth = 3;
inline constexpr Font kCaptionFont{13, 700};

// What is left for the window's own drawing, in window coordinates.
Rect ClientRectFor(Size window, unsigned frame);

// The window size whose client area is `client`.
Size WindowSizeFor(Size client, unsigned frame);

// Draws the frame parts (not the client area) of a window of this size.
void PaintFrame(QPainter& painter, Size window, unsigned frame, const QString& caption);

// A whole window drawn off-screen in one go: the frame, the client area filled with its
// background, then `paint` on a canvas whose origin is the client area's top-left corner.
QImage RenderFramedWindow(Size window, unsigned frame, const QString& caption, Colour background,
                          const std::function<void(Canvas&)>& paint);

}  // namespace orvandry::platform
