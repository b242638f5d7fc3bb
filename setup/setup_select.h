#pragma once

#include <array>

#include "link/link_shared.h"

namespace orvandry::setup {

// The hardware setup board's buttons by command id.
namespace setup_select_id {
inline constexpr int kDryingMode = 34865;
inline constexpr int kMcSetup = 34883;
inline constexpr int kBurnerMode = 34867;
inline constexpr int kUnloadParameters = 36974;
inline constexpr int kPlenumTempManager = 36975;
inline constexpr int kCalibrateMoisture = 36976;
inline constexpr int kExtendedSetup = 36977;
// Shown only on dryers without the one-plenum option (checked every second).
inline constexpr int kBphCal = 36902;
inline constexpr int kAutoStart = 36996;
// Service entries that also sit on the extended board, under the same commands there.
inline constexpr int kDiagnostics = 36978;
inline constexpr int kTimeDate = 36984;
inline constexpr int kDataLogger = 36987;
inline constexpr int kRemoteConnection = 36992;
}  // namespace setup_select_id

// The dialogs the board opens, by template number. Each is owned by whichever subsystem registers
// it; a template nobody owns yet opens nothing.
namespace setup_select_template {
inline constexpr int kDryingMode = 512;
inline constexpr int kUnloadParameters = 513;
inline constexpr int kPlenumTempManager = 514;
inline constexpr int kContinuousFlowSetup = 515;
inline constexpr int kStagedBatchSetup = 516;
inline constexpr int kBurnerMode = 177;
inline constexpr int kCalibrateMoisture = 223;
inline constexpr int kUnloadBushels = 226;
inline constexpr int kDiagnostics = 168;
inline constexpr int kTimeDate = 199;
inline constexpr int kDataLogger = 258;
inline constexpr int kRemoteConnection = 206;
}  // namespace setup_select_template

// One picture button of the board: its window text, where it sits in the board's client area and
// its faces.
struct SetupButtonDef {
  int id;
  const char* window_text;
  int x, y;
  int normal_face, pressed_face;
};
inline constexpr int kSetupButtonWidth = 175;
inline constexpr int kSetupButtonHeight = 50;
inline constexpr int kBurnerModeGreyedFace = 4406;

// Three columns of five places above Exit. The first seven are the board's own; the rest are the
// places of entries whose screens come with other parts of the display.
inline constexpr std::array<SetupButtonDef, 13> kSetupButtons = {{
    {setup_select_id::kDryingMode, "DRYING MODE", 10, 20, 4401, 4400},
    {setup_select_id::kMcSetup, "MC SETUP", 10, 90, 4403, 4402},
    {setup_select_id::kBurnerMode, "BURNER MODE", 222, 160, 4405, 4404},
    {setup_select_id::kUnloadParameters, "UNLOAD PARAMETERS", 222, 20, 4409, 4408},
    {setup_select_id::kPlenumTempManager, "PLENUM TEMP MANAGER", 222, 90, 4411, 4410},
    {setup_select_id::kCalibrateMoisture, "CALIBRATE MOISTURE SENSOR", 440, 20, 4413, 4412},
    {setup_select_id::kExtendedSetup, "EXTENDED SETUP", 440, 90, 4415, 4414},
    {setup_select_id::kAutoStart, "AUTO START", 10, 160, 4417, 4416},
    {setup_select_id::kBphCal, "bph cal", 440, 160, 4419, 4418},
    {setup_select_id::kDiagnostics, "DIAGNOSTICS", 10, 230, 4421, 4420},
    {setup_select_id::kTimeDate, "SET TIME DATE", 222, 230, 4423, 4422},
    {setup_select_id::kDataLogger, "DATA LOGGER SETUP", 440, 230, 4425, 4424},
    {setup_select_id::kRemoteConnection, "REMOTE CONNECTION", 10, 300, 4427, 4426},
}};

// The button by id, or null.
const SetupButtonDef* FindSetupButton(int id);

// What a press of a board button asks for.
struct SetupPress {
  enum class Action {
    kNothing,       // the button does nothing now
    kOpenDialog,    // open `template_id` over the board
    kShowExtended,  // hide the board and show the extended setup board
  };
  Action action = Action::kNothing;
  int template_id = 0;
};

// The rules of the hardware setup board. It sends nothing itself: its buttons open dialogs, and
// the dialogs edit the settings.
class SetupSelect {
 public:
  explicit SetupSelect(link::LinkShared& shared) : shared_(shared) {}

  SetupPress Press(int id) const;

  // The dryer has one plenum and no burner modes to choose (hardware option bit 0x20): the
  // Burner Mode button shows greyed and does nothing, and "bph cal" is hidden.
  bool OnePlenum() const;
  bool Visible(int id) const;

  // The drying mode the M/C Setup button goes by: the operator's choice while it is on its way to
  // the dryer, else what the dryer reports.
  bool StagedBatch() const;

 private:
  link::LinkShared& shared_;
};

}  // namespace orvandry::setup
