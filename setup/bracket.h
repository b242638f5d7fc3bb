#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "link/link_shared.h"
#include "link/setting_edit.h"
#include "platform/geometry.h"

namespace orvandry::platform {
class Canvas;
class Prompter;
}  // namespace orvandry::platform

namespace orvandry::setup {

// Controls of the five-speed bracket dialog (template 435, "BRACKETED 5 SPEED MOISTURE CONTROL
// SETUP - 23").
namespace bracket_id {
inline constexpr int kTemplate = 435;
inline constexpr int kValueGroup = 1276;
// Offset boxes, top row to bottom: positive outer, positive inner, setpoint, negative inner,
// negative outer.
inline constexpr std::array<int, 5> kValueOffsets = {1151, 1152, 1153, 1154, 1155};
inline constexpr std::array<int, 5> kSpeedOffsets = {1150, 1149, 1148, 1147, 1146};
// Actual speed boxes of the four bracket rows (the setpoint row has none).
inline constexpr std::array<int, 4> kSpeedActuals = {1160, 1159, 1158, 1156};
inline constexpr int kBracketInc = 1242;
inline constexpr int kBracketDec = 2;
inline constexpr int kSpeedInc = 1243;
inline constexpr int kSpeedDec = 3;
inline constexpr int kSelect = 1244;
inline constexpr int kDefaults = 1246;
inline constexpr int kAccept = 1245;
// The way out without a change.
inline constexpr int kCancel = 1247;
}  // namespace bracket_id

// The table's layout in client coordinates: row centres top to bottom, the two offset columns the
// selection frame spans, the actual speed column, and the frame's extent.
inline constexpr std::array<int, 5> kBracketRowY = {42, 67, 97, 127, 152};
inline constexpr int kBracketRowHeight = 22;
inline constexpr platform::Rect kBracketValueColumn{156, 0, 80, 0};
inline constexpr platform::Rect kBracketSpeedColumn{252, 0, 74, 0};
inline constexpr platform::Rect kBracketActualColumn{352, 0, 82, 0};
inline constexpr int kBracketFrameLeft = 151;
inline constexpr int kBracketFrameRight = 330;

// The five-speed bracket setup: the four bytes 226..229 (outer and inner bracket, outer and inner
// speed offset) around the setpoint and the medium speed. The brackets are moisture steps of
// 0.1 % in moisture five-speed control (metering mode 4) and whole degrees F otherwise. Every step
// stops at its limits; ACCEPT / EXIT sends the bytes that changed, CANCEL nothing.
class Bracket {
 public:
  enum class Row : std::uint8_t { kOuter = 0, kInner = 1 };
  enum class Outcome { kKeepOpen, kClosed };
  struct Values {
    std::uint8_t outer = 0;
    std::uint8_t inner = 0;
    std::uint8_t outer_speed = 0;
    std::uint8_t inner_speed = 0;
    friend bool operator==(const Values&, const Values&) = default;
  };
  // What the table shows, top row to bottom.
  struct Table {
    std::string group;                  // "MOISTURE " or "TEMPERATURE"
    std::array<std::string, 5> value;   // boxes 1151..1155
    std::array<std::string, 5> speed;   // boxes 1150..1146
    std::array<std::string, 4> actual;  // boxes 1160, 1159, 1158, 1156
  };

  // `metering_mode` is the low three bits of byte 187 the brackets belong to.
  Bracket(link::LinkShared& shared, std::uint8_t metering_mode);

  bool Moisture() const { return moisture_; }
  Row Selected() const { return row_; }
  Values Current() const;

  void Select();
  void BracketInc();
  void BracketDec();
  void SpeedInc();
  void SpeedDec();
  void Defaults();
  // Sends the bytes that differ from what the dialog started from.
  link::CommitResult Send(platform::Prompter& prompter);

  Table Shown() const;

  // One control by id, as the dialog forwards touches. Unknown ids are ignored.
  Outcome Press(int control_id, platform::Prompter& prompter);

  const link::SettingEdit& Edit() const { return edit_; }

 private:
  void Put(const Values& values);

  link::LinkShared& shared_;
  link::SettingEdit edit_;
  bool moisture_;
  Row row_ = Row::kOuter;
};

// The dialog's own drawing: the row names, the column titles and the red frame around the
// selected rows.
void PaintBracket(platform::Canvas& canvas, const Bracket& bracket);

}  // namespace orvandry::setup
