#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "link/link_shared.h"
#include "link/setting_edit.h"
#include "platform/canvas.h"

namespace orvandry::platform {
class Prompter;
}

namespace orvandry::setup {

// Controls of the burner differential dialog (template 170).
namespace burner_differential_id {
inline constexpr int kTemplate = 170;
// By plenum 1..6 at index 0..5.
inline constexpr std::array<int, 6> kPlenum = {1092, 1090, 1088, 1105, 1104, 1103};
// By degrees 1..5 at index 0..4.
inline constexpr std::array<int, 5> kDegrees = {1102, 1101, 1100, 1099, 1098};
inline constexpr int kAccept = 1108;
inline constexpr int kHelp = 1094;
// The display's own way out without sending (the standard cancel id).
inline constexpr int kCancel = 2;
}  // namespace burner_differential_id

inline constexpr const char* kBurnerDifferentialCaption =
    "MODIFYING BURNER DIFFERENTIAL SETTINGS - 15";
inline constexpr const char* kBurnerDifferentialHelpCaption = "EXIT - Exits this screen";
extern const char* const kBurnerDifferentialHelpText;

// Where plenum 1..6's line is drawn in the client area, and its colours.
platform::Point DifferentialLineAt(int plenum);
inline constexpr platform::Colour kSelectedLine = platform::Rgb(255, 0, 0);
inline constexpr platform::Colour kOtherLine = platform::Rgb(0, 0, 255);
inline constexpr platform::Font kDifferentialFont{15, 900};

// The burner differential dialog's rules: a plenum button picks the plenum, a degrees button
// sets that plenum's differential at once, ACCEPT / EXIT sends what changed.
class BurnerDifferential {
 public:
  enum class Outcome { kKeepOpen, kAccepted, kCancelled };

  explicit BurnerDifferential(link::LinkShared& shared) : edit_(shared) {}

  // Takes the six differentials (or changes still on their way) and selects plenum 1.
  void Open();

  int Selected() const { return selected_; }
  // Plenum 1..6, whole °F.
  std::uint8_t Differential(int plenum) const;
  // "PLENUM 1:   3 °F " (the differential is a span of degrees: always °F).
  std::string Line(int plenum) const;

  void Select(int plenum);
  // Stores 1..5 into the selected plenum's copy.
  void SetDegrees(int degrees);
  Outcome Accept(platform::Prompter& prompter);
  Outcome Cancel() const { return Outcome::kCancelled; }
  void Help(platform::Prompter& prompter) const;

  Outcome Press(int control_id, platform::Prompter& prompter);

  void Paint(platform::Canvas& canvas) const;

 private:
  link::SettingEdit edit_;
  int selected_ = 1;
};

}  // namespace orvandry::setup
