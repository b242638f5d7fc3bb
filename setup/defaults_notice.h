#pragma once

#include <array>

#include "link/link_shared.h"
#include "platform/canvas.h"

namespace orvandry::setup {

// Controls and pictures of the defaults dipswitch notice (template 179).
namespace defaults_notice_id {
inline constexpr int kTemplate = 179;
inline constexpr int kExit = 1101;
inline constexpr int kDipswitchPicture = 254;
}  // namespace defaults_notice_id

inline constexpr const char* kDefaultsCaption = "Please turn off DEFAULTS dipswitch! - 33";
inline constexpr std::array<const char*, 4> kDefaultsLines = {
    "Located on the back of the Control Switch Input/Output Board",
    "is a dipswitch labelled \"RESET DEFAULTS\".  This needs to be",
    "switched back to the left (red light should be off).",
    "Below is a picture of the dipswitch.",
};

// Where the notice draws its lines and the dipswitch picture, in client pixels.
platform::Rect DefaultsLineRect(int line);
inline constexpr platform::Point kDipswitchAt{16, 127};
inline constexpr platform::Font kDefaultsFont{13, 700};

// The notice the controller asks for while its reset-defaults dipswitch is on. Once the operator
// has left it, the controller's later requests open nothing until the display restarts.
class DefaultsNotice {
 public:
  explicit DefaultsNotice(link::LinkShared& shared) : shared_(shared) {}

  void Paint(platform::Canvas& canvas) const;
  // The operator has seen the notice.
  void Confirm();
  bool Confirmed() const;

 private:
  link::LinkShared& shared_;
};

}  // namespace orvandry::setup
