#include "warnings/ui/warning_content.h"

#include <cstdio>
#include <string>

#include "link/link_cycle.h"
#include "link/status_map.h"
#include "platform/fitted_text.h"
#include "warnings/warning_text_table.h"

namespace orvandry::warnings::ui {
namespace {

namespace sm = link::status_map;
using platform::Font;
using platform::Point;
using platform::Rect;
using platform::Rgb;

constexpr std::uint8_t kEmergencyCoolingBit = 0x10;
constexpr std::uint8_t kCoolDownBit = 0x02;
constexpr char kDegreeSign = '\xB0';

constexpr platform::Colour kBackground = Rgb(100, 100, 100);
constexpr platform::Colour kRed = Rgb(255, 0, 0);
constexpr platform::Colour kBlue = Rgb(0, 0, 255);
constexpr platform::Colour kDarkRed = Rgb(175, 0, 0);
constexpr platform::Colour kPromptBlue = Rgb(0, 0, 200);

// Texts of the window are centred horizontally at the top of their rectangle.
constexpr unsigned kCentred = platform::kAlignCentre | platform::kAlignTop | platform::kSingleLine;

// The display's face runs wider than the panel's these lines were laid out for. A line that would
// be cut at the edges of its rectangle is set a little smaller instead: no word of a shutdown
// message may be lost.
constexpr int kSmallestFittedHeight = 10;

void FittedText(platform::Canvas& canvas, Rect rect, std::string_view text, Font font,
                unsigned flags) {
  platform::FitFont(canvas, text, font, rect.w, kSmallestFittedHeight);
  canvas.Text(rect, text, flags);
}

void CentredText(platform::Canvas& canvas, Rect rect, std::string_view text,
                 platform::Colour colour, Font font) {
  canvas.SetTextColour(colour);
  FittedText(canvas, rect, text, font, kCentred);
}

}  // namespace

void ReconnectMark::Step() {
  if (forward_) {
    if (position_ < kLast)
      ++position_;
    else
      forward_ = false;
  } else {
    if (position_ > 0)
      --position_;
    else
      forward_ = true;
  }
}

bool IsGrainOverheat(WarningCode code) {
  const std::uint8_t node = NodeIdOf(code);
  return WarningIdOf(code) == 5 && node >= 2 && node <= 7;
}

int SelectedGrainTemperature(const link::LinkShared& shared) {
  const auto& state = shared.dryer_state;
  // The readings are signed: a sensor below 0 degrees F reads negative, never as 65 thousand.
  switch (state.Get(sm::kGrainTempSelector)) {
    case 0:
      return state.GetT16(sm::kGrainTempSelector0);
    case 1:
      return state.GetT16(sm::kGrainTempSelector1);
    case 2:
      return state.GetT16(sm::kGrainTempSelector2);
    default:
      return 0;
  }
}

std::string_view WarningContent::Paint(platform::Canvas& canvas, link::LinkShared& shared,
                                       bool blink_on) {
  const platform::Size size = canvas.GetSize();
  canvas.FillRect(Rect{0, 0, size.w, size.h}, kBackground);
  canvas.SetBackgroundMode(platform::BackgroundMode::kTransparent);

  if (link::LinkLost(shared)) {
    // Release: whatever this thread wrote before is visible to the link when it sees the request.
    shared.reconnect_request.store(1, std::memory_order_release);
    PaintLinkLost(canvas);
    caption_ = kLinkLostCaption;
    return caption_;
  }
  const WarningCode code = MakeWarningCode(shared.dryer_state.Get(sm::kWarningNode),
                                           shared.dryer_state.Get(sm::kWarningId));
  if (code != kNoWarning) {
    canvas.Picture(517, Rect{20, 1, 100, 92});
    PaintWarning(canvas, shared, code, blink_on);
    caption_ = kWarningCaption;
  }
  // With neither, the window is about to be hidden; it keeps the caption it had.
  return caption_;
}

void WarningContent::PaintLinkLost(platform::Canvas& canvas) {
  constexpr Font kTryingFont{24, 700};
  canvas.SetTextColour(Rgb(0, 0, 150));
  FittedText(canvas, Rect::FromEdges(5, 5, 325, 50), "Trying to Reconnect...", kTryingFont,
             platform::kAlignLeft | platform::kAlignTop | platform::kSingleLine);

  if (step_requested_) {
    step_requested_ = false;
    mark_.Step();
  }
  canvas.Line(Point{105, 70}, Point{255, 70}, Rgb(0, 125, 0), 10);
  canvas.Line(Point{105, 65}, Point{255, 65}, Rgb(20, 50, 20), 1);
  canvas.Line(Point{105, 75}, Point{255, 75}, Rgb(20, 50, 20), 1);
  const int p = mark_.position();
  canvas.Line(Point{105 + 10 * p, 70}, Point{120 + 10 * p, 70}, Rgb(0, 0, 150), 6);

  canvas.Picture(259, Rect{30, 40, 100, 75});
  canvas.Picture(260, Rect{250, 20, 100, 124});
}

void WarningContent::PaintWarning(platform::Canvas& canvas, const link::LinkShared& shared,
                                  WarningCode code, bool blink_on) {
  const auto& state = shared.dryer_state;
  const std::uint8_t bits = state.Get(sm::kDryerStateBits);
  const bool emergency_cooling = (bits & kEmergencyCoolingBit) != 0;
  const bool cool_down = (bits & kCoolDownBit) != 0;

  canvas.Line(Point{25, 50}, Point{405, 50}, kRed, 2);
  canvas.Line(Point{25, 100}, Point{405, 100}, kRed, 2);

  CentredText(canvas, Rect::FromEdges(0, 65, 430, 80), WarningText(code), Rgb(255, 255, 255),
              Font{14, 300});

  if (blink_on) {
    const platform::Colour colour = emergency_cooling || cool_down ? kBlue : kRed;
    if (emergency_cooling) {
      CentredText(canvas, Rect::FromEdges(25, 0, 405, 25), "EMERGENCY COOLING", colour,
                  Font{30, 900});
    } else if (cool_down) {
      char title[32];
      std::snprintf(title, sizeof title, "COOL DOWN: %d:%02d", state.Get(sm::kCoolDownTimeLeft),
                    state.Get(sm::kCoolDownTimeLeft + 1));
      CentredText(canvas, Rect::FromEdges(25, 5, 405, 45), title, colour, Font{40, 900});
    } else {
      CentredText(canvas, Rect::FromEdges(25, 0, 405, 50), "WARNING!", colour, Font{50, 900});
    }
  }

  if (emergency_cooling) {
    char line[48];
    std::snprintf(line, sizeof line, "GRAIN TEMPERATURE: %d %c F", SelectedGrainTemperature(shared),
                  kDegreeSign);
    CentredText(canvas, Rect::FromEdges(25, 28, 405, 50), line, Rgb(0, 0, 100), Font{20, 500});
  }

  CentredText(canvas, Rect::FromEdges(25, 200, 405, 225), "PRESS STOP BUTTON TO CLEAR",
              Rgb(0, 255, 0), Font{16, 900});

  if (IsGrainOverheat(code)) {
    if (emergency_cooling) {
      CentredText(canvas, Rect::FromEdges(25, 220, 405, 250), "WARNING: CONTINUE TO MONITOR DRYER",
                  kDarkRed, Font{16, 900});
      CentredText(canvas, Rect::FromEdges(25, 270, 405, 290), "AND TEMPERATURES!", kDarkRed,
                  Font{16, 900});
    } else {
      CentredText(canvas, Rect::FromEdges(25, 220, 405, 250), "PRESS START FOR EMERGENCY COOLING",
                  kPromptBlue, Font{16, 900});
      CentredText(canvas, Rect::FromEdges(25, 250, 405, 270),
                  "WARNING: BEFORE ENTERING EMERGENCY COOLING INPSPECT", kDarkRed, Font{16, 900});
      CentredText(canvas, Rect::FromEdges(25, 270, 405, 290),
                  "DRYER FOR CAUSE OF TEMPERATURE HI LIMIT!", kDarkRed, Font{16, 900});
    }
  }
  if (cool_down) {
    CentredText(canvas, Rect::FromEdges(25, 220, 405, 250), "PRESS START TO RESTART DRYER",
                kPromptBlue, Font{16, 900});
  }
}

}  // namespace orvandry::warnings::ui
