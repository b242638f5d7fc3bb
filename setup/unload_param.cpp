#include "setup/unload_param.h"

#include <cstdio>

#include "link/status_map.h"
#include "platform/prompter.h"
#include "setup/timer_entry.h"

namespace orvandry::setup {

namespace {

namespace sm = link::status_map;
using link::Rec;

constexpr std::uint8_t kLengthNote = 0x80;
constexpr std::uint8_t kCapacityFamily = 0x20;
constexpr std::uint8_t kFourInchRoll = 0x02;
constexpr int kDefaultMax = 80;
constexpr int kDefaultMin = 10;

int Capacity(int model_index) {
  if (model_index < 4) return 3000;
  if (model_index <= 5) return 4000;
  if (model_index == 6) return 6400;
  if (model_index <= 8) return 7000;
  return 8000;
}

}  // namespace

const char* const kUnloadRatesAcceptText =
    "The MAXIMUM unload rate must be greater than MINIMUM unload rate.  "
    "\t\t\t\t\t\t\t\t\t\t\t"
    "Set defaults?  Pressing YES will set defaults (Hi = 80% and Low = 10%).   "
    "\t\t\t\t\t\t\t\t\t\t\t"
    "Pressing NO will not change the previous settings.";

const char* const kUnloadHelpText =
    "Set the % MAXIMUM Unloading Rate to a\nvalue slightly lower than the maximum\nunload rate of "
    "your unloading equipment.\n(NOTE: this percentage will need to be \nexperimentally found by "
    "manually operating \nthe dryer unload at various unload rates to \ndetermine the maximum "
    "unload rate that \nyour equipment can handle.)  Set the \nMINIMUM Unload Rate at 10%.  Once "
    "\nthese values have been determined, \ntouch the ACCEPT/ EXIT button.\n";

BphBasis BphBasis::From(const link::ByteImage& state) {
  return BphBasis{state.Get(sm::kHardwareOptions), state.Get(sm::kDryerLengthCode),
                  (state.Get(sm::kOptionBits183) & kFourInchRoll) != 0};
}

int DryerLengthFeet(int index) {
  static constexpr int kFeet[15] = {8, 10, 12, 14, 16, 18, 20, 22, 24, 26, 28, 34, 36, 38, 40};
  return index >= 0 && index < 15 ? kFeet[index] : 0;
}

std::string BphText(int percent, const BphBasis& basis) {
  // Single precision, as the controller's own figures are.
  const float fraction = static_cast<float>(percent) * 0.01F;
  float bph = 0.0F;
  if ((basis.hardware_options & kCapacityFamily) != 0) {
    bph = static_cast<float>(Capacity(basis.model_index)) * fraction;
  } else {
    const float per_foot = basis.four_inch_roll ? 129.6F : 140.62021F;
    bph = static_cast<float>(DryerLengthFeet(basis.model_index)) * fraction * per_foot;
  }
  char text[32];
  std::snprintf(text, sizeof text, "%0.0f", static_cast<double>(bph));
  return text;
}

std::string BphNote(const BphBasis& basis) {
  char text[64];
  if ((basis.hardware_options & kLengthNote) != 0) {
    std::snprintf(text, sizeof text, "*Based upon %dft dryer @ 17.5 RPM.",
                  DryerLengthFeet(basis.model_index));
  } else if ((basis.hardware_options & kCapacityFamily) != 0) {
    std::snprintf(text, sizeof text, "*Based upon %d BPH capacity.", Capacity(basis.model_index));
  } else {
    return {};
  }
  return text;
}

UnloadParameters::UnloadParameters(link::LinkShared& shared, UnloadRateWarning& warning)
    : shared_(shared), warning_(warning), edit_(shared) {}

void UnloadParameters::Open() {
  edit_.Load({Rec::kUnloadRateMax, Rec::kUnloadRateMin});
  basis_ = BphBasis::From(shared_.dryer_state);
}

int UnloadParameters::Max() const {
  return edit_.GetBe16(sm::kUnloadRateMax);
}
int UnloadParameters::Min() const {
  return edit_.GetBe16(sm::kUnloadRateMin);
}

void UnloadParameters::SetRates(int max, int min) {
  edit_.SetBe16(sm::kUnloadRateMax, static_cast<std::uint16_t>(max));
  edit_.SetBe16(sm::kUnloadRateMin, static_cast<std::uint16_t>(min));
}

void UnloadParameters::IncreaseMax() {
  if (Max() < 100) SetRates(Max() + 1, Min());
}

void UnloadParameters::DecreaseMax(platform::Prompter& prompter) {
  if (Max() > 0) SetRates(Max() - 1, Min());
  StepWarning(prompter);
}

void UnloadParameters::IncreaseMin(platform::Prompter& prompter) {
  if (Min() < 100) SetRates(Max(), Min() + 1);
  StepWarning(prompter);
}

void UnloadParameters::DecreaseMin() {
  if (Min() > 0) SetRates(Max(), Min() - 1);
}

void UnloadParameters::StepWarning(platform::Prompter& prompter) {
  if (Min() < Max() || warning_.given) return;
  warning_.given = true;
  if (prompter.Ask(kUnloadRatesStepText, kUnloadRatesCaption, platform::Buttons::kYesNo,
                   platform::kExclamation) == platform::Answer::kYes)
    SetRates(kDefaultMax, kDefaultMin);
}

UnloadParameters::Outcome UnloadParameters::Accept(platform::Prompter& prompter) {
  if (Min() >= Max()) {
    warning_.given = true;
    if (prompter.Ask(kUnloadRatesAcceptText, kUnloadRatesCaption, platform::Buttons::kYesNo,
                     platform::kExclamation) != platform::Answer::kYes)
      return Outcome::kCancelled;
    SetRates(kDefaultMax, kDefaultMin);
  }
  for (Rec rec : {Rec::kUnloadRateMax, Rec::kUnloadRateMin}) {
    if (edit_.CommitIfChanged(rec) == link::CommitResult::kNotConnected) {
      prompter.Ask(kNotConnectedText, kNotConnectedCaption, platform::Buttons::kOk,
                   platform::kExclamation);
      return Outcome::kCancelled;
    }
  }
  return Outcome::kAccepted;
}

void UnloadParameters::Help(platform::Prompter& prompter) const {
  prompter.Ask(kUnloadHelpText, kUnloadHelpCaption, platform::Buttons::kOkCancel,
               platform::Icon::kNone);
}

}  // namespace orvandry::setup
