#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "link/byte_image.h"
#include "platform/canvas.h"
#include "platform/recording_canvas.h"
#include "shell/animation_phases.h"

namespace orvandry::views {

// The animation phases the 100 ms tick advances, each 0, 1 or 2.
using AnimationPhases = shell::AnimationPhases;

// The picture frame for a phase. A phase can only be 0..2 when the tick works right; anything else
// shows the first frame rather than a picture number outside the set.
constexpr int FrameOf(std::uint8_t phase) {
  return phase <= 2 ? phase : 0;
}

enum class DryerVariant { kStandard, kTwoModule, kThreeModule, kOnePlenum };
DryerVariant ChooseVariant(const link::ByteImage& state);

// What a fan/heater tile shows, from the fan/heater's state and burner bytes.
enum class TileKind { kIdle, kFanRunning, kBurnerFirst, kBurnerSecond };
TileKind TileKindOf(const link::ByteImage& state, int fan_heater);

// The picture sets of the tiles: the one- and two-fan set (292-306), the three-fan and two-module
// set (341-352) and the three-module set (325-336).
enum class TileSet { kLarge, kCompact, kThreeModule };
int TilePicture(TileSet set, TileKind kind, int frame);

struct TilePlacement {
  int fan_heater = 1;
  platform::Point at;
};
std::vector<TilePlacement> StandardTiles(std::uint8_t fan_count_code);
std::vector<TilePlacement> TwoModuleTiles(std::uint8_t fan_count_code);
std::vector<TilePlacement> ThreeModuleTiles(std::uint8_t fan_count_code);

// The metering roll picture by roll size (bit 0x02 of byte 183) and whether the dryer has one fan.
int MeteringRollPicture(const link::ByteImage& state);

// The three label fields of the overlay: metering scheme, moisture-control type and the current
// metering speed. An empty text is not drawn.
struct MeteringLabels {
  std::string scheme;
  std::string type;
  std::string speed;
  friend bool operator==(const MeteringLabels&, const MeteringLabels&) = default;
};
MeteringLabels MeteringLabelsOf(const link::ByteImage& state);

// The values every overlay shows, formatted. Empty texts are not shown.
struct OverlayValues {
  std::string incoming_moisture;
  std::string moisture_setpoint;  // empty while the mode hides it
  std::string grain_temperature;  // "RICE" in rice drying
  std::string rpm_or_batch_count;
  bool batch = false;
  std::string average_in;  // batch drying only
  std::string average_out;
  std::string unload_rate;
  std::string total;
  std::string outgoing_temperature;
  std::string outgoing_moisture;  // empty unless the mode shows it
  std::string sampler;            // empty without a cycled sampler
  MeteringLabels labels;
  bool long_scale = false;  // the outgoing moisture's scale extension
  // Only the two-module, three-module and one-plenum overlays show these.
  std::string controlling_grain_temperature;  // by the grain temperature selector
  std::string grain_setpoint;
  std::string grain_high;
  std::string grain_low;
  friend bool operator==(const OverlayValues&, const OverlayValues&) = default;
};
OverlayValues OverlayValuesOf(const link::ByteImage& state, bool si_units);

inline constexpr const char* kBatchUnloadNoticeText =
    "BATCH OPERATION REQUIRES THE UNLOAD TO BE IN AUTO! UNLOAD WILL NOT STOP IN MANUAL!";
inline constexpr const char* kBatchUnloadNoticeCaption = "CONTINUE?";

// The live schematic of the dryer in the left column of the main screen. It keeps one byte of
// state: the latch of the batch-unload notice, so the notice comes once each time its condition
// arises.
class DryerPicture {
 public:
  static constexpr platform::Size kSize{240, 420};

  // Paints the whole picture from DryerState and the phases. Returns true when the batch-unload
  // notice is due: the caller shows it once the paint is over (a modal box must not run inside a
  // paint), and the latch is already set, so the next paint does not ask again.
  bool Paint(platform::Canvas& canvas, const link::ByteImage& state, const AnimationPhases& phases,
             bool si_units);

  bool NoticeLatched() const { return notice_latch_; }

 private:
  bool UpdateNoticeLatch(const link::ByteImage& state);
  void PaintOverlay(platform::Canvas& canvas, const link::ByteImage& state, DryerVariant variant,
                    bool si_units);

  // The overlay as last drawn, with what it was drawn from: the values (and the state they were
  // read from, when it held still while they were read), the units, the variant and how wide the
  // canvas measured a reference text (the fitted sizes follow the canvas's measurements).
  struct KeptOverlay {
    std::optional<std::array<std::uint8_t, link::ByteImage::size()>> state;
    bool si_units = false;
    DryerVariant variant = DryerVariant::kStandard;
    int reference_width = 0;
    OverlayValues values;
    std::vector<platform::DrawCall> calls;
  };

  bool notice_latch_ = false;
  std::optional<KeptOverlay> overlay_;
};

}  // namespace orvandry::views
