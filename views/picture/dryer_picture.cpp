#include "views/picture/dryer_picture.h"

#include <algorithm>
#include <cstdio>

#include "link/status_map.h"
#include "platform/drawn_changes.h"
#include "platform/fitted_text.h"
#include "platform/recording_canvas.h"
#include "views/palette.h"
#include "views/temperature_format.h"

namespace orvandry::views {

namespace sm = link::status_map;
using platform::Bgr;
using platform::Canvas;
using platform::Colour;
using platform::Font;
using platform::Point;
using platform::Rect;

namespace {

using palette::kBlack;
using palette::kBlue;
using palette::kRed;
using palette::kWhite;
using palette::kYellow;

// Bytes and bits the picture reads that have no name elsewhere.
constexpr std::size_t kUnloadManualBits = sm::kStatusBits179;  // 0x02 unload in manual
constexpr std::uint8_t kUnloadManual = 0x02;
constexpr std::uint8_t kFourInchRoll = 0x02;           // byte 183
constexpr std::uint8_t kStandardLayout = 0x80;         // byte 225
constexpr std::uint8_t kOnePlenumLayout = 0x20;        // byte 225
constexpr std::uint8_t kRiceDrying = 0x04;             // byte 225
constexpr std::uint8_t kCornerMarkBit = 0x80;          // byte 188
constexpr std::uint8_t kOutgoingMoistureShown = 0x10;  // byte 257
constexpr std::uint8_t kBatchSetpointHidden = 0x30;    // byte 257
constexpr std::uint8_t kCycledSampler = 0x80;          // byte 293
constexpr std::size_t kOnePlenumLampA = 168;           // bit 0x08
constexpr std::size_t kOnePlenumLampB = 169;           // bit 0x04
constexpr std::size_t kFiveSpeedStep = 220;
constexpr std::size_t kVariableSpeedTenths = 223;
constexpr std::size_t kMeterRollOutput = 245;
constexpr std::uint8_t kAutomaticControl = 3;  // byte 201

// The fan/heater tile bytes: state byte 137 - k (bit 0x01 fan, 0x02 burner), burner byte 131 - k
// (bit 0x04 selects the second burner form).
constexpr std::size_t TileStateByte(int k) {
  return 137 - static_cast<std::size_t>(k);
}
constexpr std::size_t TileBurnerByte(int k) {
  return 131 - static_cast<std::size_t>(k);
}

// Pictures.
constexpr int kStandardBody = 367;
constexpr int kTwoModuleBody = 324;
constexpr int kThreeModuleBody = 323;
constexpr int kOnePlenumBody = 406;
constexpr int kCornerMark = 462;
constexpr std::array kGrainMarks{310, 311, 316};
constexpr std::array kRollMarks{317, 318, 319};
constexpr std::array kSmallGrainMarks{360, 361, 362};
constexpr std::array kSmallRollMarks{363, 364, 365};
constexpr std::array kOnePlenumFan{418, 419, 420};
constexpr std::array kOnePlenumFlame{408, 409, 410};
constexpr std::array kOnePlenumLoading{422, 423, 424};
constexpr std::array kOnePlenumAuger{430, 431, 432};
constexpr std::array kOnePlenumSweep{425, 426, 427};

// Overlay colours (0xBBGGRR).
constexpr Colour kLeaderGrey = Bgr(0xAFAFAF);
constexpr Colour kAverageLabel = Bgr(0x960000);
constexpr Colour kAverageValue = Bgr(0x00FA00);
constexpr Colour kIncomingGreen = Bgr(0x00C800);
constexpr Colour kOlive = Bgr(0x00C8C8);

// A bushel of shelled corn at market moisture weighs 56 lb = 25.4012 kg: the metric figures are
// metric tonnes of corn, the crop these dryers mostly see. The controller counts bushels; a tonne
// figure of another crop would need its test weight, which the display is not told.
constexpr std::uint64_t kGramsPerBushel = 25401;

std::string Format(const char* format, auto... args) {
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, format, args...);
  return buffer;
}

std::string Tenths(const char* format, unsigned value) {
  return Format(format, value / 10, value % 10);
}

// A whole-degree F reading in the display's units, "%d%cF" / "%d%cC".
std::string Temperature(std::int16_t fahrenheit, bool si_units) {
  return format_temperature(fahrenheit, si_units, true, true);
}

void DrawPhase(Canvas& canvas, const std::array<int, 3>& pictures, std::uint8_t phase, Point at) {
  canvas.Picture(pictures[static_cast<std::size_t>(FrameOf(phase))], at);
}

void DrawTiles(Canvas& canvas, const link::ByteImage& state, const AnimationPhases& phases,
               TileSet set, const std::vector<TilePlacement>& tiles) {
  for (const TilePlacement& tile : tiles) {
    const std::uint8_t phase = phases.fan[static_cast<std::size_t>(tile.fan_heater - 1)];
    canvas.Picture(TilePicture(set, TileKindOf(state, tile.fan_heater), FrameOf(phase)), tile.at);
  }
}

void DrawCornerMark(Canvas& canvas, const link::ByteImage& state) {
  if ((state.Get(sm::kDryerStateBits) & kCornerMarkBit) != 0)
    canvas.Picture(kCornerMark, Point{0, 0});
}

// The smallest text the panel still reads at arm's length.
constexpr int kMinTextHeight = 9;

// Draws one value in its field. A value too wide for its field (a season's bushel total can run to
// seven digits) is drawn in a smaller font rather than cut off: a clipped number reads as a wrong
// number. Returns the text's width.
int TextIn(Canvas& canvas, Rect rect, const std::string& text, Colour colour, Font font,
           unsigned flags) {
  if (text.empty()) return 0;
  platform::FitFont(canvas, text, font, rect.w, kMinTextHeight);
  const int width = canvas.MeasureText(text).w;
  canvas.SetTextColour(colour);
  canvas.Text(rect, text, flags | platform::kSingleLine);
  return width;
}

// The blues the sampler and the batch labels are written in vanish on black; they stand on a light
// steel tag, like a label plate on the machine.
constexpr Colour kPlate = platform::Rgb(0xC3, 0xCB, 0xD3);

void PlateText(Canvas& canvas, Rect rect, const std::string& text, Colour colour, Font font,
               unsigned flags) {
  if (text.empty()) return;
  canvas.SetFont(font);
  const int width = std::min(canvas.MeasureText(text).w, rect.w);
  const int x = (flags & platform::kAlignRight) != 0 ? rect.Right() - width : rect.x;
  canvas.FillRect(Rect{x - 3, rect.y + 1, width + 6, rect.h - 2}, kPlate);
  TextIn(canvas, rect, text, colour, font, flags);
}

// ---- Bases -----------------------------------------------------------------------------------

void StandardBase(Canvas& canvas, const link::ByteImage& state, const AnimationPhases& phases) {
  canvas.Picture(kStandardBody, Point{0, 25});
  const std::uint8_t fans = state.Get(sm::kFanCountCode);
  canvas.Picture(MeteringRollPicture(state), fans == 0 ? Point{75, 100} : Point{185, 100});
  DrawTiles(canvas, state, phases, fans == 2 ? TileSet::kCompact : TileSet::kLarge,
            StandardTiles(fans));
  DrawPhase(canvas, kGrainMarks, phases.loading, Point{75, 35});
  DrawPhase(canvas, kGrainMarks, phases.unloading_fast, Point{75, 292});
  DrawPhase(canvas, kRollMarks, phases.direction_a, Point{55, 282});
  DrawPhase(canvas, kRollMarks, phases.direction_b, Point{107, 282});
  DrawCornerMark(canvas, state);
}

// The grain, roll and corner marks of the two- and three-module dryers, which share their garner
// and discharge.
void DrawModuleMarks(Canvas& canvas, const link::ByteImage& state, const AnimationPhases& phases) {
  DrawPhase(canvas, kSmallGrainMarks, phases.loading, Point{63, 12});
  DrawPhase(canvas, kSmallGrainMarks, phases.unloading_fast, Point{67, 380});
  DrawPhase(canvas, kSmallRollMarks, phases.direction_a, Point{49, 368});
  DrawPhase(canvas, kSmallRollMarks, phases.direction_b, Point{91, 368});
  DrawCornerMark(canvas, state);
}

void TwoModuleBase(Canvas& canvas, const link::ByteImage& state, const AnimationPhases& phases) {
  canvas.Picture(kTwoModuleBody, Point{15, 0});
  canvas.Picture(MeteringRollPicture(state), Point{175, 65});
  DrawTiles(canvas, state, phases, TileSet::kCompact, TwoModuleTiles(state.Get(sm::kFanCountCode)));
  DrawModuleMarks(canvas, state, phases);
}

// The three-module dryer follows the two-module scheme: its body is drawn on the same axis with
// the same garner and discharge, so the marks sit where they sit on the two-module dryer.
void ThreeModuleBase(Canvas& canvas, const link::ByteImage& state, const AnimationPhases& phases) {
  canvas.Picture(kThreeModuleBody, Point{0, 0});
  canvas.Picture(MeteringRollPicture(state), Point{175, 65});
  DrawTiles(canvas, state, phases, TileSet::kThreeModule,
            ThreeModuleTiles(state.Get(sm::kFanCountCode)));
  DrawModuleMarks(canvas, state, phases);
}

void OnePlenumBase(Canvas& canvas, const link::ByteImage& state, const AnimationPhases& phases) {
  canvas.Picture(kOnePlenumBody, Point{0, 0});
  const std::uint8_t fan_phase = phases.fan[0];
  DrawPhase(canvas, kOnePlenumFan, fan_phase, Point{51, 232});
  if ((state.Get(TileStateByte(1)) & 0x02) != 0)
    DrawPhase(canvas, kOnePlenumFlame, fan_phase, Point{52, 175});
  DrawPhase(canvas, kOnePlenumLoading, phases.loading, Point{43, 10});
  DrawPhase(canvas, kOnePlenumAuger, phases.unloading_fast, Point{66, 326});
  DrawPhase(canvas, kOnePlenumSweep, phases.unloading_slow, Point{55, 308});
  canvas.Picture((state.Get(kOnePlenumLampA) & 0x08) != 0 ? 429 : 428, Point{118, 80});
  canvas.Picture((state.Get(kOnePlenumLampB) & 0x04) != 0 ? 434 : 433, Point{93, 53});
  DrawCornerMark(canvas, state);
}

// ---- Overlays --------------------------------------------------------------------------------

constexpr Font kBigValue{18, 700};
constexpr Font kValue{13, 700};
constexpr Font kLabel{12, 700};
constexpr Font kScaleValue{12, 700};

void StandardOverlay(Canvas& canvas, const OverlayValues& v) {
  using namespace platform;
  canvas.SetBackgroundMode(BackgroundMode::kTransparent);
  canvas.Line(Point{135, 48}, Point{190, 48}, kLeaderGrey);
  canvas.Line(Point{175, 208}, Point{190, 208}, kLeaderGrey);

  // Incoming moisture sits on its leader from the garner; the setpoint right under it.
  TextIn(canvas, Rect::FromEdges(136, 26, 236, 47), v.incoming_moisture, kIncomingGreen, kBigValue,
         kAlignRight | kAlignBottom);
  TextIn(canvas, Rect::FromEdges(136, 51, 236, 68), v.moisture_setpoint, kOlive, kValue,
         kAlignRight | kAlignTop);
  // Under the metering roll: its speed, or the batch count in batch drying.
  TextIn(canvas, Rect::FromEdges(140, 142, 236, 159), v.rpm_or_batch_count, kWhite, kValue,
         kAlignRight | kAlignTop);
  // Grain temperature on the leader from the middle of the column.
  TextIn(canvas, Rect::FromEdges(150, 186, 236, 207), v.grain_temperature, kYellow, kBigValue,
         kAlignRight | kAlignBottom);
  TextIn(canvas, Rect::FromEdges(140, 220, 236, 236), v.labels.scheme, kIncomingGreen, kLabel,
         kAlignRight | kAlignVCentre);
  TextIn(canvas, Rect::FromEdges(140, 238, 236, 254), v.labels.type, kRed, kLabel,
         kAlignRight | kAlignVCentre);
  TextIn(canvas, Rect::FromEdges(140, 256, 236, 272), v.labels.speed, kRed, kLabel,
         kAlignRight | kAlignVCentre);

  // The discharge scale: one tick pair per output reading, longer when the outgoing moisture is
  // shown; the long tick at 305 reaches back towards the discharge.
  const int bottom = v.long_scale ? 355 : 345;
  canvas.Line(Point{170, 285}, Point{170, bottom}, kLeaderGrey);
  for (int y = 285; y <= bottom; y += 10)
    canvas.Line(Point{y == 305 ? 157 : 170, y}, Point{178, y}, kLeaderGrey);
  TextIn(canvas, Rect::FromEdges(180, 282, 238, 298), v.unload_rate, kWhite, kScaleValue,
         kAlignLeft | kAlignVCentre);
  TextIn(canvas, Rect::FromEdges(180, 302, 238, 318), v.total, kWhite, kScaleValue,
         kAlignLeft | kAlignVCentre);
  TextIn(canvas, Rect::FromEdges(180, 322, 238, 338), v.outgoing_temperature, kYellow, kScaleValue,
         kAlignLeft | kAlignVCentre);
  TextIn(canvas, Rect::FromEdges(180, 342, 238, 358), v.outgoing_moisture, kIncomingGreen,
         kScaleValue, kAlignLeft | kAlignVCentre);

  // Below the dryer: the batch averages and the sampler.
  if (v.batch) {
    PlateText(canvas, Rect::FromEdges(6, 364, 60, 382), "Ave In:", kAverageLabel, kValue,
              kAlignLeft | kAlignVCentre);
    TextIn(canvas, Rect::FromEdges(64, 364, 118, 382), v.average_in, kAverageValue, kValue,
           kAlignLeft | kAlignVCentre);
    PlateText(canvas, Rect::FromEdges(122, 364, 184, 382), "Ave Out:", kAverageLabel, kValue,
              kAlignLeft | kAlignVCentre);
    TextIn(canvas, Rect::FromEdges(188, 364, 236, 382), v.average_out, kAverageValue, kValue,
           kAlignLeft | kAlignVCentre);
  }
  PlateText(canvas, Rect::FromEdges(6, 388, 160, 406), v.sampler, kBlue, kValue,
            kAlignLeft | kAlignVCentre);
}

// The overlays of the other layouts: a column of captioned readings beside the dryer. The captions
// are small and grey so the readings keep the colours an operator knows from the one-module
// picture.
class ValueColumn {
 public:
  ValueColumn(Canvas& canvas, int left, int top, int right)
      : canvas_(canvas), left_(left), y_(top), right_(right) {
    canvas_.SetBackgroundMode(platform::BackgroundMode::kTransparent);
  }

