#pragma once

#include <string>

#include "link/byte_image.h"
#include "platform/canvas.h"

namespace orvandry::graphs {

// The grain temperature and moisture view: which moisture (incoming, outgoing) and which grain
// temperature (dryer, incoming, outgoing) it shows. Memory only; both start at 0 on every start.
// The choices change only when the operator touches the values, never when the view paints.
class GrainView {
 public:
  enum Moisture { kMoistureIn = 0, kMoistureOut = 1 };
  enum Temperature { kTempDryer = 0, kTempIn = 1, kTempOut = 2 };

  int moisture() const { return moisture_; }
  int temperature() const { return temperature_; }
  void ToggleMoisture() { moisture_ = 1 - moisture_; }
  void NextTemperature() { temperature_ = (temperature_ + 1) % 3; }

 private:
  int moisture_ = kMoistureIn;
  int temperature_ = kTempDryer;
};

// The chosen values as the buttons show them: "15.5" and "152" (in the display's units).
std::string GrainMoistureText(const GrainView& view, const link::ByteImage& state);
std::string GrainTemperatureText(const GrainView& view, const link::ByteImage& state, bool celsius);
// The moisture-control mode line and its colour.
struct ModeLine {
  std::string text;
  platform::Colour colour;
};
ModeLine GrainModeLine(const link::ByteImage& state);

// The view's own drawing (client area 236 x 181): grid, units, mode line, setpoints and the
// IN / OUT / DRYER labels with the chosen ones marked.
void PaintGrainView(platform::Canvas& canvas, const GrainView& view, const link::ByteImage& state,
                    bool celsius);
// The faces of the two value buttons (the moisture 117 x 65, the temperature 107 x 59).
void PaintMoistureButton(platform::Canvas& canvas, const GrainView& view,
                         const link::ByteImage& state, bool pressed);
void PaintTemperatureButton(platform::Canvas& canvas, const GrainView& view,
                            const link::ByteImage& state, bool celsius, bool pressed);

}  // namespace orvandry::graphs
