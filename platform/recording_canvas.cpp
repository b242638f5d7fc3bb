#include "platform/recording_canvas.h"

#include <algorithm>
#include <cmath>
#include <ostream>
#include <sstream>
#include <utility>

namespace orvandry::platform {

namespace {

constexpr int kBoldFrom = 600;

const char* ModeName(BackgroundMode mode) {
  return mode == BackgroundMode::kOpaque ? "opaque" : "transparent";
}

}  // namespace

Size ApproximateTextSize(std::string_view text, Font font) {
  const double per_char = font.height * (font.weight >= kBoldFrom ? 0.6 : 0.55);
  return Size{static_cast<int>(std::lround(per_char * static_cast<double>(text.size()))),
              font.height};
}

RecordingCanvas::RecordingCanvas(Size size, TextMeasurer measurer)
    : size_(size), measurer_(std::move(measurer)) {}

void RecordingCanvas::FillRect(Rect rect, Colour colour) {
  calls_.emplace_back(FillRectCall{rect, colour});
}

void RecordingCanvas::Line(Point from, Point to, Colour colour, int pen_width) {
  calls_.emplace_back(LineCall{from, to, colour, pen_width});
}

void RecordingCanvas::RectOutline(Rect rect, Colour colour, int pen_width) {
  calls_.emplace_back(RectOutlineCall{rect, colour, pen_width});
}

void RecordingCanvas::Text(Rect rect, std::string_view text, unsigned flags) {
  calls_.emplace_back(TextCall{std::string(text), rect, rect.TopLeft(), flags, font_, text_colour_,
                               background_mode_, background_, clip_});
}

void RecordingCanvas::TextAt(Point at, std::string_view text) {
  calls_.emplace_back(TextCall{std::string(text), std::nullopt, at, 0, font_, text_colour_,
                               background_mode_, background_, clip_});
}

Size RecordingCanvas::MeasureText(std::string_view text) const {
  return measurer_(text, font_);
}

void RecordingCanvas::Picture(int resource, Point at) {
  calls_.emplace_back(PictureCall{resource, at, std::nullopt});
}

void RecordingCanvas::Picture(int resource, Rect into) {
  calls_.emplace_back(PictureCall{resource, into.TopLeft(), into});
}

void RecordingCanvas::SetClip(Rect rect) {
  clip_ = rect;
  calls_.emplace_back(ClipCall{rect});
}

void RecordingCanvas::ClearClip() {
  clip_.reset();
  calls_.emplace_back(ClipCall{std::nullopt});
}

const TextCall* RecordingCanvas::FindText(std::string_view text) const {
  for (const TextCall* call : All<TextCall>()) {
    if (call->text == text) return call;
  }
  return nullptr;
}

const TextCall* RecordingCanvas::FindTextContaining(std::string_view fragment) const {
  for (const TextCall* call : All<TextCall>()) {
    if (call->text.find(fragment) != std::string::npos) return call;
  }
  return nullptr;
}

std::vector<std::string> RecordingCanvas::Texts() const {
  std::vector<std::string> texts;
  for (const TextCall* call : All<TextCall>()) texts.push_back(call->text);
  return texts;
}

std::size_t RecordingCanvas::CountPicture(int resource) const {
  const auto pictures = All<PictureCall>();
  return static_cast<std::size_t>(
      std::count_if(pictures.begin(), pictures.end(),
                    [&](const PictureCall* p) { return p->resource == resource; }));
}

std::string RecordingCanvas::Describe() const {
  std::ostringstream out;
  for (const DrawCall& call : calls_) out << call << '\n';
  return out.str();
}

std::ostream& operator<<(std::ostream& out, const DrawCall& call) {
  struct Printer {
    std::ostream& out;
    void operator()(const FillRectCall& c) { out << "fill " << c.rect << ' ' << c.colour; }
    void operator()(const LineCall& c) {
      out << "line " << c.from << "-" << c.to << ' ' << c.colour << " width " << c.pen_width;
    }
    void operator()(const RectOutlineCall& c) {
      out << "rectangle " << c.rect << ' ' << c.colour << " width " << c.pen_width;
    }
    void operator()(const TextCall& c) {
      out << "text '" << c.text << "' ";
      if (c.rect) {
        out << "in " << *c.rect << " flags 0x" << std::hex << c.flags << std::dec;
      } else {
        out << "at " << c.at;
      }
      out << ' ' << c.colour << ' ' << c.font.height << '/' << c.font.weight << ' '
          << ModeName(c.background_mode);
      if (c.background_mode == BackgroundMode::kOpaque) out << " on " << c.background;
    }
    void operator()(const PictureCall& c) {
      out << "picture " << c.resource;
      if (c.into) {
        out << " into " << *c.into;
      } else {
        out << " at " << c.at;
      }
    }
    void operator()(const ClipCall& c) {
      if (c.clip) {
        out << "clip " << *c.clip;
      } else {
        out << "clip cleared";
      }
    }
  };
  std::visit(Printer{out}, call);
  return out;
}

}  // namespace orvandry::platform
