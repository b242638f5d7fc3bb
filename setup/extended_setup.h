#pragma once

#include <array>
#include <chrono>
#include <functional>
#include <optional>

#include "link/link_shared.h"

namespace orvandry::platform {
class Prompter;
}

namespace orvandry::setup {

// The extended setup board's buttons by command id.
namespace extended_id {
inline constexpr int kDiagnostics = 36978;
inline constexpr int kDifferential = 36979;
inline constexpr int kPrinterSetup = 36981;
inline constexpr int kMeterRollReverse = 36991;
inline constexpr int kSamplerCycleRate = 37010;
inline constexpr int kBphCalibration = 36983;
inline constexpr int kTimeDate = 36984;
inline constexpr int kTempScale = 36985;
inline constexpr int kDryerModel = 36982;
inline constexpr int kDataLogger = 36987;
inline constexpr int kUserDefaults = 36989;
inline constexpr int kBatches = 36990;
}  // namespace extended_id

// The dialogs the board opens, by template number; whichever subsystem registers a template owns
// it, and one nobody owns yet opens nothing.
namespace extended_template {
inline constexpr int kDiagnostics = 168;
inline constexpr int kDifferential = 170;
inline constexpr int kPrinterSetup = 322;
inline constexpr int kSampler = 556;
inline constexpr int kUnloadBushels = 226;
inline constexpr int kTimeDate = 199;
inline constexpr int kHardwareSetup = 164;
inline constexpr int kDataLogger = 258;
inline constexpr int kUserSettings = 479;
}  // namespace extended_template

// One picture button of the board: its window text, where it sits in the client area, its faces
// and the dialog it opens (0: the board acts itself).
struct ExtendedButtonDef {
  int id;
  const char* window_text;
  int x, y;
  int normal_face, pressed_face;
  int template_id;
};

inline constexpr std::array<ExtendedButtonDef, 12> kExtendedButtons = {{
    {extended_id::kDiagnostics, "DIAGNOSTICS", 10, 20, 4421, 4420, extended_template::kDiagnostics},
    {extended_id::kDifferential, "DIFFERENTIAL", 10, 90, 4801, 4800,
     extended_template::kDifferential},
    {extended_id::kPrinterSetup, "PRINTER SETUP", 10, 160, 4803, 4802,
     extended_template::kPrinterSetup},
    {extended_id::kMeterRollReverse, "METER ROLL REVERSE", 10, 230, 4805, 4804, 0},
    {extended_id::kSamplerCycleRate, "SAMPLER CYCLE RATE", 10, 300, 4807, 4806,
     extended_template::kSampler},
    {extended_id::kBphCalibration, "BPH CALIBRATION", 222, 20, 4809, 4808,
     extended_template::kUnloadBushels},
    {extended_id::kTimeDate, "SET TIME DATE", 222, 90, 4423, 4422, extended_template::kTimeDate},
    {extended_id::kTempScale, "TEMP SCALE", 222, 160, 4811, 4810, 0},
    {extended_id::kDryerModel, "DRYER MODEL", 222, 230, 4813, 4812,
     extended_template::kHardwareSetup},
    {extended_id::kDataLogger, "DATA LOGGER SETUP", 440, 20, 4425, 4424,
     extended_template::kDataLogger},
    {extended_id::kUserDefaults, "USER SAVED DEFAULTS", 440, 90, 4815, 4814,
     extended_template::kUserSettings},
    {extended_id::kBatches, "BATCHES", 440, 160, 4817, 4816, 0},
}};

const ExtendedButtonDef* FindExtendedButton(int id);

// The questions of the buttons that act at once.
inline constexpr const char* kToEnglishCaption = "SWITCH TO ENGLISH UNITS OF MEASURE";
inline constexpr const char* kToEnglishText =
    "Switch to English Units (Fahrenheit, bushels, etc.)?";
inline constexpr const char* kToSiCaption = "SWITCH TO SI UNITS OF MEASURE";
inline constexpr const char* kToSiText = "Switch to Metric (SI) Units (Celsius, metric ton, etc.)?";
inline constexpr const char* kReverseCaption = " METERING ROLL REVERSE OPTION";
inline constexpr const char* kReverseOffText =
    "Do you wish to DEACTIVATE the Metering Roll Reverse Option?";
inline constexpr const char* kReverseOnText =
    "Do you wish to ACTIVATE the Metering Roll Reverse Option?";
inline constexpr const char* kBatchCounterCaption = "BATCH COUNTER";
inline constexpr const char* kBatchCounterText = "Do wish to clear the batch counter?";

// What a press of a board button did.
struct ExtendedPress {
  enum class Action {
    kNothing,       // declined, or nothing to do
    kOpenDialog,    // open `template_id` over the board
    kSent,          // a setting went on its way to the dryer
    kNotConnected,  // the dryer has not reported yet: nothing sent, the operator was told
  };
  Action action = Action::kNothing;
  int template_id = 0;
  friend bool operator==(const ExtendedPress&, const ExtendedPress&) = default;
};

// The rules of the extended setup board. Dialog buttons only name their template; Temp Scale,
// Meter Roll Reverse and Batches ask their question and send one record each through SettingEdit,
// starting from what is on its way or else what the dryer reports, so nothing but the one bit or
// value the operator chose changes.
//
// The panel's units switch at once, but the dryer decides: once a frame answering the switch
// reports other units, the panel shows the dryer's units (FollowDryerUnits). The display
// settings record stays raised until the dryer takes it.
class ExtendedSetup {
 public:
  using Now = std::function<std::chrono::steady_clock::time_point()>;
  // How long after a switch a frame still may predate it: a frame in flight and one poll cycle
  // for the command to reach the dryer (two 350 ms cycles), with room to spare.
  static constexpr std::chrono::milliseconds kAnswerTime{1000};

  ExtendedSetup(link::LinkShared& shared, platform::Prompter& prompter,
                Now now = &std::chrono::steady_clock::now)
      : shared_(shared), prompter_(prompter), now_(std::move(now)) {}

  // Every button follows the dryer on every show, repaint and second: Batches only in staged
  // batch, Sampler Cycle Rate only with the cycled sampler, Dryer Model only with status option
  // bit 0x04, Meter Roll Reverse only with the 4-inch roll on a dryer without the one-plenum
  // option.
  bool Visible(int id) const;

  ExtendedPress Press(int id);

  // Called after frames were taken in: when the dryer reports other units than the panel shows,
  // and no switch is younger than kAnswerTime, the panel takes the dryer's units. True when the
  // panel's units changed.
  bool FollowDryerUnits();

 private:
  ExtendedPress SwitchUnits();
  ExtendedPress MeterRollReverse();
  ExtendedPress ClearBatchCounter();
  bool Yes(const char* text, const char* caption, bool yes_no_cancel);
  ExtendedPress NotConnected();

  link::LinkShared& shared_;
  platform::Prompter& prompter_;
  Now now_;
  std::optional<std::chrono::steady_clock::time_point> switched_at_;
};

}  // namespace orvandry::setup
