#include "setup/burner_mode.h"

#include "link/pending_write.h"
#include "link/status_map.h"
#include "platform/prompter.h"
#include "setup/timer_entry.h"

namespace orvandry::setup {

namespace {

namespace sm = link::status_map;
namespace id = burner_mode_id;
using link::Rec;

constexpr std::uint8_t kModeBits = 0x03;

template <std::size_t N>
int FanOf(const std::array<int, N>& ids, int control_id) {
  for (std::size_t i = 0; i < N; ++i)
    if (ids[i] == control_id) return static_cast<int>(i) + 1;
  return 0;
}

}  // namespace

void BurnerMode::Open() {
  edit_.Load({Rec::kBurnerMode1, Rec::kBurnerMode2, Rec::kBurnerMode3, Rec::kBurnerMode4,
              Rec::kBurnerMode5, Rec::kBurnerMode6});
}

std::uint8_t BurnerMode::Byte(int fan_heater) const {
  return edit_.Get(sm::BurnerMode(fan_heater));
}

BurnerChoice BurnerMode::Choice(int fan_heater) const {
  return static_cast<BurnerChoice>(Byte(fan_heater) & kModeBits);
}

void BurnerMode::SetChoice(int fan_heater, BurnerChoice choice) {
  const auto bits = static_cast<std::uint8_t>(choice);
  edit_.Set(sm::BurnerMode(fan_heater),
            static_cast<std::uint8_t>((Byte(fan_heater) & ~kModeBits) | bits));
}

void BurnerMode::Select(int fan_heater) {
  switch (Choice(fan_heater)) {
    case BurnerChoice::kHiLo:
      SetChoice(fan_heater, BurnerChoice::kOnOff);
      break;
    case BurnerChoice::kOnOff:
      SetChoice(fan_heater, BurnerChoice::kAuto);
      break;
    case BurnerChoice::kAuto:
      SetChoice(fan_heater, BurnerChoice::kHiLo);
      break;
    case BurnerChoice::kNone:
      break;  // nothing ticked: SELECT has nothing to step from
  }
}

void BurnerMode::All(BurnerChoice choice) {
  for (int fan = 1; fan <= kFanHeaters; ++fan) SetChoice(fan, choice);
}

BurnerMode::Outcome BurnerMode::Accept(platform::Prompter& prompter) {
  // Every byte the operator did not change stays out of the frame, so neither a burner without a
  // choice nor one the dryer changed while the dialog was open is rewritten.
  if (edit_.CommitChanged({Rec::kBurnerMode1, Rec::kBurnerMode2, Rec::kBurnerMode3,
                           Rec::kBurnerMode4, Rec::kBurnerMode5, Rec::kBurnerMode6}) ==
      link::CommitResult::kNotConnected) {
    prompter.Ask(kNotConnectedText, kNotConnectedCaption, platform::Buttons::kOk,
                 platform::kExclamation);
    return Outcome::kCancelled;
  }
  return Outcome::kAccepted;
}

BurnerMode::Outcome BurnerMode::Press(int control_id, platform::Prompter& prompter) {
  if (const int fan = FanOf(id::kSelect, control_id); fan != 0) {
    Select(fan);
    return Outcome::kKeepOpen;
  }
  switch (control_id) {
    case id::kAllHiLo:
      All(BurnerChoice::kHiLo);
      break;
    case id::kAllOnOff:
      All(BurnerChoice::kOnOff);
      break;
    case id::kAllAuto:
      All(BurnerChoice::kAuto);
      break;
    case id::kAccept:
      return Accept(prompter);
    case id::kCancel:
      return Cancel();
    default:
      break;
  }
  return Outcome::kKeepOpen;
}

}  // namespace orvandry::setup
