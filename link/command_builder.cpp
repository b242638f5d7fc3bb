#include "link/command_builder.h"

#include <mutex>

#include "link/frame_constants.h"
#include "link/status_map.h"

namespace orvandry::link {
namespace {

std::size_t PlaceRecord(const LinkShared& shared, const PendingWriteRecord& record,
                        std::uint8_t* tx, std::size_t at) {
  tx[at] = record.group;
  tx[at + 1] = record.id;
  tx[at + 2] = record.size;
  const ByteImage& source =
      record.source == DataSource::kDryerState ? shared.dryer_state : shared.request;
  for (std::size_t i = 0; i < record.size; ++i) tx[at + 3 + i] = source.Get(record.data_offset + i);
  return at + 3 + record.size;
}

}  // namespace

bool BuildCommandFrame(LinkShared& shared, std::uint8_t* tx) {
  std::size_t length = 2;
  std::uint8_t count = 0;

  // Screens store a record's bytes and raise it under the same lock, so no record is placed with
  // half of a multi-byte value, and clearing the display command bits below cannot wipe bits a
  // screen has just set for its next press.
  std::scoped_lock lock(shared.request_lock);
  for (const PendingWriteRecord& record : kPendingWriteRecords) {
    // The flag is read (acquire) before the bytes, so a raised record never carries stale bytes.
    if (!shared.pending.IsRaised(record.rec)) continue;
    // The fan count record always comes first and so needs no length test; the clock record is
    // exempt because everything before it totals at most 92 bytes.
    const bool exempt = record.rec == Rec::kFanCount || record.rec == Rec::kClock;
    if (!exempt && length >= kCommandRecordLimit) continue;

    const bool one_shot = record.lowering == Lowering::kOneShot;
    // A one-shot flag is taken before its bytes are read: a screen that raises it again meanwhile
    // gets its record into the next frame instead of losing it.
    if (one_shot && !shared.pending.Take(record.rec)) continue;
    length = PlaceRecord(shared, record, tx, length);
    ++count;

    if (record.rec == Rec::kDisplaySettings) {
      // The command bits go out in this placement only; the record itself stays raised until the
      // controller reports its other bits, so a frame lost to the reset hold-off loses no setting.
      const std::size_t at = status_map::kDisplaySettings;
      shared.request.Set(at, shared.request.Get(at) & static_cast<std::uint8_t>(~0x03));
    }
  }

  tx[0] = static_cast<std::uint8_t>(length + 2);
  tx[1] = count;
  return count > 0;
}

}  // namespace orvandry::link
