#pragma once

#include <string>

#include "link/byte_image.h"
#include "platform/canvas.h"

namespace orvandry::views {

// The five arrangements of the plenum panel, one per fan/heater count; kNone for a fan count code
// the dryer does not define (the panel stays black).
enum class PlenumLayout { kNone, kOne, kTwo, kThree, kFour, kSix };

// The one-plenum option bit wins over the fan count code.
PlenumLayout ChoosePlenumLayout(const link::ByteImage& state);

struct BurnerStateText {
  std::string text;
  platform::Colour colour;
};

// The burner line of fan/heater k (1..6) in the multi-plenum layouts. With
// `sensor_by_temperature` (four and six plenums) a faulty sensor is recognised from the reading
// itself (above 260 F shorted, below -35 F open) instead of from the sensor status bits.
BurnerStateText BurnerState(const link::ByteImage& state, int fan_heater,
                            bool sensor_by_temperature);

// Fills the panel black and draws the layout the dryer reports.
void PaintPlenumPanel(platform::Canvas& canvas, const link::ByteImage& state, bool si_units);

}  // namespace orvandry::views
