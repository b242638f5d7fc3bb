#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "link/link_shared.h"
#include "platform/colour.h"
#include "platform/geometry.h"
#include "shell/subsystem.h"

namespace orvandry::platform {
class Canvas;
}

namespace orvandry::setup {

// The buttons of the temperature selection screen by control id.
namespace temp_select_id {
inline constexpr int kPlenum1 = 34853;
inline constexpr int kPlenum2 = 34852;
inline constexpr int kPlenum3 = 34851;
inline constexpr int kPlenum4 = 34850;
inline constexpr int kPlenum5 = 34849;
inline constexpr int kPlenum6 = 34848;
inline constexpr int kPlenum1Low = 36969;
inline constexpr int kPlenum1High = 36970;
inline constexpr int kPlenum2Low = 36971;
inline constexpr int kPlenum2High = 36972;
inline constexpr int kGrainTemp = 34854;
inline constexpr int kGrainHigh = 36966;
inline constexpr int kGrainLow = 36967;
}  // namespace temp_select_id

enum class TempPanel { kPlenum, kGrain };

// One setpoint button: where it sits in its panel's client area, where its value is drawn, its
// faces and the temperature it shows.
struct TempButtonDef {
  int id;
  const char* window_text;
  TempPanel panel;
  platform::Rect rect;
  platform::Point value_at;
  int normal_face;
  int pressed_face;
};

// The LO/HI buttons share their places with the plenum buttons. The grain panel's HI-TEMP and
// LO-TEMP are 40 px high (for a gloved finger), centred on their 25 px places.
inline constexpr std::array<TempButtonDef, 13> kTempButtons = {{
    {temp_select_id::kPlenum1,
     "PLENUM 1 TEMP",
     TempPanel::kPlenum,
     {3, 135, 180, 50},
     {180, 140},
     4101,
     4100},
    {temp_select_id::kPlenum2,
     "PLENUM 2 TEMP",
     TempPanel::kPlenum,
     {3, 70, 180, 50},
     {180, 75},
     4103,
     4102},
    {temp_select_id::kPlenum3,
     "PLENUM 3 TEMP",
     TempPanel::kPlenum,
     {3, 5, 180, 50},
     {180, 10},
     4105,
     4104},
    {temp_select_id::kPlenum4,
     "PLENUM 4 TEMP",
     TempPanel::kPlenum,
     {323, 135, 180, 50},
     {500, 140},
     4107,
     4106},
    {temp_select_id::kPlenum5,
     "PLENUM 5 TEMP",
     TempPanel::kPlenum,
     {323, 70, 180, 50},
     {500, 75},
     4109,
     4108},
    {temp_select_id::kPlenum6,
     "PLENUM 6 TEMP",
     TempPanel::kPlenum,
     {323, 5, 180, 50},
     {500, 10},
     4111,
     4110},
    {temp_select_id::kPlenum1Low,
     "PLENUM 1 LO-TEMP",
     TempPanel::kPlenum,
     {3, 135, 180, 50},
     {180, 140},
     4113,
     4112},
    {temp_select_id::kPlenum1High,
     "PLENUM 1 HI-TEMP",
     TempPanel::kPlenum,
     {3, 70, 180, 50},
     {180, 75},
     4115,
     4114},
    {temp_select_id::kPlenum2Low,
     "PLENUM 2 LO-TEMP",
     TempPanel::kPlenum,
     {323, 135, 180, 50},
     {500, 140},
     4117,
     4116},
    {temp_select_id::kPlenum2High,
     "PLENUM 2 HI-TEMP",
     TempPanel::kPlenum,
     {323, 70, 180, 50},
     {500, 75},
     4119,
     4118},
    {temp_select_id::kGrainTemp,
     "GRAIN TEMP",
     TempPanel::kGrain,
     {3, 35, 200, 50},
     {200, 42},
     4121,
     4120},
    {temp_select_id::kGrainHigh,
     "GRAIN HI-TEMP",
     TempPanel::kGrain,
     {3, 18, 127, 40},
     {200, 25},
     4123,
     4122},
    {temp_select_id::kGrainLow,
     "GRAIN LO-TEMP",
     TempPanel::kGrain,
     {3, 68, 127, 40},
     {200, 75},
     4125,
     4124},
}};

// The two panels, in the screen's client area.
inline constexpr platform::Rect kPlenumPanelRect{0, 0, 630, 240};
inline constexpr platform::Rect kGrainPanelRect{0, 240, 630, 150};
inline constexpr platform::Colour kTempPanelBackground = platform::Rgb(192, 192, 192);

// The logic of the temperature selection screen: which setpoint buttons show, the values drawn
// beside them (always the controller's, from DryerState), and which temperature a button edits.
class TempSelect {
 public:
  explicit TempSelect(const link::LinkShared& shared) : shared_(shared) {}

  // Works out which buttons show for the dryer's drying mode, fan count and options. In a drying
  // mode other than continuous flow or staged batch the buttons stay as they were.
  void Refresh();
  bool Visible(int id) const;

  struct DrawnValue {
    platform::Point at;
    std::string text;
  };
  // The value beside every shown button of a panel, as " 180 °F " (or °C in SI units).
  std::vector<DrawnValue> Values(TempPanel panel) const;

  // The temperature entry a button opens (template, offset, limits and default in degrees F),
  // or nothing for a plenum the dryer's fan count lacks or an unknown id.
  std::optional<shell::DialogRequest> OpenRequest(int id) const;

 private:
  // The offset of the value a button shows and edits.
  std::optional<std::size_t> EditedOffset(int id) const;
  bool Dual() const;

  const link::LinkShared& shared_;
  std::array<bool, kTempButtons.size()> visible_{};
  bool laid_out_ = false;
};

// The panels' own drawing: the values, and on the grain panel the moisture note.
void PaintTempPanel(platform::Canvas& canvas, const TempSelect& select, TempPanel panel,
                    bool si_units);

}  // namespace orvandry::setup
