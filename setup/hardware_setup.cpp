#include "setup/hardware_setup.h"

#include "link/status_map.h"
#include "platform/prompter.h"
#include "setup/timer_entry.h"

namespace orvandry::setup {

namespace {

namespace sm = link::status_map;
namespace id = hardware_id;
using link::Rec;

constexpr std::uint8_t kCycledSamplerBit = 0x80;
constexpr std::uint8_t kDualBit = 0x02;
constexpr std::uint8_t kFourInchRollBit = 0x02;

// Fan count codes.
constexpr std::uint8_t kOneFan = 0;
constexpr std::uint8_t kTwoFans = 1;
constexpr std::uint8_t kThreeFans = 2;
constexpr std::uint8_t kFourFans = 3;
constexpr std::uint8_t kSixFans = 4;

// Module count codes.
constexpr std::uint8_t kOneModule = 0;
constexpr std::uint8_t kTwoModules = 1;
constexpr std::uint8_t kThreeModules = 2;

constexpr std::uint8_t kLastLoadSystem = 2;
constexpr std::uint8_t kLastFuel = 3;
constexpr std::uint8_t kLastPosition = 14;

// The next value of a cycling choice; anything past the last (or out of range) starts over.
std::uint8_t Next(std::uint8_t value, std::uint8_t last) {
  return value < last ? static_cast<std::uint8_t>(value + 1) : 0;
}

}  // namespace

HardwareSetup::HardwareSetup(link::LinkShared& shared) : shared_(shared), edit_(shared) {}

void HardwareSetup::Open() {
  edit_.Load({Rec::kFanCount, Rec::kModuleCount, Rec::kFuel, Rec::kLoadSystem, Rec::kDryerLength,
              Rec::kSamplerConfig});
  hardware_options_ = shared_.dryer_state.Get(sm::kHardwareOptions);
  layout_ = (hardware_options_ & 0xF0) == 0x20 ? HardwareLayout::kModel : HardwareLayout::kLength;
}

std::uint8_t HardwareSetup::FanCode() const {
  return Byte(sm::kFanCountCode);
}
std::uint8_t HardwareSetup::Modules() const {
  return Byte(sm::kModuleCountCode);
}
std::uint8_t HardwareSetup::Fuel() const {
  return Byte(sm::kFuelCode);
}
std::uint8_t HardwareSetup::LoadSystem() const {
  return Byte(sm::kLoadSystemCode);
}
std::uint8_t HardwareSetup::Position() const {
  return Byte(sm::kDryerLengthCode);
}
bool HardwareSetup::CycledSampler() const {
  return (Byte(sm::kSamplerConfig) & kCycledSamplerBit) != 0;
}
bool HardwareSetup::FourInchRoll() const {
  return (shared_.dryer_state.Get(sm::kOptionBits183) & kFourInchRollBit) != 0;
}

bool HardwareSetup::FanAllowed(int fan_code) const {
  switch (Modules()) {
    case kOneModule:
      return fan_code <= kThreeFans;
    case kTwoModules:
      return fan_code == kThreeFans || fan_code == kFourFans;
    case kThreeModules:
      return fan_code == kFourFans || fan_code == kSixFans;
    default:
      return true;  // a module count the dialog does not know greys nothing
  }
}

const char* HardwareSetup::PositionCaption() const {
  return layout_ == HardwareLayout::kModel ? "Model Number" : "Dryer Length (ft)";
}

const char* HardwareSetup::FansCaption() const {
  return layout_ == HardwareLayout::kModel ? "Number of Fans" : "Number FH";
}

const char* HardwareSetup::PositionName(int position) const {
  if (position < 0 || position > kLastPosition) return "";
  const auto at = static_cast<std::size_t>(position);
  return layout_ == HardwareLayout::kModel ? kModelNames[at] : kLengthNames[at];
}

void HardwareSetup::StepFans() {
  std::uint8_t code = FanCode();
  if (FansRestricted()) {
    code = code == kOneFan ? kThreeFans : kOneFan;
  } else {
    switch (Modules()) {
      case kOneModule:
        code = code == kOneFan || code == kTwoFans ? static_cast<std::uint8_t>(code + 1) : kOneFan;
        break;
      case kTwoModules:
        code = code == kThreeFans ? kFourFans : kThreeFans;
        break;
      case kThreeModules:
        code = code == kFourFans ? kSixFans : kFourFans;
        break;
      default:
        return;  // no rule for an unknown module count: Number Modules sets one first
    }
  }
  SetByte(sm::kFanCountCode, code);
}

void HardwareSetup::StepModules() {
  const std::uint8_t modules = Next(Modules(), kThreeModules);
  std::uint8_t code = FanCode();
  if (modules == kThreeModules && code <= kThreeFans) {
    code = kFourFans;
  } else if (modules == kTwoModules && code != kThreeFans && code != kFourFans) {
    code = kThreeFans;
  } else if (modules == kOneModule && (code == kFourFans || code == kSixFans)) {
    code = kThreeFans;
  }
  SetByte(sm::kModuleCountCode, modules);
  SetByte(sm::kFanCountCode, code);
}

void HardwareSetup::StepLoad() {
  SetByte(sm::kLoadSystemCode, Next(LoadSystem(), kLastLoadSystem));
}

void HardwareSetup::StepFuel() {
  SetByte(sm::kFuelCode, Next(Fuel(), kLastFuel));
}

void HardwareSetup::StepPosition() {
  SetByte(sm::kDryerLengthCode, Next(Position(), kLastPosition));
  // Before the first report nothing goes; ACCEPT tells the operator.
  edit_.Commit(Rec::kSamplerConfig);
}

void HardwareSetup::ToggleSampler(platform::Prompter& prompter) {
  const std::uint8_t sampler = Byte(sm::kSamplerConfig);
  if ((sampler & kCycledSamplerBit) != 0) {
    SetByte(sm::kSamplerConfig, static_cast<std::uint8_t>(sampler & ~kCycledSamplerBit));
    return;
  }
  if (prompter.Ask(kSamplerQuestion, kSamplerQuestionCaption, platform::Buttons::kYesNoCancel,
                   platform::Icon::kQuestion) == platform::Answer::kYes)
    SetByte(sm::kSamplerConfig, static_cast<std::uint8_t>(sampler | kCycledSamplerBit));
}

HardwareSetup::Outcome HardwareSetup::Accept(platform::Prompter& prompter) {
  bool not_sent = false;
  const auto send_if_changed = [&](Rec rec) {
    if (edit_.Changed(rec) && edit_.Commit(rec) == link::CommitResult::kNotConnected)
      not_sent = true;
  };
  // The staged-batch DUAL option belongs to dryers with one fan/heater. The configuration byte is
  // taken as it stands now, so its other bits go back as the dryer (or a change on its way to it)
  // has them.
  if (FanCode() != kOneFan) {
    edit_.Load(Rec::kConfigBits);
    SetByte(sm::kConfigBits, static_cast<std::uint8_t>(Byte(sm::kConfigBits) & ~kDualBit));
    send_if_changed(Rec::kConfigBits);
  }
  for (Rec rec : {Rec::kFanCount, Rec::kModuleCount, Rec::kFuel, Rec::kLoadSystem,
                  Rec::kDryerLength, Rec::kSamplerConfig})
    send_if_changed(rec);
  if (not_sent)
    prompter.Ask(kNotConnectedText, kNotConnectedCaption, platform::Buttons::kOk,
                 platform::kExclamation);
  return Outcome::kClosed;
}

HardwareSetup::Outcome HardwareSetup::Press(int control_id, platform::Prompter& prompter) {
  switch (control_id) {
    case id::kFansSelect:
      StepFans();
      break;
    case id::kModulesSelect:
      StepModules();
      break;
    case id::kLoadSelect:
      StepLoad();
      break;
    case id::kFuelSelect:
      StepFuel();
      break;
    case id::kLengthSelect:
      StepPosition();
      break;
    case id::kSamplerSelect:
      ToggleSampler(prompter);
      break;
    case id::kAccept:
      return Accept(prompter);
    default:
      break;
  }
  return Outcome::kKeepOpen;
}

}  // namespace orvandry::setup