  void Row(const char* caption, const std::string& value, Colour colour) {
    if (value.empty()) return;
    const Rect row = Rect::FromEdges(left_, y_, right_, y_ + kRowHeight);
    const int caption_width = TextIn(canvas_, row, caption, kCaptionGrey, kCaption,
                                     platform::kAlignLeft | platform::kAlignVCentre);
    TextIn(canvas_, Rect::FromEdges(left_ + caption_width + 2, y_, right_, y_ + kRowHeight), value,
           colour, kValue, platform::kAlignRight | platform::kAlignVCentre);
    y_ += kRowHeight;
  }
  // A row with its caption on a tag, for the captions the overlay writes in dark blue.
  void TaggedRow(const char* caption, const std::string& value, Colour caption_colour,
                 Colour colour) {
    if (value.empty()) return;
    PlateText(canvas_, Rect::FromEdges(left_ + 3, y_, right_, y_ + kRowHeight), caption,
              caption_colour, kCaptionTag, platform::kAlignLeft | platform::kAlignVCentre);
    TextIn(canvas_, Rect::FromEdges(left_ + 48, y_, right_, y_ + kRowHeight), value, colour, kValue,
           platform::kAlignRight | platform::kAlignVCentre);
    y_ += kRowHeight;
  }
  // A value of its own on a tag, right-aligned like the readings.
  void TaggedValue(const std::string& value, Colour colour) {
    if (value.empty()) return;
    PlateText(canvas_, Rect::FromEdges(left_, y_, right_ - 3, y_ + kRowHeight), value, colour,
              kValue, platform::kAlignRight | platform::kAlignVCentre);
    y_ += kRowHeight;
  }
  void Gap() { y_ += kGap; }

