#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

#include "link/link_shared.h"
#include "link/setting_edit.h"
#include "platform/colour.h"
#include "platform/geometry.h"

namespace orvandry::platform {
class Canvas;
class Prompter;
}  // namespace orvandry::platform

namespace orvandry::setup {

// Controls of the metering roll speed dialog (template 166).
namespace metering_id {
inline constexpr int kTemplate = 166;
inline constexpr int kScheme = 1049;
inline constexpr int kFirstScheme = 1221;
inline constexpr int kSecondScheme = 1222;
inline constexpr int kIncrease = 1047;
inline constexpr int kDecrease = 1046;
inline constexpr int kSelect = 1048;
inline constexpr int kAccept = 1043;
inline constexpr int kCancel = 1044;
inline constexpr int kSpeedAdjustBox = 1226;
inline constexpr int kSchemeBox = 1234;
}  // namespace metering_id

inline constexpr const char* kMeteringCaption =
    "MODIFYING METER ROLL SPEED SETPOINTS (Use knob on control panel) - 23";
inline constexpr platform::Colour kMeteringBackground = platform::Bgr(0xC0C0C0);

// The selection values: which setpoint INCREASE and DECREASE act on.
enum class Speed : std::uint8_t { kLow = 0, kMain = 1, kHigh = 2 };

// One gauge: where its bar is centred, which setpoint it shows and its title.
struct GaugeDef {
  int centre_x = 0;
  Speed speed = Speed::kMain;
  const char* title = "";
};

// What the dialog shows for the reported metering mode.
struct MeteringLayout {
  std::array<GaugeDef, 3> gauges{};
  std::size_t count = 0;
  bool single = false;          // the single gauge, with its scale
  bool scheme_visible = false;  // the scheme button and its two indicators
};

// The edit record of the metering roll speed dialog. It works on its own copy of the metering
// bytes (a SettingEdit): the selection and the three speeds as request bytes 159-162, the
// moisture control mode byte (187) and the drying mode byte (224). While the knob on the control
// panel sets the speeds, the status intake keeps the controller's values in the request image and
// Follow() takes those that moved into the copy.
class MeteringSpeed {
 public:
  enum class Outcome { kKeepOpen, kAccepted, kCancelled };

  explicit MeteringSpeed(link::LinkShared& shared);

  // Loads the copy when the dialog opens: the speeds from DryerState (the five-speed medium speed
  // in metering modes 4 and 5), the selection from the request image. In modes 4 and 5 the medium
  // speed is also copied to the main working speed. Under the display's source the forced cases
  // of the SELECT rule are applied (and sent if they change the selection).
  void Open();
  // On every repaint the intake asks for: takes the knob's moves, refreshes the mode byte unless
  // an edit of it is outstanding, and applies tracking.
  void Follow();

  bool Increase();
  bool Decrease();
  void Select();
  void Scheme(platform::Prompter& prompter);
  Outcome Accept(platform::Prompter& prompter);
  Outcome Cancel();

  // State for painting.
  std::uint8_t Selected() const { return edit_.Get(kSelection); }
  std::uint8_t Value(Speed speed) const;  // what its gauge shows
  std::uint8_t ModeByte() const { return edit_.Get(kModeByte); }
  int MeteringMode() const { return ModeByte() & 0x07; }
  bool Tracking() const { return MeteringMode() == 2 && (ModeByte() & 0x20) != 0; }
  // The controller runs the speed itself: no manual adjustment is taken.
  bool Automatic() const;
  // INCREASE, DECREASE, SELECT and "Speed Adjust" work only when the display sets the speed.
  bool AdjustEnabled() const { return from_display_; }
  MeteringLayout Layout() const;
  std::string SchemeCaption() const;
  const char* FirstSchemeCaption() const;
  const char* SecondSchemeCaption() const;
  bool FirstSchemeTicked() const;

 private:
  static constexpr std::size_t kSelection = 159;
  static constexpr std::size_t kModeByte = 187;
  static std::size_t WorkingOffset(Speed speed) { return 162 - static_cast<std::size_t>(speed); }
  // Where the gauge's value comes from in DryerState.
  std::size_t StateSource(Speed speed) const;
  bool Step(int delta);
  // The SELECT rule; `forcing_only` leaves out the toggle, for opening and a change of scheme.
  bool ApplySelectRule(bool forcing_only);
  void ApplyTracking();
  void CommitSelection();
  void CommitFourBytes();

  link::LinkShared& shared_;
  link::SettingEdit edit_;
  bool from_display_ = false;
  bool reapply_select_ = false;
  // The request bytes 159-162 as last seen: a byte that differs was moved by the knob.
  std::array<std::uint8_t, 4> seen_{};
  bool sent_four_bytes_ = false;
};

// Draws the gauges (and in the automatic state the note) on the dialog's face.
void PaintMeteringSpeed(platform::Canvas& canvas, const MeteringSpeed& metering);

}  // namespace orvandry::setup
