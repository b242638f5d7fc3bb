#pragma once

#include "link/byte_image.h"
#include "platform/canvas.h"

namespace orvandry::views {

// The two owner-drawn buttons of the unload status window, in client coordinates.
inline constexpr int kBushelButtonId = 36871;        // shows the bushel figures; no command
inline constexpr int kMeteringRollButtonId = 36883;  // opens the metering-roll speed dialog
inline constexpr const char* kBushelButtonText = "UNLOAD_STATUS_SELECT_BUTTON";
inline constexpr const char* kMeteringRollButtonText = "UNLOAD_MR_SPEED_SELECT_BUTTON";
inline constexpr platform::Rect kBushelButtonRect{2, 72, 236, 76};
inline constexpr platform::Rect kMeteringRollButtonRect{132, 0, 108, 70};
inline constexpr int kMeteringSpeedDialog = 166;

// The window itself: the unload rate figure and the grey dividers.
void PaintUnloadStatus(platform::Canvas& canvas, const link::ByteImage& state);

// The bushel button's face in its own coordinates (0, 0 at its top-left): bushels per hour and
// the total bushel count.
void DrawBushelButton(platform::Canvas& canvas, const link::ByteImage& state);

// The metering-roll button's face in its own coordinates: the HIGH, MED and LOW presets, the
// one the controller is using highlighted.
void DrawMeteringRollButton(platform::Canvas& canvas, const link::ByteImage& state);

}  // namespace orvandry::views
