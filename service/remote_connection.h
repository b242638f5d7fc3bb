#pragma once

#include <cstdint>

#include "link/link_shared.h"
#include "link/setting_edit.h"

namespace orvandry::platform {
class Prompter;
}

namespace orvandry::service {

// Controls of the remote connection setup dialog (template 206).
namespace remote_id {
inline constexpr int kTemplate = 206;
inline constexpr int kDirectSerial = 1193;
inline constexpr int kModem = 1194;
inline constexpr int kEthernet = 1195;  // shown, never offered
inline constexpr int kRings[4] = {1197, 1198, 1199, 1200};
inline constexpr int kAccept = 1128;
inline constexpr int kCancel = 1129;
// The two frames; no ids of the dryer's.
inline constexpr int kTypeGroup = 1201;
inline constexpr int kRingsGroup = 1202;
}  // namespace remote_id

inline constexpr const char* kRemoteCaption = "REMOTE CONNECTION SETUP";

// The dryer's remote connection byte (246): bits 0-1 the rings before it answers (1, 5, 10, 15),
// bits 2-3 the connection type (0 direct serial, 1 modem, 2 Ethernet), bits 4-7 not this dialog's.
class RemoteConnection {
 public:
  enum class Outcome { kKeepOpen, kAccepted, kCancelled };
  static constexpr std::uint8_t kOwnedBits = 0x0F;

  explicit RemoteConnection(link::LinkShared& shared) : edit_(shared) {}

  // Takes the byte (or a change still on its way). Sends nothing.
  void Open();

  int Type() const { return (edit_.Get(Offset()) >> 2) & 0x03; }
  int Rings() const { return edit_.Get(Offset()) & 0x03; }

  // One control by id, as the dialog forwards touches. A type or rings box ticks that choice;
  // ACCEPT sends the type and rings with bits 4-7 as the dryer has them and closes.
  Outcome Press(int control_id, platform::Prompter& prompter);

 private:
  static std::size_t Offset();
  void SetField(int shift, int value);

  link::SettingEdit edit_;
};

}  // namespace orvandry::service
