#include "setup/temp_select.h"

#include <cstdio>

#include "link/status_map.h"
#include "platform/canvas.h"
#include "platform/fitted_text.h"
#include "platform/temperature_units.h"
#include "setup/temperature_entry.h"

namespace orvandry::setup {

namespace {

namespace sm = link::status_map;
namespace id = temp_select_id;

constexpr std::uint8_t kDualOption = 0x02;
constexpr std::uint8_t kOnePlenumLayout = 0x20;
constexpr int kContinuousFlow = 0;
constexpr int kStagedBatch = 1;
constexpr int kGrainHighMode = 3;  // Grain Temp edits the grain high temperature

constexpr const char* kMoistureNote = "Increase temperature setpoint to decrease moisture";

constexpr TemperatureLimits kPlenumLimits{50, 250, 180};
constexpr TemperatureLimits kGrainSetpointLimits{50, 160, 105};
constexpr TemperatureLimits kGrainHighLimits{50, 180, 120};
constexpr TemperatureLimits kGrainLowLimits{50, 180, 105};

std::size_t IndexOf(int button_id) {
  for (std::size_t i = 0; i < kTempButtons.size(); ++i)
    if (kTempButtons[i].id == button_id) return i;
  return kTempButtons.size();
}

// The plenum a plenum button belongs to (1..6), 0 for the grain buttons.
int PlenumOf(int button_id) {
  switch (button_id) {
    case id::kPlenum1:
    case id::kPlenum1Low:
    case id::kPlenum1High:
      return 1;
    case id::kPlenum2:
    case id::kPlenum2Low:
    case id::kPlenum2High:
      return 2;
    case id::kPlenum3:
      return 3;
    case id::kPlenum4:
      return 4;
    case id::kPlenum5:
      return 5;
    case id::kPlenum6:
      return 6;
    default:
      return 0;
  }
}

// The smallest fan count code that gives the dryer this plenum (codes 0..4 mean 1, 2, 3, 4, 6).
int CodeFor(int plenum) {
  return plenum >= 5 ? 4 : plenum - 1;
}

}  // namespace

bool TempSelect::Dual() const {
  return (shared_.dryer_state.Get(sm::kConfigBits) & kDualOption) != 0;
}

void TempSelect::Refresh() {
  const int mode = shared_.dryer_state.Get(sm::kBatchSelector);
  const int code = shared_.dryer_state.Get(sm::kFanCountCode);
  const bool one_plenum = (shared_.dryer_state.Get(sm::kHardwareOptions) & kOnePlenumLayout) != 0;
  bool layout_by_mode = mode == kContinuousFlow || mode == kStagedBatch;
  // Until a layout has been worked out once, another mode starts from the continuous-flow one.
  if (!layout_by_mode && laid_out_) return;
  const bool dual = mode == kStagedBatch && Dual();
  // The one-plenum option limits the panel to plenum 1 in continuous flow only.
  const bool limit_to_one = mode != kStagedBatch && one_plenum;
  for (std::size_t i = 0; i < kTempButtons.size(); ++i) {
    const int button = kTempButtons[i].id;
    const int plenum = PlenumOf(button);
    bool show = false;
    switch (button) {
      case id::kPlenum1Low:
      case id::kPlenum1High:
      case id::kPlenum2Low:
      case id::kPlenum2High:
        show = dual && code >= CodeFor(plenum);
        break;
      case id::kGrainHigh:
      case id::kGrainLow:
        show = dual;
        break;
      case id::kGrainTemp:
        show = !dual;
        break;
      default:
        show = !dual && code >= CodeFor(plenum) && !(limit_to_one && plenum <= 3 && plenum > 1);
        break;
    }
    visible_[i] = show;
  }
  laid_out_ = true;
}

bool TempSelect::Visible(int button_id) const {
  const std::size_t i = IndexOf(button_id);
  return i < visible_.size() && visible_[i];
}

std::optional<std::size_t> TempSelect::EditedOffset(int button_id) const {
  const int plenum = PlenumOf(button_id);
  switch (button_id) {
    case id::kPlenum1Low:
      return sm::kPlenum1LowTemp;
    case id::kPlenum2Low:
      return sm::kPlenum2LowTemp;
    case id::kGrainTemp:
      if (shared_.dryer_state.Get(sm::kBatchSelector) == kGrainHighMode) return sm::kGrainHighTemp;
      return sm::kGrainTempSetpoint;
    case id::kGrainHigh:
      return sm::kGrainHighTemp;
    case id::kGrainLow:
      return sm::kGrainLowTemp;
    default:
      if (plenum == 0) return std::nullopt;
      return sm::PlenumSetpoint(plenum);
  }
}

std::vector<TempSelect::DrawnValue> TempSelect::Values(TempPanel panel) const {
  const bool si = shared_.si_units.load(std::memory_order_relaxed) != 0;
  std::vector<DrawnValue> values;
  for (std::size_t i = 0; i < kTempButtons.size(); ++i) {
    const TempButtonDef& def = kTempButtons[i];
    if (def.panel != panel || !visible_[i]) continue;
    const std::optional<std::size_t> offset = EditedOffset(def.id);
    if (!offset) continue;
    const int fahrenheit = shared_.dryer_state.GetT16(*offset);
    char text[24];
    std::snprintf(text, sizeof text, " %3d \xB0%c ",
                  si ? platform::fahrenheit_to_celsius(fahrenheit) : fahrenheit, si ? 'C' : 'F');
    values.push_back({def.value_at, text});
  }
  return values;
}

std::optional<shell::DialogRequest> TempSelect::OpenRequest(int button_id) const {
  const std::optional<std::size_t> offset = EditedOffset(button_id);
  if (!offset) return std::nullopt;
  const int plenum = PlenumOf(button_id);
  if (plenum != 0 && shared_.dryer_state.Get(sm::kFanCountCode) < CodeFor(plenum))
    return std::nullopt;
  TemperatureLimits limits = kPlenumLimits;
  if (*offset == sm::kGrainTempSetpoint) limits = kGrainSetpointLimits;
  if (*offset == sm::kGrainHighTemp) limits = kGrainHighLimits;
  if (*offset == sm::kGrainLowTemp) limits = kGrainLowLimits;
  return shell::DialogRequest{.template_id = temperature_entry_id::kTemplate,
                              .offset = *offset,
                              .max = limits.max,
                              .min = limits.min,
                              .fallback = limits.default_value};
}

void PaintTempPanel(platform::Canvas& canvas, const TempSelect& select, TempPanel panel,
                    bool si_units) {
  canvas.SetFont(platform::Font{30, 900});
  canvas.SetTextColour(platform::Rgb(0, 0, 255));
  canvas.SetBackgroundMode(platform::BackgroundMode::kOpaque);
  canvas.SetBackgroundColour(kTempPanelBackground);
  for (const TempSelect::DrawnValue& value : select.Values(panel))
    canvas.TextAt(value.at, value.text);
  if (panel != TempPanel::kGrain) return;

  struct NoteLine {
    platform::Point at;
    const char* text;
    platform::Colour colour;
  };
  constexpr platform::Colour kBlack = platform::Rgb(0, 0, 0);
  constexpr platform::Colour kRed = platform::Rgb(255, 0, 0);
  const std::vector<NoteLine> lines =
      si_units
          ? std::vector<NoteLine>{{{320, 30}, kMoistureNote, kBlack},
                                  {{320, 65}, "EACH 2.5 DEGREE CHANGE IN TEMPERATURE", kRed},
                                  {{330, 80}, "SETPOINT IS EQUAL TO 1 POINT CHANGE", kRed},
                                  {{405, 95}, "IN MOISTURE", kRed}}
          : std::vector<NoteLine>{{{320, 30}, kMoistureNote, kBlack},
                                  {{310, 65}, "EACH 5 DEGREE CHANGE IN TEMPERATURE SETPOINT", kRed},
                                  {{330, 80}, "IS EQUAL TO 1 POINT CHANGE IN MOISTURE", kRed}};
  // One size for the whole note, the largest at which every line ends inside the panel.
  platform::Font font{14, 700};
  for (const NoteLine& line : lines) {
    const platform::Font fitted =
        platform::FitFont(canvas, line.text, font, canvas.GetSize().w - line.at.x - 4);
    if (fitted.height < font.height) font = fitted;
  }
  canvas.SetFont(font);
  canvas.SetBackgroundMode(platform::BackgroundMode::kTransparent);
  for (const NoteLine& line : lines) {
    canvas.SetTextColour(line.colour);
    canvas.TextAt(line.at, line.text);
  }
}

}  // namespace orvandry::setup