 private:
  static constexpr int kRowHeight = 17;
  static constexpr int kGap = 6;
  static constexpr Font kCaption{10, 400};
  static constexpr Font kCaptionTag{11, 700};
  static constexpr Colour kCaptionGrey = Bgr(0xAFAFAF);

  Canvas& canvas_;
  int left_;
  int y_;
  int right_;
};

void ColumnOverlay(Canvas& canvas, const OverlayValues& v, int left, int top, int right) {
  ValueColumn column(canvas, left, top, right);
  column.Row("IN", v.incoming_moisture, kIncomingGreen);
  column.Row("SET", v.moisture_setpoint, kOlive);
  column.Gap();
  column.Row("GRAIN", v.grain_temperature, kYellow);
  column.Row("CTRL", v.controlling_grain_temperature, kYellow);
  column.Row("SP", v.grain_setpoint, kOlive);
  column.Row("HI", v.grain_high, kOlive);
  column.Row("LO", v.grain_low, kOlive);
  column.Gap();
  column.Row("", v.labels.scheme, kIncomingGreen);
  column.Row("", v.labels.type, kRed);
  column.Row("", v.labels.speed, kRed);
  column.Row(v.batch ? "BATCH" : "", v.rpm_or_batch_count, kWhite);
  column.Gap();
  column.Row("", v.unload_rate, kWhite);
  column.Row("", v.total, kWhite);
  column.Row("OUT", v.outgoing_temperature, kYellow);
  column.Row("OUT", v.outgoing_moisture, kIncomingGreen);
  if (v.batch) {
    column.TaggedRow("Ave In:", v.average_in, kAverageLabel, kAverageValue);
    column.TaggedRow("Ave Out:", v.average_out, kAverageLabel, kAverageValue);
  }
  column.TaggedValue(v.sampler, kBlue);
}

}  // namespace

