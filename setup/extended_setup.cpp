#include "setup/extended_setup.h"

#include "link/setting_edit.h"
#include "link/status_map.h"
#include "platform/prompter.h"
#include "setup/timer_entry.h"

namespace orvandry::setup {

namespace {

namespace id = extended_id;
namespace sm = link::status_map;
using link::Rec;

constexpr std::uint8_t kSiUnitsBit = 0x80;
constexpr std::uint8_t kReverseBit = 0x10;
constexpr std::uint8_t kSamplerCycled = 0x80;
constexpr std::uint8_t kFourInchRoll = 0x02;
constexpr std::uint8_t kDryerModelOption = 0x04;
constexpr std::uint8_t kOnePlenumOption = 0x20;

}  // namespace

const ExtendedButtonDef* FindExtendedButton(int id) {
  for (const ExtendedButtonDef& def : kExtendedButtons)
    if (def.id == id) return &def;
  return nullptr;
}

bool ExtendedSetup::Visible(int id) const {
  const link::ByteImage& state = shared_.dryer_state;
  switch (id) {
    case id::kBatches:
      return state.Get(sm::kBatchSelector) != 0;
    case id::kSamplerCycleRate:
      return (state.Get(sm::kSamplerConfig) & kSamplerCycled) != 0;
    case id::kDryerModel:
      return (state.Get(sm::kOptionBits183) & kDryerModelOption) != 0;
    case id::kMeterRollReverse:
      return (state.Get(sm::kOptionBits183) & kFourInchRoll) != 0 &&
             (state.Get(sm::kHardwareOptions) & kOnePlenumOption) == 0;
    default:
      return FindExtendedButton(id) != nullptr;
  }
}

ExtendedPress ExtendedSetup::Press(int id) {
  const ExtendedButtonDef* def = FindExtendedButton(id);
  // A button the dryer does not offer does nothing, even in the moment before it is hidden.
  if (def == nullptr || !Visible(id)) return {};
  if (def->template_id != 0) return {ExtendedPress::Action::kOpenDialog, def->template_id};
  switch (id) {
    case id::kTempScale:
      return SwitchUnits();
    case id::kMeterRollReverse:
      return MeterRollReverse();
    case id::kBatches:
      return ClearBatchCounter();
    default:
      return {};
  }
}

bool ExtendedSetup::Yes(const char* text, const char* caption, bool yes_no_cancel) {
  return prompter_.Ask(text, caption,
                       yes_no_cancel ? platform::Buttons::kYesNoCancel : platform::Buttons::kYesNo,
                       platform::Icon::kQuestion) == platform::Answer::kYes;
}

ExtendedPress ExtendedSetup::NotConnected() {
  prompter_.Ask(kNotConnectedText, kNotConnectedCaption, platform::Buttons::kOk,
                platform::kExclamation);
  return {ExtendedPress::Action::kNotConnected, 0};
}

ExtendedPress ExtendedSetup::SwitchUnits() {
  if (!link::SettingEdit(shared_).Connected()) return NotConnected();
  const bool to_si = shared_.si_units.load(std::memory_order_relaxed) == 0;
  if (!Yes(to_si ? kToSiText : kToEnglishText, to_si ? kToSiCaption : kToEnglishCaption, true))
    return {};
  // Loaded after the answer: the byte's other bits (view, safety enables) are whatever is on its
  // way or what the dryer reports now, never an old copy.
  link::SettingEdit edit(shared_);
  edit.Load(Rec::kDisplaySettings);
  const std::uint8_t settings = edit.Get(sm::kDisplaySettings);
  edit.Set(sm::kDisplaySettings,
           static_cast<std::uint8_t>(to_si ? settings | kSiUnitsBit : settings & ~kSiUnitsBit));
  if (edit.Commit(Rec::kDisplaySettings) == link::CommitResult::kNotConnected)
    return NotConnected();
  shared_.si_units.store(to_si ? 1 : 0, std::memory_order_relaxed);
  switched_at_ = now_();
  return {ExtendedPress::Action::kSent, 0};
}

ExtendedPress ExtendedSetup::MeterRollReverse() {
  link::SettingEdit edit(shared_);
  if (!edit.Connected()) return NotConnected();
  // The question is about the option as it will be: a change still on its way counts.
  edit.Load(Rec::kOptionByte);
  const bool active = (edit.Get(sm::kOptionByte) & kReverseBit) != 0;
  if (!Yes(active ? kReverseOffText : kReverseOnText, kReverseCaption, true)) return {};
  link::SettingEdit now(shared_);
  now.Load(Rec::kOptionByte);
  const std::uint8_t options = now.Get(sm::kOptionByte);
  now.Set(sm::kOptionByte,
          static_cast<std::uint8_t>(active ? options & ~kReverseBit : options | kReverseBit));
  if (now.Commit(Rec::kOptionByte) == link::CommitResult::kNotConnected) return NotConnected();
  return {ExtendedPress::Action::kSent, 0};
}

ExtendedPress ExtendedSetup::ClearBatchCounter() {
  link::SettingEdit edit(shared_);
  if (!edit.Connected()) return NotConnected();
  if (!Yes(kBatchCounterText, kBatchCounterCaption, false)) return {};
  edit.Load(Rec::kBatchCounter);
  edit.SetBe16(sm::kBatchCounter, 0);
  if (edit.Commit(Rec::kBatchCounter) == link::CommitResult::kNotConnected) return NotConnected();
  return {ExtendedPress::Action::kSent, 0};
}

bool ExtendedSetup::FollowDryerUnits() {
  if (!shared_.first_frame_accepted.load(std::memory_order_acquire)) return false;
  const std::uint8_t dryer =
      (shared_.dryer_state.Get(sm::kDisplaySettings) & kSiUnitsBit) != 0 ? 1 : 0;
  if (dryer == shared_.si_units.load(std::memory_order_relaxed)) return false;
  if (switched_at_ && now_() - *switched_at_ < kAnswerTime) return false;
  shared_.si_units.store(dryer, std::memory_order_relaxed);
  return true;
}

}  // namespace orvandry::setup
