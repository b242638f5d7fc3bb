#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "link/link_shared.h"
#include "link/pending_write.h"
#include "link/setting_edit.h"

namespace orvandry::platform {
class Prompter;
}

namespace orvandry::service {

// Controls of the moisture sensor calibration dialog (template 223).
namespace calibration_id {
inline constexpr int kTemplate = 223;
inline constexpr int kAccept = 1147;
inline constexpr int kHelp = 1151;
}  // namespace calibration_id

// The four offsets, in the order the dialog lists them.
enum class Offset : std::uint8_t { kWetMoisture, kDryMoisture, kWetTemperature, kDryTemperature };
inline constexpr std::size_t kOffsetCount = 4;

struct OffsetDef {
  const char* label;
  std::size_t byte;  // signed 16-bit, high byte first, tenths
  link::Rec rec;
  int edit_id;
  int down_id;  // "<<<"
  int up_id;    // ">>>"
};
const OffsetDef& DefOf(Offset offset);

inline constexpr int kOffsetMin = -100;  // -10.0
inline constexpr int kOffsetMax = 100;   // +10.0

// A reading or an offset in tenths as one decimal, the sign written once: -45 is "-4.5", -5 is
// "-0.5".
std::string Tenths(int tenths);

// The edit record of the calibration dialog: the four offsets as the technician steps them, and
// the two sensors' readings as the dryer reports them.
class Calibration {
 public:
  enum class Outcome { kKeepOpen, kClose };

  explicit Calibration(link::LinkShared& shared);

  // Takes the offsets the dryer holds. A value outside -10.0 .. +10.0 starts at the nearer limit,
  // so the arrows work from a value the dryer can take and ACCEPT sends that one.
  void Open();
  Outcome Press(int control, platform::Prompter& prompter);
  // The dryer has reported: a dialog opened before its first report, and not touched yet, takes
  // the dryer's offsets now.
  void Follow();

  int Value(Offset offset) const;
  // The offset as its edit control shows it.
  std::string Text(Offset offset) const { return Tenths(Value(offset)); }

  // The readings, in tenths (signed, as the dryer reports them).
  int Moisture(bool wet) const;
  int TemperatureF(bool wet) const;

 private:
  void Step(Offset offset, int delta);

  link::LinkShared& shared_;
  link::SettingEdit edit_;
  bool loaded_connected_ = false;
  bool stepped_ = false;
};

// The lines the help box shows, as typed.
extern const char* const kCalibrationHelpCaption;
extern const char* const kCalibrationHelpText;

}  // namespace orvandry::service
