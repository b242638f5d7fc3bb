#include "service/sampler_setup.h"

#include "link/status_map.h"
#include "platform/prompter.h"

namespace orvandry::service {

namespace id = sampler_id;
namespace sm = link::status_map;

void SamplerSetup::Open() {
  edit_.Load(link::Rec::kSamplerConfig);
}

std::uint8_t SamplerSetup::Byte() const {
  return edit_.Get(sm::kSamplerConfig);
}

void SamplerSetup::Send(std::uint8_t value, std::uint8_t bits, platform::Prompter& prompter) {
  edit_.Set(sm::kSamplerConfig, static_cast<std::uint8_t>((Byte() & ~bits) | (value & bits)));
  if (edit_.CommitOwned({{link::Rec::kSamplerConfig, bits}}) != link::CommitResult::kNotConnected)
    return;
  platform::TellNotConnected(prompter);
  Open();  // show what the dryer has again
}

SamplerSetup::Outcome SamplerSetup::Press(int control_id, platform::Prompter& prompter) {
  switch (control_id) {
    case id::kSelectAction:
      Send(static_cast<std::uint8_t>(Byte() ^ kSwitchBit), kSwitchBit, prompter);
      break;
    case id::kSelectDelay:
      Send(static_cast<std::uint8_t>(((Delay() + 1) % 4) << 3), kDelayBits, prompter);
      break;
    case id::kSelectMaxTime:
      Send(static_cast<std::uint8_t>(((MaxTime() + 1) % 4) << 1), kMaxTimeBits, prompter);
      break;
    case id::kHelp:
      prompter.Ask(kSamplerHelpText, kSamplerHelpCaption, platform::Buttons::kOk,
                   platform::Icon::kInformation);
      break;
    case id::kAccept:
      return Outcome::kClosed;
    default:
      break;
  }
  return Outcome::kKeepOpen;
}

}  // namespace orvandry::service
