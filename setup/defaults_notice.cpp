#include "setup/defaults_notice.h"

namespace orvandry::setup {

platform::Rect DefaultsLineRect(int line) {
  return platform::Rect{10, 8 + 24 * line, 460, 20};
}

void DefaultsNotice::Paint(platform::Canvas& canvas) const {
  canvas.SetFont(kDefaultsFont);
  canvas.SetTextColour(platform::Rgb(0, 0, 0));
  canvas.SetBackgroundMode(platform::BackgroundMode::kTransparent);
  for (std::size_t i = 0; i < kDefaultsLines.size(); ++i)
    canvas.Text(DefaultsLineRect(static_cast<int>(i)), kDefaultsLines[i],
                platform::kAlignLeft | platform::kAlignVCentre | platform::kSingleLine);
  canvas.Picture(defaults_notice_id::kDipswitchPicture, kDipswitchAt);
}

void DefaultsNotice::Confirm() {
  shared_.defaults_confirmed.store(true);
}

bool DefaultsNotice::Confirmed() const {
  return shared_.defaults_confirmed.load();
}

}  // namespace orvandry::setup
