#include "views/status/unload_status.h"

#include <array>
#include <cstdio>

#include "link/status_map.h"
#include "views/palette.h"
#include "views/status/fitted_text.h"

namespace orvandry::views {

namespace sm = link::status_map;
using platform::Bgr;
using platform::Colour;
using platform::Font;
using platform::Point;
using platform::Rect;

namespace {

using palette::kBlack;
using palette::kLineGrey;

constexpr Colour kFigureColour = Bgr(0xB9B973);
constexpr Colour kHighlight = Bgr(0xB9B9D7);
constexpr unsigned kLeft = platform::kAlignLeft | platform::kSingleLine;
constexpr unsigned kRight = platform::kAlignRight | platform::kSingleLine;
constexpr std::uint32_t kCounterUnitsPerBushel = 3600;

// The rate and the counters are shown as the controller counts them, in bushels: the window has
// no metric form, and the labels name the unit.

}  // namespace

void PaintUnloadStatus(platform::Canvas& canvas, const link::ByteImage& state) {
  const platform::Size size = canvas.GetSize();
  canvas.FillRect(Rect{0, 0, size.w, size.h}, kBlack);

  // Tenths, shown with one decimal: 125 -> "12.5", 7 -> " 0.7".
  const unsigned rate = state.GetBe16(sm::kMeteringRpm);
  char text[16];
  std::snprintf(text, sizeof text, "%2u.%u", rate / 10, rate % 10);
  canvas.SetTextColour(kFigureColour);
  canvas.SetBackgroundMode(platform::BackgroundMode::kTransparent);
  DrawFitted(canvas, Rect::FromEdges(0, 0, 120, 65), text, Font{70, 900}, kRight);

  canvas.Line(Point{235, 0}, Point{235, 190}, kLineGrey, 1);
  canvas.Line(Point{130, 5}, Point{130, 65}, kLineGrey, 1);
  canvas.Line(Point{0, 70}, Point{240, 70}, kLineGrey, 1);
}

void DrawBushelButton(platform::Canvas& canvas, const link::ByteImage& state) {
  canvas.FillRect(Rect{0, 0, kBushelButtonRect.w, kBushelButtonRect.h}, kBlack);
  canvas.SetTextColour(kFigureColour);
  canvas.SetBackgroundMode(platform::BackgroundMode::kTransparent);
  // The labels' boxes run under the figures, which start at x = 120: a label is squeezed to end
  // before its figure, so the two never run into each other.
  constexpr Font kFont{20, 400};
  constexpr int kLabelRoom = 120 - 5 - 3;
  char text[16];
  DrawFitted(canvas, Rect::FromEdges(5, 0, 130, 25), "Bushel/Hour:", kFont, kLeft, kLabelRoom);
  std::snprintf(text, sizeof text, "%u", static_cast<unsigned>(state.GetBe16(sm::kUnloadRate)));
  DrawFitted(canvas, Rect::FromEdges(120, 0, 170, 25), text, kFont, kLeft);
  DrawFitted(canvas, Rect::FromEdges(5, 20, 130, 40), "Total Bushels:", kFont, kLeft, kLabelRoom);
  std::snprintf(text, sizeof text, "%u",
                static_cast<unsigned>(state.GetU32(sm::kBushelCounter) / kCounterUnitsPerBushel));
  DrawFitted(canvas, Rect::FromEdges(120, 20, 270, 40), text, kFont, kLeft);
}

void DrawMeteringRollButton(platform::Canvas& canvas, const link::ByteImage& state) {
  canvas.FillRect(Rect{0, 0, kMeteringRollButtonRect.w, kMeteringRollButtonRect.h}, kBlack);
  canvas.SetBackgroundMode(platform::BackgroundMode::kOpaque);

  struct Preset {
    const char* pattern;
    sm::Offset offset;
    int selector;  // the value of byte 155 that makes this preset the active one
    Rect rect;
  };
  static constexpr std::array<Preset, 3> kPresets = {{
      {" HIGH: %04d ", sm::kMeteringSpeedHigh, 2, Rect::FromEdges(5, 0, 100, 20)},
      {" MED:  %04d ", sm::kMeteringSpeedMain, 1, Rect::FromEdges(5, 25, 100, 45)},
      {" LOW:  %04d ", sm::kMeteringSpeedLow, 0, Rect::FromEdges(5, 50, 100, 70)},
  }};
  const int selector = state.Get(sm::kMeteringSpeedShown);
  for (const Preset& preset : kPresets) {
    const bool active = preset.selector == selector;
    canvas.SetTextColour(active ? kBlack : kFigureColour);
    canvas.SetBackgroundColour(active ? kHighlight : kBlack);
    char text[16];
    std::snprintf(text, sizeof text, preset.pattern, state.Get(preset.offset) * 10);
    DrawFitted(canvas, preset.rect, text, Font{16, 900}, kLeft);
  }
}

}  // namespace orvandry::views