DryerVariant ChooseVariant(const link::ByteImage& state) {
  const std::uint8_t modules = state.Get(sm::kModuleCountCode);
  if (modules == 1) return DryerVariant::kTwoModule;
  if (modules == 2) return DryerVariant::kThreeModule;
  const std::uint8_t options = state.Get(sm::kHardwareOptions);
  if ((options & kStandardLayout) != 0) return DryerVariant::kStandard;
  if ((options & kOnePlenumLayout) != 0) return DryerVariant::kOnePlenum;
  return DryerVariant::kStandard;
}

TileKind TileKindOf(const link::ByteImage& state, int fan_heater) {
  const std::uint8_t tile = state.Get(TileStateByte(fan_heater));
  if ((tile & 0x02) != 0)
    return (state.Get(TileBurnerByte(fan_heater)) & 0x04) != 0 ? TileKind::kBurnerSecond
                                                               : TileKind::kBurnerFirst;
  if ((tile & 0x01) != 0) return TileKind::kFanRunning;
  return TileKind::kIdle;
}

int TilePicture(TileSet set, TileKind kind, int frame) {
  // First picture of each kind's three frames.
  struct Firsts {
    int idle, fan, burner_first, burner_second;
  };
  Firsts first{};
  switch (set) {
    case TileSet::kLarge:
      first = {292, 295, 304, 301};
      break;
    case TileSet::kCompact:
      first = {341, 344, 350, 347};
      break;
    case TileSet::kThreeModule:
      first = {325, 328, 334, 331};
      break;
  }
  const int f = frame >= 0 && frame <= 2 ? frame : 0;
  switch (kind) {
    case TileKind::kIdle:
      return first.idle + f;
    case TileKind::kFanRunning:
      return first.fan + f;
    case TileKind::kBurnerFirst:
      return first.burner_first + f;
    case TileKind::kBurnerSecond:
      return first.burner_second + f;
  }
  return first.idle + f;
}

