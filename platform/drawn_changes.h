#pragma once

#include <QRegion>
#include <optional>
#include <vector>

#include "platform/recording_canvas.h"

namespace orvandry::platform {

// Where two recordings of the same window's drawing differ, in the drawing's own coordinates: the
// areas of the calls that are not the same in both (where each was, and where it is now). A change
// whose area is not known (a different number of calls, a clip, a text placed at a point) is the
// whole `size`. Empty when both draw the same.
QRegion ChangedArea(const std::vector<DrawCall>& before, const std::vector<DrawCall>& now,
                    Size size);

// Draws recorded calls again on `canvas`, in order and with the state they were recorded with.
// With `only` (canvas coordinates; the canvas must not draw outside it), calls that cannot reach
// it are left out: they would be cut away whole, and laying out their texts is the dear part.
// Within a single rectangle, so are the calls an opaque fill or picture drawn later covers whole.
void Replay(const std::vector<DrawCall>& calls, Canvas& canvas,
            const std::optional<QRegion>& only = std::nullopt);

}  // namespace orvandry::platform
