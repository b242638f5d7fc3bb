#pragma once

#include <QFont>
#include <QImage>
#include <QPainter>
#include <QRegion>
#include <optional>

#include "platform/canvas.h"

namespace orvandry::resources {
class PictureLibrary;
}

namespace orvandry::platform {

// Draws with QPainter on an off-screen image. The canvas covers `area` of the image: its (0, 0) is
// the area's top-left corner and nothing is drawn outside the area, so a window can hand its client
// area to a screen's paint code while it draws its own frame around it.
class QtCanvas final : public Canvas {
 public:
  explicit QtCanvas(QImage& image);
  QtCanvas(QImage& image, Rect area);
  // Pictures come from `pictures` instead of the shared library (tests use their own).
  QtCanvas(QImage& image, Rect area, resources::PictureLibrary& pictures);
  QtCanvas(const QtCanvas&) = delete;
  QtCanvas& operator=(const QtCanvas&) = delete;

  Size GetSize() const override { return area_.GetSize(); }
  void FillRect(Rect rect, Colour colour) override;
  void Line(Point from, Point to, Colour colour, int pen_width = 1) override;
  void RectOutline(Rect rect, Colour colour, int pen_width = 1) override;
  void SetFont(Font font) override;
  void SetTextColour(Colour colour) override { text_colour_ = colour; }
  void SetBackgroundMode(BackgroundMode mode) override { background_mode_ = mode; }
  void SetBackgroundColour(Colour colour) override { background_ = colour; }
  void Text(Rect rect, std::string_view text, unsigned flags) override;
  void TextAt(Point at, std::string_view text) override;
  Size MeasureText(std::string_view text) const override;
  void Picture(int resource, Point at) override;
  void Picture(int resource, Rect into) override;
  void SetClip(Rect rect) override;
  void ClearClip() override;

  // Nothing is drawn outside `rect` (canvas coordinates) from now on, whatever the clip: a window
  // that repaints only what changed draws its whole paint code through this.
  void LimitTo(const QRegion& region);

 private:
  // `clipped`: nothing of the text is drawn outside `box`.
  void DrawText(const QRect& box, int qt_flags, std::string_view text, bool clipped);

  Rect area_;
  resources::PictureLibrary& pictures_;
  QPainter painter_;
  std::optional<QRegion> limit_;  // the area drawing may reach, when LimitTo narrowed it
  QFont font_;
  Font font_asked_;  // what font_ was made from: asking for it again changes nothing
  Colour text_colour_;
  BackgroundMode background_mode_ = BackgroundMode::kOpaque;
  Colour background_;
};

}  // namespace orvandry::platform
