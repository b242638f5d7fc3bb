#pragma once

#include <cstddef>
#include <functional>
#include <iosfwd>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "platform/canvas.h"

namespace orvandry::platform {

// The draw calls a RecordingCanvas keeps, as plain values a test can compare.
struct FillRectCall {
  Rect rect;
  Colour colour;
  friend bool operator==(const FillRectCall&, const FillRectCall&) = default;
};
struct LineCall {
  Point from;
  Point to;
  Colour colour;
  int pen_width = 1;
  friend bool operator==(const LineCall&, const LineCall&) = default;
};
struct RectOutlineCall {
  Rect rect;
  Colour colour;
  int pen_width = 1;
  friend bool operator==(const RectOutlineCall&, const RectOutlineCall&) = default;
};
// One text, with the state it was drawn in.
struct TextCall {
  std::string text;
  std::optional<Rect> rect;  // set for Text(), empty for TextAt()
  Point at;                  // TextAt()'s point; the rectangle's top-left for Text()
  unsigned flags = 0;        // TextFlags; 0 for TextAt()
  Font font;
  Colour colour;
  BackgroundMode background_mode = BackgroundMode::kOpaque;
  Colour background;
  std::optional<Rect> clip;

  friend bool operator==(const TextCall&, const TextCall&) = default;

  unsigned HorizontalAlignment() const { return flags & kHorizontalMask; }
  unsigned VerticalAlignment() const { return flags & kVerticalMask; }
};
struct PictureCall {
  int resource = 0;
  Point at;
  std::optional<Rect> into;  // set when scaled into a rectangle
  friend bool operator==(const PictureCall&, const PictureCall&) = default;
};
struct ClipCall {
  std::optional<Rect> clip;  // empty: clip cleared
  friend bool operator==(const ClipCall&, const ClipCall&) = default;
};

using DrawCall =
    std::variant<FillRectCall, LineCall, RectOutlineCall, TextCall, PictureCall, ClipCall>;

// Measures one line of text in a font.
using TextMeasurer = std::function<Size(std::string_view text, Font font)>;

// A fixed-width estimate: every character is 0.55 x height wide (0.6 from weight 600 on), one line
// is the font height. Layout code tested with it behaves the same for every font installation; a
// test that needs the real widths passes QtTextSize (qt_conversions.h) instead.
Size ApproximateTextSize(std::string_view text, Font font);

// A canvas that draws nothing and remembers every call, so tests can assert what a screen paints:
// "draws 'LOADING...  7:00' in 0x00FFFF, 34/900, centred in (5,0)-(390,45)".
// Its state starts as a fresh panel device context does: font 12/400, black text, opaque white
// background.
class RecordingCanvas final : public Canvas {
 public:
  explicit RecordingCanvas(Size size = Size{640, 480}, TextMeasurer measurer = ApproximateTextSize);

  Size GetSize() const override { return size_; }
  void FillRect(Rect rect, Colour colour) override;
  void Line(Point from, Point to, Colour colour, int pen_width = 1) override;
  void RectOutline(Rect rect, Colour colour, int pen_width = 1) override;
  void SetFont(Font font) override { font_ = font; }
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

  const std::vector<DrawCall>& Calls() const { return calls_; }
  void Clear() { calls_.clear(); }

  // Every call of one kind, in drawing order.
  template <class Call>
  std::vector<const Call*> All() const {
    std::vector<const Call*> found;
    for (const DrawCall& call : calls_) {
      if (const Call* c = std::get_if<Call>(&call)) found.push_back(c);
    }
    return found;
  }
  template <class Call>
  std::size_t Count() const {
    return All<Call>().size();
  }

  // The first text drawn with exactly this string, or null.
  const TextCall* FindText(std::string_view text) const;
  // The first text containing the fragment, or null.
  const TextCall* FindTextContaining(std::string_view fragment) const;
  // Every string drawn, in order: handy in failure messages and for "draws nothing else" checks.
  std::vector<std::string> Texts() const;
  // Number of pictures drawn with this resource number.
  std::size_t CountPicture(int resource) const;

  // One line per call; print it in a failing assertion to see what was drawn.
  std::string Describe() const;

 private:
  Size size_;
  TextMeasurer measurer_;
  std::vector<DrawCall> calls_;
  Font font_;
  Colour text_colour_ = Bgr(0x000000);
  BackgroundMode background_mode_ = BackgroundMode::kOpaque;
  Colour background_ = Bgr(0xFFFFFF);
  std::optional<Rect> clip_;
};

std::ostream& operator<<(std::ostream& out, const DrawCall& call);

}  // namespace orvandry::platform
