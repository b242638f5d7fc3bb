#include "service/diagnostics.h"

#include "link/status_map.h"
#include "platform/prompter.h"

namespace orvandry::service {

namespace {

namespace id = diagnostics_id;
namespace sm = link::status_map;
using platform::Answer;
using platform::Buttons;
using platform::Icon;

constexpr const char* kAirswitchCaption = " AIRSWITCH TESTING - DIAGNOSTIC PURPOSES ONLY!";
constexpr const char* kAirswitchConfirmCaption = " AIRSWITCH TESTING DISABLE CONFIRMATION";
constexpr const char* kRecycleText =
    "You must recycle power to enable the Disable Airswitch option.";

constexpr int kFanHeatersByCode[] = {1, 2, 3, 4, 6};

}  // namespace

std::vector<std::size_t> CoveredAirswitchBytes(std::uint8_t fan_count_code) {
  std::vector<std::size_t> bytes;
  if (fan_count_code >= std::size(kFanHeatersByCode)) return bytes;
  for (int k = 1; k <= kFanHeatersByCode[fan_count_code]; ++k) bytes.push_back(sm::BurnerMode(k));
  return bytes;
}

Diagnostics::Diagnostics(link::LinkShared& shared) : shared_(shared), edit_(shared) {}

void Diagnostics::Open() {
  using link::Rec;
  edit_.Load({Rec::kOptionByte, Rec::kBurnerMode6, Rec::kBurnerMode5, Rec::kBurnerMode4,
              Rec::kBurnerMode3, Rec::kBurnerMode2, Rec::kBurnerMode1});
  loaded_connected_ = edit_.Connected();
}

void Diagnostics::ReloadIfEarly() {
  // Every action of this dialog is sent at once, so there is never an unsent edit to lose: bytes
  // taken before the dryer's first report are simply taken again.
  if (!loaded_connected_ && edit_.Connected()) Open();
}

std::vector<std::size_t> Diagnostics::Covered() const {
  return CoveredAirswitchBytes(shared_.dryer_state.Get(sm::kFanCountCode));
}

bool Diagnostics::TestingDisabled() const {
  // Only the fitted fan/heaters count: a stray bit on an absent one's byte is never cleared by
  // ENABLE, so counting it would leave the dialog stuck on "disabled".
  for (std::size_t byte : Covered())
    if ((shared_.dryer_state.Get(byte) & kAirswitchOff) != 0) return true;
  return false;
}

bool Diagnostics::ReenableRuleHolds() const {
  return TestingDisabled() && (shared_.dryer_state.Get(kRecycleByte) & kRecycleBit) != 0 &&
         (shared_.dryer_state.Get(kReenableHoldByte) & kReenableHoldBit) == 0;
}

bool Diagnostics::AirswitchIndicator() const {
  return TestingDisabled() && !ReenableRuleHolds();
}

const char* Diagnostics::AirswitchCaption() const {
  return AirswitchIndicator() ? "ENABLE Testing" : "DISABLE Testing";
}

bool Diagnostics::SensorShutdownDisabled() const {
  return (edit_.Get(sm::kOptionByte) & kSensorShutdownOff) != 0;
}

bool Diagnostics::ScreenSetsSpeed() const {
  return shared_.metering_source.load(std::memory_order_relaxed) == link::MeteringSource::kDisplay;
}

bool Diagnostics::Follow() {
  ReloadIfEarly();
  // The one thing this dialog sends without a press. The controller reports that disabling the
  // airswitch test is locked until the power is recycled; if testing is still off then, the burners
  // would fire without their airflow proven until someone noticed. So testing goes back on as soon
  // as the dialog sees it (unless the controller holds it with bit 0x20 of byte 118), once: the
  // working bytes then carry the request until the dryer echoes it.
  if (!ReenableRuleHolds()) return false;
  bool requested_off = false;
  for (std::size_t byte : Covered())
    requested_off = requested_off || (edit_.Get(byte) & kAirswitchOff) != 0;
  if (!requested_off) return false;
  return SetAirswitchOff(false) == link::CommitResult::kSent;
}

link::CommitResult Diagnostics::SetAirswitchOff(bool off) {
  for (std::size_t byte : Covered()) {
    const std::uint8_t value = edit_.Get(byte);
    edit_.Set(byte,
              static_cast<std::uint8_t>(off ? value | kAirswitchOff : value & ~kAirswitchOff));
  }
  using link::Rec;
  return edit_.CommitChanged({Rec::kBurnerMode6, Rec::kBurnerMode5, Rec::kBurnerMode4,
                              Rec::kBurnerMode3, Rec::kBurnerMode2, Rec::kBurnerMode1});
}

Diagnostics::Outcome Diagnostics::Press(int control, platform::Prompter& prompter) {
  ReloadIfEarly();
  switch (control) {
    case id::kLightOutputs:
      return Outcome::kOpenLightOutputs;
    case id::kSwitchWiring:
      return Outcome::kOpenSwitchTest;
    case id::kMeterRolls:
      return Outcome::kOpenMeterOutput;
    case id::kCalibrate:
      return Outcome::kOpenCalibration;
    case id::kAirswitch:
      Airswitch(prompter);
      return Outcome::kKeepOpen;
    case id::kSpeedViaScreen:
      MeteringSource(prompter);
      return Outcome::kKeepOpen;
    case id::kMeteringSensor:
      MeteringSensor(prompter);
      return Outcome::kKeepOpen;
    case id::kHelp:
      prompter.Ask(kDiagnosticsHelpText, kDiagnosticsHelpCaption, Buttons::kOk, Icon::kInformation);
      return Outcome::kKeepOpen;
    case id::kExit:
      return Outcome::kClose;
    default:
      return Outcome::kKeepOpen;
  }
}

void Diagnostics::Airswitch(platform::Prompter& prompter) {
  if (Covered().empty()) {
    // A fan count the display does not know: there is no byte it could change, so it must not
    // ask as if it could.
    prompter.Ask(
        "The dryer reports no fan/heater count this display knows.\nAirswitch testing "
        "was not changed.",
        kAirswitchCaption, Buttons::kOk, platform::kExclamation);
    return;
  }
  link::CommitResult result = link::CommitResult::kUnchanged;
  if (TestingDisabled()) {
    if (prompter.Ask("Do you wish to ENABLE airswitch testing?", kAirswitchCaption,
                     Buttons::kYesNoCancel, Icon::kQuestion) != Answer::kYes)
      return;
    result = SetAirswitchOff(false);
  } else if ((shared_.dryer_state.Get(kRecycleByte) & kRecycleBit) != 0) {
    prompter.Ask(kRecycleText, kAirswitchCaption, Buttons::kOk, platform::kExclamation);
    return;
  } else {
    if (prompter.Ask("Do you wish to DISABLE airswitch testing?", kAirswitchCaption,
                     Buttons::kYesNo, platform::kExclamation) != Answer::kYes)
      return;
    if (prompter.Ask("Pressing YES will DISABLE all airswitch testing!  Proceed?",
                     kAirswitchConfirmCaption, Buttons::kYesNo,
                     platform::kExclamation) != Answer::kYes)
      return;
    // The dryer kept reporting while the questions were open: it may have locked the option.
    if ((shared_.dryer_state.Get(kRecycleByte) & kRecycleBit) != 0) {
      prompter.Ask(kRecycleText, kAirswitchCaption, Buttons::kOk, platform::kExclamation);
      return;
    }
    result = SetAirswitchOff(true);
  }
  if (result == link::CommitResult::kNotConnected) {
    Open();  // nothing went out: start again from the dryer's bytes
    platform::TellNotConnected(prompter);
  }
}

void Diagnostics::MeteringSource(platform::Prompter& prompter) {
  if (ScreenSetsSpeed()) {
    if (prompter.Ask("Do you wish to set metering speed using knob on "
                     "\t\t\t\t\t\t\t\t\t\tlocated on front panel?",
                     " SET METERING SPEED VIA KNOB (ENCODER)?", Buttons::kYesNoCancel,
                     Icon::kQuestion) == Answer::kYes)
      shared_.metering_source.store(link::MeteringSource::kKnob, std::memory_order_relaxed);
    return;
  }
  if (prompter.Ask("Do you wish to set metering speed using touch screen?  Selecting "
                   "\t\t\t\t\t\t\t\t\t\tyes will disable meterin roll speed adjust knob on panel.",
                   " SET METERING SPEED VIA DISPLAY?", Buttons::kYesNoCancel,
                   Icon::kQuestion) == Answer::kYes)
    shared_.metering_source.store(link::MeteringSource::kDisplay, std::memory_order_relaxed);
}

void Diagnostics::MeteringSensor(platform::Prompter& prompter) {
  const std::uint8_t option = edit_.Get(sm::kOptionByte);
  const bool off = (option & kSensorShutdownOff) != 0;
  const Answer answer =
      off ? prompter.Ask("Do you wish to ENABLE the unload metering sensor?",
                         " ENABLE METERING ROLLS SENSOR?", Buttons::kYesNoCancel, Icon::kQuestion)
          : prompter.Ask(
                "Do you wish to DISABLE the unload metering sensor failure shutdown?"
                "\t\t\t\t\t\t\t\tRPM / BPH measurements will always read as zero.",
                " DISABLE THE METERING ROLLS SENSOR?", Buttons::kYesNoCancel, Icon::kQuestion);
  if (answer != Answer::kYes) return;
  edit_.Set(sm::kOptionByte, static_cast<std::uint8_t>(option ^ kSensorShutdownOff));
  if (edit_.Commit(link::Rec::kOptionByte) == link::CommitResult::kNotConnected) {
    edit_.Set(sm::kOptionByte, option);
    platform::TellNotConnected(prompter);
  }
}

bool BitSet(const link::LinkShared& shared, std::size_t byte, std::uint8_t bit) {
  return (shared.dryer_state.Get(byte) & bit) != 0;
}

const std::array<LightOutput, 16> kLightOutputs = {{
    {"J1-01 / SPARE", 1047, 239, 0x01, 1045, 177, 0x01},
    {"J1-02 / BURNER 6", 1062, 239, 0x02, 1046, 177, 0x02},
    {"J1-03 / FAN 6", 1063, 239, 0x04, 1048, 177, 0x04},
    {"J1-04 / BURNER 5", 1064, 239, 0x08, 1049, 177, 0x08},
    {"J1-05 / FAN 5", 1065, 239, 0x10, 1050, 177, 0x10},
    {"J1-06 / BURNER 4", 1066, 239, 0x20, 1051, 177, 0x20},
    {"J1-07 / FAN 4", 1067, 239, 0x40, 1052, 177, 0x40},
    {"J1-08 / BURNER 3", 1068, 239, 0x80, 1053, 177, 0x80},
    {"J2-01 / FAN 3", 1069, 240, 0x80, 1054, 178, 0x80},
    {"J2-02 / BURNER 2", 1070, 240, 0x40, 1055, 178, 0x40},
    {"J2-03 / FAN 2", 1071, 240, 0x20, 1056, 178, 0x20},
    {"J2-04 / BURNER 1", 1072, 240, 0x10, 1057, 178, 0x10},
    {"J2-05 / FAN 1", 1073, 240, 0x08, 1058, 178, 0x08},
    {"J2-06 / LOAD", 1074, 240, 0x04, 1059, 178, 0x04},
    {"J2-07 / UNLOAD", 1075, 240, 0x02, 1060, 178, 0x02},
    {"J2-08 / START", 1076, 240, 0x01, 1061, 178, 0x01},
}};

const std::vector<SwitchGroup>& SwitchGroups() {
  static const std::vector<SwitchGroup> groups = {
      {"J3 CONNECTOR",
       {{1067, "STOP", 179, 0x01},
        {1068, "START", 183, 0x01},
        {1066, "UNLOAD 1 SPEED", 179, 0x02},
        {1065, "UNLOAD 2 SPEED", 179, 0x04},
        {1064, "LOAD ON", 179, 0x08},
        {1063, "LOAD AUTO", 179, 0x10},
        {1075, "FAN 1 AUTO", 179, 0x20},
        {1076, "FAN 1 ON", 179, 0x40},
        {1077, "SPARE #1", 179, 0x80}}},
      {"J4 CONNECTOR",
       {{1062, "BURNER 1 AUTO", 180, 0x01},
        {1061, "BURNER 1 ON", 180, 0x02},
        {1060, "FAN 2 AUTO", 180, 0x04},
        {1059, "FAN 2 ON", 180, 0x08},
        {1058, "BURNER 2 AUTO", 180, 0x10},
        {1057, "BURNER 2 ON", 180, 0x20},
        {1072, "FAN 3 AUTO", 180, 0x40},
        {1073, "FAN 3 ON", 180, 0x80}}},
      {"J5 CONNECTOR",
       {{1074, "SPARE #2", 181, 0x01},
        {1056, "BURNER 3 AUTO", 181, 0x02},
        {1055, "BURNER 3 ON", 181, 0x04},
        {1054, "FAN 4 AUTO", 181, 0x08},
        {1053, "FAN 4 ON", 181, 0x10},
        {1052, "BURNER 4 AUTO", 181, 0x20},
        {1051, "BURNER 4 ON", 181, 0x40},
        {1069, "FAN 5 AUTO", 181, 0x80}}},
      {"J6 CONNECTOR",
       {{1045, "BURNER 6 ON", 182, 0x01},
        {1070, "FAN 5 ON", 182, 0x02},
        {1071, "SPARE #3", 182, 0x04},
        {1050, "BURNER 5 AUTO", 182, 0x08},
        {1049, "BURNER 5 ON", 182, 0x10},
        {1048, "FAN 6 AUTO", 182, 0x20},
        {1047, "FAN 6 ON", 182, 0x40},
        {1046, "BURNER 6 AUTO", 182, 0x80}}},
      {"MR ENCODER",
       {{1127, "MR PUSH BUTON", 183, 0x10},
        {1128, "MR LEFT", 183, 0x20},
        {1129, "MR RIGHT", 183, 0x40}}},
      {"3 POS DIPSWITCH",
       {{1130, "MANUAL", 183, 0x02}, {1131, "AUX", 183, 0x04}, {1132, "DEFAULTS", 183, 0x08}}},
      {"DRYER TYPE SW",
       {{1133, "SERIES 1", 225, 0x80},
        {1134, "SERIES 2", 225, 0x40},
        {1135, "SERIES 3", 225, 0x20},
        {1136, "SERIES 4", 225, 0x10},
        {1137, "SERIES 5", 225, 0x08},
        {1138, "SERIES 6", 225, 0x04},
        {1139, "SERIES 7", 225, 0x02},
        {1140, "SERIES 8", 225, 0x01}}},
  };
  return groups;
}

const char* const kDiagnosticsHelpCaption = "EXIT - Exits this screen";
const char* const kDiagnosticsHelpText =
    "Each Button is described below.\n\n"
    "Check Light Outputs - shows the display I/O board's light outputs: which have been switched "
    "on and which are shorted.\n"
    "Check Switch Wiring - shows every panel switch input as the dryer reads it; flip a switch "
    "and watch its box.\n"
    "DISABLE / ENABLE Testing - turns the airswitch testing of the fitted burners off or back "
    "on. For diagnostic purposes only.\n"
    "Setup Metering Rolls - sets the metering rolls output voltage.\n"
    "Set MR Speed Via Screen - chooses whether the metering roll speed is set with the knob on "
    "the front panel or on this screen.\n"
    "Disable metering rolls sensor failure shutdown - lets the dryer run with a failed metering "
    "roll sensor (RPM / BPH then read zero), or turns the shutdown back on.\n"
    "Calibrate Moisture Sensors - sets the offsets of the wet and dry moisture sensors.\n"
    "EXIT - Exits this screen.";

const char* const kLightOutputsHelpCaption = "Diagnostics/ Check light outputs Help";
const char* const kLightOutputsHelpText =
    "Each box shows one light output of the display I/O board.\n\n"
    "ACTIVATED ticked - the output has been switched on: the system has recently been run.\n"
    "SHORTED ticked - the wiring of that device is incorrect. Please check the lights wiring.\n\n"
    "EXIT - Exits this screen.";

}  // namespace orvandry::service