std::vector<TilePlacement> StandardTiles(std::uint8_t fan_count_code) {
  switch (fan_count_code) {
    case 0:
      return {{1, {48, 145}}};
    case 1:
      return {{2, {48, 100}}, {1, {48, 190}}};
    case 2:
      return {{3, {63, 95}}, {2, {63, 155}}, {1, {63, 215}}};
    default:
      // Four and six fan/heaters are built as two or three modules; a one-module picture has no
      // place for them, and an unknown code has no tiles either.
      return {};
  }
}

std::vector<TilePlacement> TwoModuleTiles(std::uint8_t fan_count_code) {
  switch (fan_count_code) {
    case 1:
      return {{2, {48, 92}}, {1, {48, 277}}};
    case 2:
      return {{3, {48, 92}}, {2, {48, 245}}, {1, {48, 310}}};
    case 3:
      return {{4, {48, 60}}, {3, {48, 125}}, {2, {48, 245}}, {1, {48, 310}}};
    case 4:
      return {{3, {48, 125}}, {2, {48, 245}}, {1, {48, 310}}};
    default:
      return {{2, {48, 245}}, {1, {48, 310}}};
  }
}

// Three modules, each with room for two tiles (upper and lower) or one in its middle; fan/heater
// 1 is the lowest, as on every other picture. An unknown fan count code draws no tiles.
std::vector<TilePlacement> ThreeModuleTiles(std::uint8_t fan_count_code) {
  constexpr int kX = 45;
  static constexpr std::array kTop{44, 150, 256};  // modules 1 (top) .. 3 (bottom), 96 px each
  auto upper = [](int m) { return Point{kX, kTop[static_cast<std::size_t>(m)] + 3}; };
  auto middle = [](int m) { return Point{kX, kTop[static_cast<std::size_t>(m)] + 26}; };
  auto lower = [](int m) { return Point{kX, kTop[static_cast<std::size_t>(m)] + 49}; };
  switch (fan_count_code) {
    case 0:
      return {{1, middle(2)}};
    case 1:
      return {{2, middle(1)}, {1, middle(2)}};
    case 2:
      return {{3, middle(0)}, {2, middle(1)}, {1, middle(2)}};
    case 3:
      return {{4, middle(0)}, {3, middle(1)}, {2, upper(2)}, {1, lower(2)}};
    case 4:
      return {{6, upper(0)}, {5, lower(0)}, {4, upper(1)},
              {3, lower(1)}, {2, upper(2)}, {1, lower(2)}};
    default:
      return {};
  }
}

