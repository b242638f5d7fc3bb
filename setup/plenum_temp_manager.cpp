#include "setup/plenum_temp_manager.h"

#include "link/status_map.h"
#include "platform/prompter.h"
#include "setup/timer_entry.h"

namespace orvandry::setup {

namespace {

constexpr std::size_t kByte = link::status_map::kPlenumTempManager;
constexpr std::uint8_t kTimeBits = 0x38;
constexpr std::uint8_t kStepBits = 0x07;

int Wrapped(int index, int by) {
  return (index + by + 8) % 8;
}

}  // namespace

const char* const kPlenumManagerHelpText =
    "The Plenum Temp Manager will reduce the plenum\ntemperature setpoint(s) if the unload "
    "rate\nreaches its maximum allowable value for the\ntime specified by the Time Between Steps "
    "menu.\nOnce the time has been exceeded the dryer\nwill reduce the temp setpoint by the "
    "amount \ngiven in the Size of Temperature Steps menu.\n\nIf the time given by the Time "
    "Between Steps \nmenu without the unload rate at its maximum\nvalue, the dryer will increase "
    "the plenum \nsetpoint in the selected increments until \neither the original setpoint is "
    "reached, or\nthe maximum unload rate is reached.\n";

const char* TimeBetweenStepsText(int index) {
  static constexpr const char* kTexts[8] = {"15 MINUTES", "30 MINUTES", "45 MINUTES", "1 HOUR",
                                            "1.5 HOURS ", "2 HOURS   ", "3 HOURS   ", "4 HOURS   "};
  return kTexts[index & 0x07];
}

const char* StepSizeText(int index) {
  static constexpr const char* kTexts[8] = {"Select  ", "2 DEG F ", "3 DEG F ", "5 DEG F ",
                                            "10 DEG F", "15 DEG F", "20 DEG F", "25 DEG F"};
  return kTexts[index & 0x07];
}

void PlenumTempManager::Open() {
  edit_.Load(link::Rec::kPlenumTempManager);
}

std::uint8_t PlenumTempManager::Byte() const {
  return edit_.Get(kByte);
}

void PlenumTempManager::ToggleOn() {
  edit_.Set(kByte, static_cast<std::uint8_t>(Byte() ^ 0x80));
}

void PlenumTempManager::StepTime(int by) {
  const int index = Wrapped(TimeIndex(), by);
  edit_.Set(kByte, static_cast<std::uint8_t>((Byte() & ~kTimeBits) | (index << 3)));
}

void PlenumTempManager::StepSize(int by) {
  const int index = Wrapped(StepIndex(), by);
  edit_.Set(kByte, static_cast<std::uint8_t>((Byte() & ~kStepBits) | index));
}

PlenumTempManager::Outcome PlenumTempManager::Accept(platform::Prompter& prompter) {
  if (edit_.CommitIfChanged(link::Rec::kPlenumTempManager) == link::CommitResult::kNotConnected) {
    prompter.Ask(kNotConnectedText, kNotConnectedCaption, platform::Buttons::kOk,
                 platform::kExclamation);
    return Outcome::kCancelled;
  }
  return Outcome::kAccepted;
}

void PlenumTempManager::Help(platform::Prompter& prompter) const {
  prompter.Ask(kPlenumManagerHelpText, kPlenumManagerHelpCaption, platform::Buttons::kOkCancel,
               platform::Icon::kNone);
}

}  // namespace orvandry::setup
