#pragma once

#include <string_view>

#include "link/link_shared.h"
#include "platform/canvas.h"
#include "warnings/warning_code.h"

namespace orvandry::warnings::ui {

// The captions the warning window switches between while it paints.
inline constexpr std::string_view kWarningCaption = " WARNING - DRYER SHUTTING DOWN!";
inline constexpr std::string_view kLinkLostCaption = " CONNECTION TO DRYER LOST!";

// Where the reconnect strip is; the shell repaints only this part of the window every 300 ms.
inline constexpr platform::Rect kReconnectStrip = platform::Rect::FromEdges(105, 65, 260, 75);

// The mark that runs back and forth along the reconnect strip while the link is down, so the
// operator can see the display is still trying. Positions 0..kLast; a step at either end only
// turns the direction, so the mark rests one step at each end.
class ReconnectMark {
 public:
  static constexpr int kLast = 13;

  void Step();
  int position() const { return position_; }
  bool forward() const { return forward_; }

 private:
  int position_ = 0;
  bool forward_ = true;
};

// Everything the warning window shows, painted from DryerState onto any canvas.
//
// While the link is lost the window shows only the lost connection, whatever warning was live
// before: the code is stale, and the one thing that matters is that the display no longer hears
// the dryer. Painting that state also asks the link to reconnect, on every paint, so the request
// stays up for as long as the state is on the screen.
class WarningContent {
 public:
  // Paints the client area and returns the caption the window must carry. `blink_on` is the
  // slow blink phase of the poll tick; the title shows only while it is on.
  std::string_view Paint(platform::Canvas& canvas, link::LinkShared& shared, bool blink_on);

  // Asks the next paint of the lost-link state to move the reconnect mark one step. The 100 ms
  // tick asks every 300 ms and repaints the strip.
  void RequestReconnectStep() { step_requested_ = true; }
  bool step_requested() const { return step_requested_; }
  const ReconnectMark& mark() const { return mark_; }

 private:
  void PaintLinkLost(platform::Canvas& canvas);
  void PaintWarning(platform::Canvas& canvas, const link::LinkShared& shared, WarningCode code,
                    bool blink_on);

  ReconnectMark mark_;
  bool step_requested_ = false;
  std::string_view caption_ = kWarningCaption;
};

// True for a burner grain overheat (warning 5 on a fan/heater): the case where emergency cooling
// can save the batch.
bool IsGrainOverheat(WarningCode code);

// The grain temperature emergency cooling watches: the one the grain temperature selector picks,
// in whole degrees Fahrenheit; 0 for a selector the controller does not define.
int SelectedGrainTemperature(const link::LinkShared& shared);

}  // namespace orvandry::warnings::ui