int MeteringRollPicture(const link::ByteImage& state) {
  const bool one_fan = state.Get(sm::kFanCountCode) == 0;
  if ((state.Get(sm::kOptionBits183) & kFourInchRoll) != 0) return one_fan ? 487 : 489;
  return one_fan ? 485 : 490;
}

// Which words the three label fields show. The metering mode is bits 0x07 of byte 187; staged batch
// (byte 8 = 1) overrides it, as the controller then meters by the batch timers alone.
//   scheme: 1 "TEMP", 2 "3 SPEED", 5 "TEMP-5SP", batch or 6 "MC: NONE", 3 and 4 none (the type
//           field already says "MOIST"), any other value "TYPE:NONE";
//   type:   batch "TIME:TEMP"; 1 "ON/OFF" under on/off operation (0x40), "AUTO 2SP" with the
//           multi-speed display (0x80), else "TEMP"; 5 "TEMP"; 3, 4 "MOIST"; otherwise "NONE";
//   speed:  the meter roll output (byte 245, percent) named by the active speed: in modes 1 and 2
//           by the selection of byte 155 (2 "HI", 1 "MED", 0 "LO"; on/off operation shows its off
//           state as "LOW"); in mode 3 under automatic control (byte 201 = 3) the controller's
//           variable speed, byte 223 in tenths, as "MED %d.%d"; in modes 4 and 5 by the five-speed
//           step of byte 220 (signed: above the medium speed "M-HI", below "M-LO", at it "MED").
//           Nothing in batch drying or other modes, or for a selection outside 0..2.
MeteringLabels MeteringLabelsOf(const link::ByteImage& state) {
  MeteringLabels labels;
  const std::uint8_t mode_byte = state.Get(sm::kMeteringMode);
  const int mode = mode_byte & 0x07;
  const bool batch = state.Get(sm::kBatchSelector) == 1;
  const unsigned output = state.Get(kMeterRollOutput);
  const std::uint8_t selection = state.Get(sm::kMeteringSpeedShown);

  if (batch || mode == 6) {
    labels.scheme = "MC: NONE";
  } else if (mode == 1) {
    labels.scheme = "TEMP";
  } else if (mode == 2) {
    labels.scheme = "3 SPEED";
  } else if (mode == 5) {
    labels.scheme = "TEMP-5SP";
  } else if (mode != 3 && mode != 4) {
    labels.scheme = "TYPE:NONE";
  }

  if (batch) {
    labels.type = "TIME:TEMP";
    return labels;
  }
  switch (mode) {
    case 1:
      labels.type = (mode_byte & 0x40) != 0   ? "ON/OFF"
                    : (mode_byte & 0x80) != 0 ? "AUTO 2SP"
                                              : "TEMP";
      break;
    case 5:
      labels.type = "TEMP";
      break;
    case 3:
    case 4:
      labels.type = "MOIST";
      break;
    default:
      labels.type = "NONE";
  }

  if (mode == 1 || mode == 2) {
    const bool on_off = mode == 1 && (mode_byte & 0x40) != 0;
    if (selection == 2)
      labels.speed = Format("HI %u", output);
    else if (selection == 1)
      labels.speed = Format("MED %u", output);
    else if (selection == 0)
      labels.speed = Format(on_off ? "LOW %u" : "LO %u", output);
  } else if (mode == 3) {
    if (state.Get(sm::kMeteringControl201) == kAutomaticControl)
      labels.speed = Tenths("MED %u.%u", state.Get(kVariableSpeedTenths));
    else
      labels.speed = Format("MED %u", output);
  } else if (mode == 4 || mode == 5) {
    const auto step = static_cast<std::int8_t>(state.Get(kFiveSpeedStep));
    labels.speed = Format(step > 0 ? "M-HI %u" : step < 0 ? "M-LO %u" : "MED %u", output);
  }
  return labels;
}

