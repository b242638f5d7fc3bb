#include "graphs/grain_view.h"

#include <cstdio>
#include <optional>

#include "graphs/graph_model.h"
#include "link/status_map.h"
#include "platform/temperature_units.h"

namespace orvandry::graphs {

namespace {

namespace sm = link::status_map;
using platform::Colour;
using platform::Rect;
using platform::Rgb;

constexpr Colour kGrid = Rgb(150, 150, 150);
constexpr Colour kMoistureColour = Rgb(100, 250, 250);
constexpr Colour kMoistureLabel = Rgb(80, 200, 200);
constexpr Colour kYellow = Rgb(255, 255, 0);
constexpr Colour kTempLabel = Rgb(200, 200, 0);
// Pure blue on black cannot be read across a dryer shed; a lighter blue keeps the meaning.
constexpr Colour kManualAutoBlue = Rgb(90, 150, 255);

// The grain temperature the dryer measures where byte 184 says; nullopt for an unknown selector.
std::optional<int> DryerGrainTemp(const link::ByteImage& state) {
  switch (state.Get(sm::kGrainTempSelector)) {
    case 0:
      return state.GetT16(sm::kGrainTempSelector0);
    case 1:
      return state.GetT16(sm::kGrainTempSelector1);
    case 2:
      return state.GetT16(sm::kGrainTempSelector2);
    default:
      return std::nullopt;
  }
}

// Incoming and outgoing grain temperatures come in tenths, high byte first, and may be below zero.
int SignedTenths(const link::ByteImage& state, std::size_t offset) {
  return static_cast<std::int16_t>(state.GetBe16(offset)) / 10;
}

void Label(platform::Canvas& canvas, Rect rect, const char* text, bool chosen, Colour colour) {
  if (chosen) {
    canvas.FillRect(rect, colour);
    canvas.SetTextColour(Rgb(0, 0, 0));
    canvas.SetBackgroundMode(platform::BackgroundMode::kOpaque);
    canvas.SetBackgroundColour(colour);
  } else {
    canvas.SetTextColour(colour);
    canvas.SetBackgroundMode(platform::BackgroundMode::kTransparent);
  }
  canvas.Text(rect, text, platform::kAlignCentre | platform::kAlignVCentre | platform::kSingleLine);
}

void ButtonFace(platform::Canvas& canvas, bool pressed) {
  const platform::Size size = canvas.GetSize();
  canvas.FillRect(Rect{0, 0, size.w, size.h}, pressed ? Rgb(40, 40, 40) : Rgb(0, 0, 0));
  if (pressed) canvas.RectOutline(Rect{0, 0, size.w, size.h}, kGrid);
}

}  // namespace

std::string GrainMoistureText(const GrainView& view, const link::ByteImage& state) {
  const std::size_t offset =
      view.moisture() == GrainView::kMoistureOut ? sm::kOutgoingMoisture : sm::kIncomingMoisture;
  return TenthsText(state.GetBe16(offset));
}

std::string GrainTemperatureText(const GrainView& view, const link::ByteImage& state,
                                 bool celsius) {
  std::optional<int> value;
  switch (view.temperature()) {
    case GrainView::kTempIn:
      value = SignedTenths(state, sm::kIncomingGrainTemp);
      break;
    case GrainView::kTempOut:
      value = SignedTenths(state, sm::kOutgoingGrainTemp);
      break;
    default:
      value = DryerGrainTemp(state);
      break;
  }
  if (!value) return "---";
  return std::to_string(celsius ? platform::fahrenheit_to_celsius(*value) : *value);
}

ModeLine GrainModeLine(const link::ByteImage& state) {
  const std::uint8_t mode = state.Get(sm::kMeteringMode);
  const bool manual_or_auto = (state.Get(sm::kStatusBits179) & 0x06) != 0;
  const Colour colour = manual_or_auto ? kManualAutoBlue : Rgb(0, 255, 0);
  const char* name = nullptr;
  switch (mode & 0x87) {
    case 0x01:
    case 0x81:
      name = "BASIC MC";
      break;
    case 0x02:
    case 0x82:
      name = "3-SPEED MC";
      break;
    case 0x03:
    case 0x83:
      name = "ADVANCED MC";
      break;
    default:
      return {"NO MC SELECTED", Rgb(255, 0, 0)};
  }
  std::string text = name;
  if (!manual_or_auto) return {text, colour};
  if ((mode & 0x80) == 0) return {text + " : MANUAL", colour};
  if ((mode & 0x87) == 0x81)
    return {text + ((mode & 0x40) != 0 ? " : AUTO : 1SP" : " : AUTO : 2SP"), colour};
  return {text + " : AUTO", colour};
}

void PaintGrainView(platform::Canvas& canvas, const GrainView& view, const link::ByteImage& state,
                    bool celsius) {
  const platform::Size size = canvas.GetSize();
  canvas.FillRect(Rect{0, 0, size.w, size.h}, Rgb(0, 0, 0));
  // 1. Grid.
  canvas.Line({235, 0}, {235, 190}, kGrid);
  canvas.Line({0, 75}, {235, 75}, kGrid);
  canvas.Line({0, 140}, {235, 140}, kGrid);
  for (int x : {52, 200}) {
    canvas.Line({x, 5}, {x, 70}, kGrid);
    canvas.Line({x, 80}, {x, 135}, kGrid);
  }
  const unsigned centred = platform::kAlignCentre | platform::kAlignVCentre | platform::kSingleLine;

  // 2. Units.
  canvas.SetBackgroundMode(platform::BackgroundMode::kTransparent);
  canvas.SetFont(platform::Font{35, 900});
  canvas.SetTextColour(kMoistureColour);
  canvas.Text(Rect::FromEdges(170, 0, 200, 40), "%", centred);
  canvas.SetTextColour(kYellow);
  canvas.Text(Rect::FromEdges(162, 76, 200, 110),
              celsius ? "\xB0"
                        "C"
                      : "\xB0"
                        "F",
              centred);

  // 3. Mode line.
  const ModeLine mode = GrainModeLine(state);
  canvas.SetFont(platform::Font{22, 500});
  canvas.SetTextColour(mode.colour);
  canvas.Text(Rect::FromEdges(0, 145, 235, 170), mode.text, centred);

  // 4. Moisture setpoint (advanced control) and the moisture labels.
  const int mc_mode = state.Get(sm::kMeteringMode) & 7;
  canvas.SetFont(platform::Font{14, 200});
  canvas.SetBackgroundMode(platform::BackgroundMode::kTransparent);
  if (mc_mode == 3) {
    canvas.SetTextColour(kMoistureLabel);
    canvas.Text(Rect::FromEdges(198, 25, 235, 45), "SP", centred);
    canvas.Text(Rect::FromEdges(197, 40, 235, 60), TenthsText(state.GetBe16(sm::kMoistureSetpoint)),
                centred);
  }
  Label(canvas, Rect::FromEdges(0, 10, 50, 40), "   IN   ",
        view.moisture() == GrainView::kMoistureIn, kMoistureLabel);
  Label(canvas, Rect::FromEdges(0, 50, 50, 80), "  OUT  ",
        view.moisture() == GrainView::kMoistureOut, kMoistureLabel);

  // 5. Grain temperature setpoint (basic control) and the temperature labels.
  canvas.SetBackgroundMode(platform::BackgroundMode::kTransparent);
  if (mc_mode == 1) {
    const int setpoint = state.GetT16(sm::kGrainTempSetpoint);
    canvas.SetTextColour(kTempLabel);
    canvas.Text(Rect::FromEdges(200, 95, 235, 115), "SP", centred);
    canvas.Text(Rect::FromEdges(197, 110, 235, 130),
                std::to_string(celsius ? platform::fahrenheit_to_celsius(setpoint) : setpoint),
                centred);
  }
  Label(canvas, Rect::FromEdges(0, 80, 50, 95), "   IN   ",
        view.temperature() == GrainView::kTempIn, kYellow);
  Label(canvas, Rect::FromEdges(0, 100, 50, 115), "  OUT  ",
        view.temperature() == GrainView::kTempOut, kYellow);
  Label(canvas, Rect::FromEdges(0, 120, 50, 135), " DRYER ",
        view.temperature() == GrainView::kTempDryer, kYellow);
}

void PaintMoistureButton(platform::Canvas& canvas, const GrainView& view,
                         const link::ByteImage& state, bool pressed) {
  ButtonFace(canvas, pressed);
  const platform::Size size = canvas.GetSize();
  canvas.SetBackgroundMode(platform::BackgroundMode::kTransparent);
  canvas.SetFont(platform::Font{40, 900});
  canvas.SetTextColour(kMoistureColour);
  canvas.Text(Rect{0, 0, size.w - 4, size.h}, GrainMoistureText(view, state),
              platform::kAlignRight | platform::kAlignVCentre | platform::kSingleLine);
}

void PaintTemperatureButton(platform::Canvas& canvas, const GrainView& view,
                            const link::ByteImage& state, bool celsius, bool pressed) {
  ButtonFace(canvas, pressed);
  const platform::Size size = canvas.GetSize();
  canvas.SetBackgroundMode(platform::BackgroundMode::kTransparent);
  canvas.SetFont(platform::Font{40, 900});
  canvas.SetTextColour(kYellow);
  canvas.Text(Rect{0, 0, size.w - 4, size.h}, GrainTemperatureText(view, state, celsius),
              platform::kAlignRight | platform::kAlignVCentre | platform::kSingleLine);
}

}  // namespace orvandry::graphs
