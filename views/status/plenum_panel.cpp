#include "views/status/plenum_panel.h"

#include <array>
#include <cstdio>
#include <span>

#include "link/status_map.h"
#include "views/palette.h"
#include "views/status/fitted_text.h"
#include "views/temperature_format.h"

namespace orvandry::views {

namespace sm = link::status_map;
using platform::Bgr;
using platform::Colour;
using platform::Font;
using platform::Point;
using platform::Rect;

namespace {

using palette::kBlack;
using palette::kBlue;
using palette::kGreen;
using palette::kLineGrey;
using palette::kRed;
using palette::kYellow;

constexpr Colour kOrange = Bgr(0x0064C8);
constexpr Colour kSetpointColour = Bgr(0x00C8C8);

constexpr unsigned kCentred = platform::kAlignCentre | platform::kSingleLine;
constexpr unsigned kLeft = platform::kAlignLeft | platform::kSingleLine;
constexpr unsigned kRight = platform::kAlignRight | platform::kSingleLine;

// Burner status (149 - k), sensor status (137 - k) and burner output (131 - k) bits.
constexpr std::uint8_t kPurging = 0x01;
constexpr std::uint8_t kIgniting = 0x02;
constexpr std::uint8_t kHighHeatStage = 0x10;
constexpr std::uint8_t kSensorOpen = 0x10;
constexpr std::uint8_t kSensorShorted = 0x20;
constexpr std::uint8_t kBurnerOn = 0x02;
constexpr std::uint8_t kHighFire = 0x04;
// Hardware options (byte 225).
constexpr std::uint8_t kOnePlenumOption = 0x20;
constexpr std::uint8_t kBurnerOnOption = 0x02;

// A reading beyond what a plenum can reach means the sensor itself has failed.
constexpr int kShortedAbove = 260;
constexpr int kOpenBelow = -35;

std::uint8_t BurnerStatusByte(const link::ByteImage& s, int k) {
  return s.Get(sm::BurnerStatus(k));
}
std::uint8_t SensorStatusByte(const link::ByteImage& s, int k) {
  return s.Get(137 - static_cast<std::size_t>(k));
}
std::uint8_t BurnerOutputByte(const link::ByteImage& s, int k) {
  return s.Get(131 - static_cast<std::size_t>(k));
}
int Setpoint(const link::ByteImage& s, int k) {
  return s.GetT16(sm::PlenumSetpoint(k));
}
std::int16_t Reading(const link::ByteImage& s, int k) {
  return s.GetT16(sm::PlenumReading(k));
}

// "180 °F " as the large setpoint and reading figures show it, with a space before the degree
// sign and one after the unit so the centred figure keeps a little air on its right.
std::string SpacedTemperature(const char* pattern, int fahrenheit, bool si) {
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, pattern, ShownTemperature(fahrenheit, si), 0xB0,
                si ? 'C' : 'F');
  return buffer;
}

// Every text of the panel is squeezed into its box rather than cut off: the readings and the
// sensor texts are the longest and matter most.
void DrawText(platform::Canvas& c, Rect rect, const std::string& text, Font font, Colour colour,
              unsigned flags) {
  c.SetTextColour(palette::OnBlack(colour));
  DrawFitted(c, rect, text, font, flags);
}

// ---- One plenum ---------------------------------------------------------------------------

void PaintOnePlenum(platform::Canvas& c, const link::ByteImage& s, bool si) {
  constexpr Font kSmall{18, 900};
  DrawText(c, Rect::FromEdges(0, 0, 150, 20), "SETPOINT", kSmall, kSetpointColour, kCentred);

  const std::uint8_t status = BurnerStatusByte(s, 1);
  const std::uint8_t sensor = SensorStatusByte(s, 1);
  const std::uint8_t output = BurnerOutputByte(s, 1);
  const std::uint8_t options = s.Get(sm::kHardwareOptions);
  if ((status & (kPurging | kIgniting)) != 0) {
    const bool purging = (status & kPurging) != 0;
    const Colour colour = purging ? kGreen : kRed;
    DrawText(c, Rect::FromEdges(0, 90, 100, 110), "Burner is", kSmall, colour, kCentred);
    DrawText(c, Rect::FromEdges(0, 110, 150, 130), purging ? "  Purging..." : "  Igniting...",
             kSmall, colour, kCentred);
  } else if ((sensor & (kSensorShorted | kSensorOpen)) != 0) {
    DrawText(c, Rect::FromEdges(0, 110, 150, 130),
             (sensor & kSensorShorted) != 0 ? "SENSOR SHORTED" : "SENSOR OPEN", kSmall, kOrange,
             kCentred);
  } else {
    const Rect line = Rect::FromEdges(0, 100, 150, 120);
    if ((output & kBurnerOn) == 0) {
      DrawText(c, line, "BURNER OFF", kSmall, kGreen, kCentred);
    } else if ((options & (kBurnerOnOption | kOnePlenumOption)) ==
               (kBurnerOnOption | kOnePlenumOption)) {
      // An on/off burner has no fire stages to report.
      DrawText(c, line, "BURNER ON", kSmall, kRed, kCentred);
    } else if ((output & kHighFire) == 0) {
      DrawText(c, line, "LOW FIRE", kSmall, kBlue, kCentred);
    } else {
      DrawText(c, line, "HIGH FIRE", kSmall, kRed, kCentred);
    }
  }

  // Staged batch with two setpoints: the big figure is the one the burner works to now, blue for
  // the second (high-heat) stage and red for the first, and both are listed small beneath it.
  const bool dual = s.Get(sm::kBatchSelector) == 1 && (s.Get(sm::kConfigBits) & 0x02) != 0;
  const int first = Setpoint(s, 1);
  const int second = s.GetT16(sm::kPlenum1LowTemp);
  int shown = first;
  Colour shown_colour = kSetpointColour;
  if (dual) {
    const bool high_stage = (status & kHighHeatStage) != 0;
    shown = high_stage ? second : first;
    shown_colour = high_stage ? kBlue : kRed;
  }
  DrawText(c, Rect::FromEdges(0, 15, 150, 75), SpacedTemperature("%d %c%c ", shown, si),
           Font{40, 900}, shown_colour, kCentred);
  if (dual) {
    const Rect row = Rect::FromEdges(0, 50, 150, 70);
    DrawText(c, row, SpacedTemperature(" %d %c%c ", first, si), Font{16, 400}, kRed, kLeft);
    DrawText(c, row, SpacedTemperature(" %d %c%c ", second, si), Font{16, 400}, kBlue, kRight);
  }

  DrawText(c, Rect::FromEdges(150, 0, 400, 120), SpacedTemperature("%d %c%c ", Reading(s, 1), si),
           Font{80, 900}, kRed, kCentred);

  c.Line(Point{0, 70}, Point{150, 70}, kLineGrey, 2);
  c.Line(Point{150, 0}, Point{150, 175}, kLineGrey, 2);
}

// ---- Two to six plenums -------------------------------------------------------------------

// Where one plenum's parts go. An empty caption rectangle means the layout has no caption.
struct PlenumCell {
  int fan_heater;
  const char* label;
  Rect label_rect;
  Rect burner_rect;
  Rect caption_rect;
  Rect setpoint_rect;
  Rect temperature_rect;
};

struct Segment {
  Point from;
  Point to;
};

enum class SetpointStyle { kWithPrefix, kBareNumber };

struct MultiLayout {
  std::span<const PlenumCell> cells;  // in drawing order
  Font label_font;
  unsigned label_flags;
  Font burner_font;
  bool sensor_by_temperature;
  const char* caption;
  Font caption_font;
  Colour caption_colour;
  SetpointStyle setpoint_style;
  Font setpoint_font;
  Colour setpoint_colour;
  unsigned setpoint_flags;
  Font temperature_font;
  unsigned temperature_flags;
  std::span<const Segment> thick_lines;
  std::span<const Segment> thin_lines;
};

constexpr Rect E(int l, int t, int r, int b) {
  return Rect::FromEdges(l, t, r, b);
}

constexpr std::array kTwoCells = {
    PlenumCell{2,
               "PLENUM 2 (UPPER)",
               E(0, 0, 150, 20),
               E(0, 53, 150, 70),
               {},
               E(0, 15, 150, 55),
               E(150, 0, 400, 70)},
    PlenumCell{1,
               "PLENUM 1 (LOWER)",
               E(0, 75, 150, 95),
               E(0, 125, 150, 140),
               {},
               E(0, 90, 150, 130),
               E(150, 70, 400, 145)},
};
constexpr std::array kTwoThick = {Segment{{0, 70}, {400, 70}}, Segment{{150, 10}, {150, 60}},
                                  Segment{{150, 80}, {150, 135}}};

constexpr std::array kThreeCells = {
    PlenumCell{3,
               "PLENUM 3 (UPPER)",
               E(266, 0, 400, 20),
               E(266, 50, 400, 70),
               {},
               E(266, 20, 400, 60),
               E(266, 70, 400, 140)},
    PlenumCell{2,
               "PLENUM 2 (MIDDLE)",
               E(133, 0, 266, 20),
               E(133, 50, 266, 70),
               {},
               E(133, 20, 266, 60),
               E(133, 70, 266, 140)},
    PlenumCell{1,
               "PLENUM 1 (LOWER)",
               E(0, 0, 133, 20),
               E(0, 50, 133, 70),
               {},
               E(0, 20, 133, 60),
               E(0, 70, 133, 140)},
};
constexpr std::array kThreeThick = {Segment{{133, 0}, {133, 170}}, Segment{{266, 0}, {266, 170}}};

constexpr std::array kFourCells = {
    PlenumCell{4, "PLENUM 4", E(205, 0, 300, 20), E(290, 0, 400, 20), E(200, 25, 270, 45),
               E(200, 35, 270, 65), E(200, 10, 385, 70)},
    PlenumCell{3, "PLENUM 3", E(205, 73, 300, 90), E(290, 73, 400, 90), E(200, 100, 270, 120),
               E(200, 110, 270, 140), E(200, 83, 385, 143)},
    PlenumCell{2, "PLENUM 2", E(5, 0, 100, 20), E(100, 0, 200, 20), E(0, 25, 70, 45),
               E(0, 35, 70, 65), E(0, 10, 195, 70)},
    PlenumCell{1, "PLENUM 1", E(5, 73, 100, 90), E(100, 73, 200, 90), E(0, 100, 70, 120),
               E(0, 110, 70, 140), E(0, 83, 195, 143)},
};
constexpr std::array kFourThick = {Segment{{0, 70}, {400, 70}}, Segment{{200, 0}, {200, 170}}};
constexpr std::array kFourThin = {Segment{{270, 25}, {270, 60}}, Segment{{270, 100}, {270, 135}},
                                  Segment{{70, 25}, {70, 60}}, Segment{{70, 100}, {70, 135}}};

constexpr std::array kSixCells = {
    PlenumCell{6, "PLENUM 6", E(270, 0, 320, 20), E(310, 20, 385, 35), E(270, 28, 295, 58),
               E(270, 45, 295, 75), E(280, 35, 385, 70)},
    PlenumCell{5, "PLENUM 5", E(270, 73, 320, 90), E(310, 90, 385, 105), E(270, 103, 295, 133),
               E(270, 120, 295, 150), E(280, 110, 385, 145)},
    PlenumCell{4, "PLENUM 4", E(135, 0, 190, 20), E(175, 20, 250, 35), E(135, 28, 160, 58),
               E(135, 45, 160, 75), E(175, 35, 260, 70)},
    PlenumCell{3, "PLENUM 3", E(135, 73, 190, 90), E(175, 90, 250, 105), E(135, 103, 160, 133),
               E(135, 120, 160, 150), E(175, 110, 260, 145)},
    PlenumCell{2, "PLENUM 2", E(3, 0, 55, 20), E(40, 20, 120, 35), E(0, 28, 25, 58),
               E(0, 45, 25, 75), E(40, 35, 125, 70)},
    PlenumCell{1, "PLENUM 1", E(3, 73, 55, 90), E(40, 90, 120, 105), E(0, 103, 25, 133),
               E(0, 120, 25, 150), E(40, 110, 125, 145)},
};
constexpr std::array kSixThick = {Segment{{0, 70}, {400, 70}}, Segment{{133, 0}, {133, 170}},
                                  Segment{{266, 0}, {266, 170}}};
constexpr std::array kSixThin = {Segment{{30, 25}, {30, 60}},   Segment{{30, 100}, {30, 135}},
                                 Segment{{163, 25}, {163, 60}}, Segment{{163, 100}, {163, 135}},
                                 Segment{{300, 25}, {300, 60}}, Segment{{300, 100}, {300, 135}}};

constexpr std::span<const Segment> kNoLines{};

// The four-plenum layout gives its "SETPOINT" captions no colour of their own; they take the
// setpoint colour, as the one-plenum caption does, so caption and figure read as one.
const MultiLayout kTwoPlenums{kTwoCells,     Font{14, 900},   kCentred,
                              Font{14, 900}, false,           nullptr,
                              Font{},        kSetpointColour, SetpointStyle::kWithPrefix,
                              Font{30, 900}, kSetpointColour, kCentred,
                              Font{80, 900}, kCentred,        kTwoThick,
                              kNoLines};
const MultiLayout kThreePlenums{kThreeCells,   Font{12, 100},   kCentred,
                                Font{12, 100}, false,           nullptr,
                                Font{},        kSetpointColour, SetpointStyle::kWithPrefix,
                                Font{25, 900}, kSetpointColour, kCentred,
                                Font{40, 900}, kCentred,        kThreeThick,
                                kNoLines};
const MultiLayout kFourPlenums{kFourCells,
                               Font{16, 600},
                               kLeft,
                               Font{16, 600},
                               true,
                               "SETPOINT",
                               Font{12, 100},
                               kSetpointColour,
                               SetpointStyle::kBareNumber,
                               Font{25, 300},
                               kSetpointColour,
                               kCentred,
                               Font{40, 900},
                               kRight,
                               kFourThick,
                               kFourThin};
const MultiLayout kSixPlenums{kSixCells,     Font{12, 100}, kCentred,
                              Font{12, 500}, true,          "SP",
                              Font{16, 500}, kYellow,       SetpointStyle::kBareNumber,
                              Font{16, 500}, kYellow,       kRight,
                              Font{30, 900}, kRight,        kSixThick,
                              kSixThin};

void PaintMultiPlenum(platform::Canvas& c, const link::ByteImage& s, bool si,
                      const MultiLayout& layout) {
  for (const PlenumCell& cell : layout.cells)
    DrawText(c, cell.label_rect, cell.label, layout.label_font, kBlue, layout.label_flags);
  for (const PlenumCell& cell : layout.cells) {
    const BurnerStateText burner = BurnerState(s, cell.fan_heater, layout.sensor_by_temperature);
    DrawText(c, cell.burner_rect, burner.text, layout.burner_font, burner.colour, kCentred);
  }
  if (layout.caption != nullptr) {
    for (const PlenumCell& cell : layout.cells)
      DrawText(c, cell.caption_rect, layout.caption, layout.caption_font, layout.caption_colour,
               kCentred);
  }
  for (const PlenumCell& cell : layout.cells) {
    const int setpoint = Setpoint(s, cell.fan_heater);
    const std::string text =
        layout.setpoint_style == SetpointStyle::kWithPrefix
            ? SpacedTemperature("SP:  %d %c%c ", setpoint, si)
            : format_temperature(static_cast<std::int16_t>(setpoint), si, false, false);
    DrawText(c, cell.setpoint_rect, text, layout.setpoint_font, layout.setpoint_colour,
             layout.setpoint_flags);
  }
  for (const PlenumCell& cell : layout.cells)
    DrawText(c, cell.temperature_rect,
             format_temperature(Reading(s, cell.fan_heater), si, true, true),
             layout.temperature_font, kRed, layout.temperature_flags);
  for (const Segment& line : layout.thick_lines) c.Line(line.from, line.to, kLineGrey, 2);
  for (const Segment& line : layout.thin_lines) c.Line(line.from, line.to, kLineGrey, 1);
}

}  // namespace