OverlayValues OverlayValuesOf(const link::ByteImage& state, bool si_units) {
  OverlayValues v;
  const std::uint8_t mode_byte = state.Get(sm::kMeteringMode);
  const int mode = mode_byte & 0x07;
  const std::uint8_t config = state.Get(sm::kConfigBits);
  v.batch = state.Get(sm::kBatchSelector) == 1;
  const bool rice = (state.Get(sm::kHardwareOptions) & kRiceDrying) != 0;

  if (v.batch) {
    v.average_in = Tenths("%u.%u%%", state.GetBe16(sm::kAverageIncomingMoisture));
    v.average_out = Tenths("%u.%u%%", state.GetBe16(sm::kAverageOutgoingMoisture));
    v.rpm_or_batch_count = Format("%u", unsigned{state.GetBe16(sm::kBatchCounter)});
  } else {
    // The metering roll speed travels in tenths of an RPM, as the unload status window reads it.
    v.rpm_or_batch_count = Tenths("RPM %u.%01u", state.GetBe16(sm::kMeteringRpm));
  }
  v.incoming_moisture = Tenths("%u.%1u%%", state.GetBe16(sm::kIncomingMoisture));
  v.grain_temperature =
      rice ? "RICE" : Temperature(state.GetT16(sm::kGrainTempSelector0), si_units);

  const unsigned rate = state.GetBe16(sm::kUnloadRate);
  const std::uint32_t counter = state.GetU32(sm::kBushelCounter);
  if (si_units) {
    // Tonnes per hour and tonnes, truncated like the bushel total (see kGramsPerBushel).
    v.unload_rate = Format("MTH %u", static_cast<unsigned>(rate * kGramsPerBushel / 1'000'000));
    v.total = Format("MT %u", static_cast<unsigned>(std::uint64_t{counter} * kGramsPerBushel /
                                                    (3600ULL * 1'000'000)));
  } else {
    v.unload_rate = Format("BPH %u", rate);
    v.total = Format("TB %u", static_cast<unsigned>(counter / 3600));
  }
  // The outgoing grain temperature travels in tenths of a degree F; shown in whole degrees.
  const int outgoing_f = state.GetBe16(sm::kOutgoingGrainTemp) / 10;
  v.outgoing_temperature =
      Format(si_units ? "%d %cC" : "%d %cF", ShownTemperature(outgoing_f, si_units), 0xB0);
  if (mode == 1 || mode == 5 || (config & kOutgoingMoistureShown) != 0) {
    v.outgoing_moisture = Tenths("%u.%u%%", state.GetBe16(sm::kOutgoingMoisture));
  }
  v.long_scale = mode == 1 || mode == 5;
  if ((state.Get(sm::kSamplerConfig) & kCycledSampler) != 0) {
    // 1 sampling, 2 cleaning; any other value (0 at rest) reads as stopped.
    switch (state.Get(sm::kSamplerState)) {
      case 1:
        v.sampler = "SAMPLING";
        break;
      case 2:
        v.sampler = "CLEANING";
        break;
      default:
        v.sampler = "STOPPED";
    }
  }
  const bool setpoint_hidden =
      (mode_byte & 0x3F) == 1 || mode == 5 || (v.batch && (config & kBatchSetpointHidden) != 0);
  if (!setpoint_hidden)
    v.moisture_setpoint = Tenths("%u.%1u%%", state.GetBe16(sm::kMoistureSetpoint));
  v.labels = MeteringLabelsOf(state);

  // The governing grain temperature: selector 0, 1, 2 reads bytes 93, 91, 89. Any other selector
  // names no sensor, so the reading is shown as missing rather than guessed.
  const std::uint8_t selector = state.Get(sm::kGrainTempSelector);
  if (rice) {
    v.controlling_grain_temperature = "RICE";
  } else if (selector <= 2) {
    v.controlling_grain_temperature =
        Temperature(state.GetT16(sm::kGrainTempSelector0 - 2 * std::size_t{selector}), si_units);
  } else {
    v.controlling_grain_temperature = "---";
  }
  v.grain_setpoint = Temperature(state.GetT16(sm::kGrainTempSetpoint), si_units);
  v.grain_high = Temperature(state.GetT16(sm::kGrainHighTemp), si_units);
  v.grain_low = Temperature(state.GetT16(sm::kGrainLowTemp), si_units);
  return v;
}

