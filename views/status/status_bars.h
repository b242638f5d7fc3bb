#pragma once

#include <string>

#include "link/byte_image.h"
#include "platform/canvas.h"
#include "platform/clock.h"

namespace orvandry::views {

// The one line the right status bar shows, decided from DryerState and the blink bit.
struct StatusLine {
  std::string text;  // empty: nothing is drawn at all
  platform::Colour colour;
  platform::Font font;
  unsigned flags = 0;  // TextFlags within kStatusTextRect
};

// Where the right bar's line sits, in client coordinates.
inline constexpr platform::Rect kStatusTextRect = platform::Rect::FromEdges(5, 0, 390, 45);

// The first matching rule wins: airswitch, centre adjust, moisture-control auto mode, temperature
// hold, loading, unloading, stopped / cooling down, started / unload hold.
StatusLine RightStatusLine(const link::ByteImage& state, bool blink_on, bool si_units);

// Fills the bar black and draws RightStatusLine.
void PaintRightStatusBar(platform::Canvas& canvas, const link::ByteImage& state, bool blink_on,
                         bool si_units);

// "7:05 PM" and "Tuesday  Mar 05, 2024", in the panel's English names.
std::string FormatStatusBarTime(const platform::LocalDateTime& now);
std::string FormatStatusBarDate(const platform::LocalDateTime& now);

// The clock, date and version, or the airflow-testing warning while any fan/heater reports its
// airflow test disabled.
void PaintLeftStatusBar(platform::Canvas& canvas, const link::ByteImage& state, bool blink_on,
                        const platform::LocalDateTime& now);

}  // namespace orvandry::views