PlenumLayout ChoosePlenumLayout(const link::ByteImage& state) {
  if ((state.Get(sm::kHardwareOptions) & kOnePlenumOption) != 0) return PlenumLayout::kOne;
  switch (state.Get(sm::kFanCountCode)) {
    case 0:
      return PlenumLayout::kOne;
    case 1:
      return PlenumLayout::kTwo;
    case 2:
      return PlenumLayout::kThree;
    case 3:
      return PlenumLayout::kFour;
    case 4:
      return PlenumLayout::kSix;
    default:
      return PlenumLayout::kNone;
  }
}

BurnerStateText BurnerState(const link::ByteImage& state, int k, bool sensor_by_temperature) {
  const std::uint8_t status = BurnerStatusByte(state, k);
  const std::uint8_t output = BurnerOutputByte(state, k);
  if ((status & kPurging) != 0) return {"Purging...", kGreen};
  if ((status & kIgniting) != 0) return {"Igniting...", kRed};
  if (sensor_by_temperature) {
    const int reading = Reading(state, k);
    char buffer[32];
    if (reading > kShortedAbove) {
      std::snprintf(buffer, sizeof buffer, "Plenum %d Sensor Shorted", k);
      return {buffer, kOrange};
    }
    if (reading < kOpenBelow) {
      std::snprintf(buffer, sizeof buffer, "Plenum %d Sensor Open", k);
      return {buffer, kOrange};
    }
  } else {
    const std::uint8_t sensor = SensorStatusByte(state, k);
    if ((sensor & kSensorShorted) != 0) return {"SENSOR SHORTED", kOrange};
    if ((sensor & kSensorOpen) != 0) return {"SENSOR OPEN", kOrange};
  }
  if ((output & kBurnerOn) == 0) return {"BURNER OFF", kGreen};
  if ((output & kHighFire) == 0) return {"LOW FIRE", kBlue};
  return {"HIGH FIRE", kRed};
}

void PaintPlenumPanel(platform::Canvas& canvas, const link::ByteImage& state, bool si_units) {
  const platform::Size size = canvas.GetSize();
  canvas.FillRect(Rect{0, 0, size.w, size.h}, kBlack);
  canvas.SetBackgroundMode(platform::BackgroundMode::kTransparent);
  switch (ChoosePlenumLayout(state)) {
    case PlenumLayout::kOne:
      PaintOnePlenum(canvas, state, si_units);
      break;
    case PlenumLayout::kTwo:
      PaintMultiPlenum(canvas, state, si_units, kTwoPlenums);
      break;
    case PlenumLayout::kThree:
      PaintMultiPlenum(canvas, state, si_units, kThreePlenums);
      break;
    case PlenumLayout::kFour:
      PaintMultiPlenum(canvas, state, si_units, kFourPlenums);
      break;
    case PlenumLayout::kSix:
      PaintMultiPlenum(canvas, state, si_units, kSixPlenums);
      break;
    case PlenumLayout::kNone:
      break;
  }
}

}  // namespace orvandry::views