bool DryerPicture::UpdateNoticeLatch(const link::ByteImage& state) {
  const bool condition =
      (state.Get(kUnloadManualBits) & kUnloadManual) != 0 && state.Get(sm::kBatchSelector) == 1;
  if (!condition) {
    notice_latch_ = false;
    return false;
  }
  if (notice_latch_) return false;
  notice_latch_ = true;
  return true;
}

bool DryerPicture::Paint(Canvas& canvas, const link::ByteImage& state,
                         const AnimationPhases& phases, bool si_units) {
  const platform::Size size = canvas.GetSize();
  canvas.FillRect(Rect{0, 0, size.w, size.h}, kBlack);
  bool notice = false;
  const DryerVariant variant = ChooseVariant(state);
  switch (variant) {
    case DryerVariant::kStandard:
      notice = UpdateNoticeLatch(state);
      StandardBase(canvas, state, phases);
      break;
    case DryerVariant::kTwoModule:
      TwoModuleBase(canvas, state, phases);
      break;
    case DryerVariant::kThreeModule:
      ThreeModuleBase(canvas, state, phases);
      break;
    case DryerVariant::kOnePlenum:
      OnePlenumBase(canvas, state, phases);
      break;
  }
  PaintOverlay(canvas, state, variant, si_units);
  return notice;
}

void DryerPicture::PaintOverlay(Canvas& canvas, const link::ByteImage& state, DryerVariant variant,
                                bool si_units) {
  // The animation paints the picture ten times a second while the values change about once a
  // second, and fitting the values' texts is most of a paint's recording: the overlay's calls are
  // kept and laid down again for as long as it would draw the same. The same state gives the same
  // values without formatting them again.
  canvas.SetFont(kBigValue);
  const int reference_width = canvas.MeasureText("188.8%").w;
  const auto before = state.Snapshot();
  const bool same_setting = overlay_ && overlay_->si_units == si_units &&
                            overlay_->variant == variant &&
                            overlay_->reference_width == reference_width;
  if (same_setting && overlay_->state == before) {
    platform::Replay(overlay_->calls, canvas);
    return;
  }
  OverlayValues values = OverlayValuesOf(state, si_units);
  std::optional<std::array<std::uint8_t, link::ByteImage::size()>> read_from;
  if (state.Snapshot() == before) read_from = before;  // else the values may come from either
  if (same_setting && overlay_->values == values) {
    overlay_->state = read_from;
    platform::Replay(overlay_->calls, canvas);
    return;
  }
  platform::RecordingCanvas recording(canvas.GetSize(),
                                      [&canvas](std::string_view text, Font font) {
                                        canvas.SetFont(font);
                                        return canvas.MeasureText(text);
                                      });
  switch (variant) {
    case DryerVariant::kStandard:
      StandardOverlay(recording, values);
      break;
    case DryerVariant::kTwoModule:
    case DryerVariant::kThreeModule:
      ColumnOverlay(recording, values, 140, 110, 236);
      break;
    case DryerVariant::kOnePlenum:
      ColumnOverlay(recording, values, 152, 40, 236);
      break;
  }
  platform::Replay(recording.Calls(), canvas);
  overlay_ = KeptOverlay{read_from,       si_units,          variant,
                         reference_width, std::move(values), recording.Calls()};
}

}  // namespace orvandry::views
