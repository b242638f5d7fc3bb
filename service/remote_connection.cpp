#include "service/remote_connection.h"

#include "platform/prompter.h"

namespace orvandry::service {

namespace id = remote_id;

std::size_t RemoteConnection::Offset() {
  return link::RecordOf(link::Rec::kRemoteConnection).target_offset();
}

void RemoteConnection::Open() {
  edit_.Load(link::Rec::kRemoteConnection);
}

void RemoteConnection::SetField(int shift, int value) {
  const auto mask = static_cast<std::uint8_t>(0x03 << shift);
  const std::uint8_t old = edit_.Get(Offset());
  edit_.Set(Offset(), static_cast<std::uint8_t>((old & ~mask) | ((value << shift) & mask)));
}

RemoteConnection::Outcome RemoteConnection::Press(int control_id, platform::Prompter& prompter) {
  for (int rings = 0; rings < 4; ++rings) {
    if (control_id == id::kRings[rings]) {
      SetField(0, rings);
      return Outcome::kKeepOpen;
    }
  }
  switch (control_id) {
    case id::kDirectSerial:
      SetField(2, 0);
      return Outcome::kKeepOpen;
    case id::kModem:
      SetField(2, 1);
      return Outcome::kKeepOpen;
    case id::kAccept:
      if (edit_.CommitOwned({{link::Rec::kRemoteConnection, kOwnedBits}}) ==
          link::CommitResult::kNotConnected) {
        platform::TellNotConnected(prompter);
        return Outcome::kCancelled;
      }
      return Outcome::kAccepted;
    case id::kCancel:
      return Outcome::kCancelled;
    default:
      return Outcome::kKeepOpen;
  }
}

}  // namespace orvandry::service
