#include "link/setting_edit.h"

#include <cassert>
#include <mutex>
#include <vector>

#include "link/status_map.h"

namespace orvandry::link {
namespace {

constexpr std::uint8_t kDisplayCommandBits = 0x03;

// The intake keeps the controller's metering control byte and working speeds in the request
// image (160-162 never reach DryerState), refreshing them while no metering edit is outstanding.
constexpr bool KeptInRequestImage(std::size_t offset) {
  return offset >= status_map::kSpeedSelection && offset <= status_map::kWorkingSpeedLow;
}

}  // namespace

SettingEdit::SettingEdit(LinkShared& shared) : shared_(shared) {}

bool SettingEdit::Connected() const {
  return shared_.first_frame_accepted.load(std::memory_order_acquire);
}

void SettingEdit::Load(Rec rec) {
  Load({rec});
}

void SettingEdit::Load(std::initializer_list<Rec> recs) {
  // Under the lock no record is half stored by a commit, and no flag is lowered without its echo
  // having reached DryerState.
  std::scoped_lock lock(shared_.request_lock);
  const bool connected = Connected();
  for (Rec rec : recs) LoadLocked(rec, connected);
}

void SettingEdit::LoadLocked(Rec rec, bool connected) {
  const PendingWriteRecord& record = RecordOf(rec);
  if (record.source == DataSource::kDryerState) return;
  const std::size_t at = record.target_offset();
  const bool raised = shared_.pending.IsRaised(rec);
  for (std::size_t offset = at; offset < at + record.size; ++offset) {
    const bool requested = raised || KeptInRequestImage(offset);
    std::uint8_t value = requested ? shared_.request.Get(offset) : shared_.dryer_state.Get(offset);
    if (rec == Rec::kDisplaySettings) value &= static_cast<std::uint8_t>(~kDisplayCommandBits);
    working_[offset] = value;
    start_[offset] = value;
    loaded_.set(offset);
    loaded_before_link_.set(offset, !connected);
  }
}

bool SettingEdit::Loaded(std::size_t offset, std::size_t count) const {
  for (std::size_t i = offset; i < offset + count; ++i)
    if (i >= kStateSize || !loaded_.test(i)) return false;
  return true;
}

std::uint8_t SettingEdit::Get(std::size_t offset) const {
  assert(Loaded(offset, 1) && "SettingEdit: offset read before its record was loaded");
  return working_[offset];
}

void SettingEdit::Set(std::size_t offset, std::uint8_t value) {
  assert(Loaded(offset, 1) && "SettingEdit: offset written before its record was loaded");
  working_[offset] = value;
}

bool SettingEdit::Changed(Rec rec) const {
  const PendingWriteRecord& record = RecordOf(rec);
  if (record.source == DataSource::kDryerState) return false;
  const std::size_t at = record.target_offset();
  assert(Loaded(at, record.size) && "SettingEdit: record compared before it was loaded");
  for (std::size_t offset = at; offset < at + record.size; ++offset)
    if (working_[offset] != start_[offset]) return true;
  return false;
}

bool SettingEdit::LoadedBeforeLink(Rec rec) const {
  const PendingWriteRecord& record = RecordOf(rec);
  if (record.source == DataSource::kDryerState) return false;
  const std::size_t at = record.target_offset();
  assert(Loaded(at, record.size) && "SettingEdit: record committed before it was loaded");
  for (std::size_t offset = at; offset < at + record.size; ++offset)
    if (loaded_before_link_.test(offset)) return true;
  return false;
}

void SettingEdit::StoreLocked(Rec rec) {
  const PendingWriteRecord& record = RecordOf(rec);
  if (record.source == DataSource::kRequestImage) {
    const std::size_t at = record.target_offset();
    std::uint8_t carried = 0;
    // Command bits still in the requested byte have not been placed yet (the builder clears them
    // as it places the record): they belong to an earlier press and still go out.
    if (rec == Rec::kDisplaySettings && shared_.pending.IsRaised(rec))
      carried = shared_.request.Get(at) & kDisplayCommandBits;
    shared_.request.CopyFrom(at, working_.data() + at, record.size);
    if (carried != 0) shared_.request.Set(at, static_cast<std::uint8_t>(working_[at] | carried));
  }
  shared_.pending.Raise(rec);
}

void SettingEdit::StoreOwnedLocked(const OwnedBits& part) {
  const PendingWriteRecord& record = RecordOf(part.rec);
  assert(record.size == 1 && record.source == DataSource::kRequestImage &&
         "SettingEdit: owned bits of a one-byte request-image record only");
  const std::size_t at = record.target_offset();
  const std::uint8_t base =
      shared_.pending.IsRaised(part.rec) ? shared_.request.Get(at) : shared_.dryer_state.Get(at);
  const auto value = static_cast<std::uint8_t>((base & ~part.mask) | (working_[at] & part.mask));
  shared_.request.Set(at, value);
  shared_.pending.Raise(part.rec);
  working_[at] = value;
}

// Outside the lock: the observer may take its time (it writes a journal), and the builder and
// the intake must never wait for it.
void SettingEdit::Notify(Rec rec) const {
  if (shared_.commit_observer == nullptr) return;
  const PendingWriteRecord& record = RecordOf(rec);
  if (record.source == DataSource::kDryerState) {
    shared_.commit_observer->OnCommitted(rec, {});
    return;
  }
  shared_.commit_observer->OnCommitted(
      rec, std::span<const std::uint8_t>(working_.data() + record.target_offset(), record.size));
}

void SettingEdit::Committed(Rec rec) {
  const PendingWriteRecord& record = RecordOf(rec);
  if (record.source == DataSource::kDryerState) return;
  const std::size_t at = record.target_offset();
  if (rec == Rec::kDisplaySettings) working_[at] &= static_cast<std::uint8_t>(~kDisplayCommandBits);
  for (std::size_t offset = at; offset < at + record.size; ++offset)
    start_[offset] = working_[offset];
}

CommitResult SettingEdit::Commit(Rec rec) {
  if (!Connected() || LoadedBeforeLink(rec)) return CommitResult::kNotConnected;
  {
    std::scoped_lock lock(shared_.request_lock);
    StoreLocked(rec);
  }
  Notify(rec);
  Committed(rec);
  return CommitResult::kSent;
}

CommitResult SettingEdit::CommitChanged(std::initializer_list<Rec> recs) {
  if (!Connected()) return CommitResult::kNotConnected;
  std::vector<Rec> changed;
  for (Rec rec : recs)
    if (Changed(rec)) changed.push_back(rec);
  if (changed.empty()) return CommitResult::kUnchanged;
  for (Rec rec : changed)
    if (LoadedBeforeLink(rec)) return CommitResult::kNotConnected;
  {
    std::scoped_lock lock(shared_.request_lock);
    for (Rec rec : changed) StoreLocked(rec);
  }
  for (Rec rec : changed) {
    Notify(rec);
    Committed(rec);
  }
  return CommitResult::kSent;
}

CommitResult SettingEdit::CommitOwned(std::initializer_list<OwnedBits> parts) {
  if (!Connected()) return CommitResult::kNotConnected;
  for (const OwnedBits& part : parts)
    if (LoadedBeforeLink(part.rec)) return CommitResult::kNotConnected;
  {
    std::scoped_lock lock(shared_.request_lock);
    for (const OwnedBits& part : parts) StoreOwnedLocked(part);
  }
  for (const OwnedBits& part : parts) {
    Notify(part.rec);
    Committed(part.rec);
  }
  return CommitResult::kSent;
}

CommitResult SettingEdit::CommitIfChanged(Rec rec) {
  if (!Connected()) return CommitResult::kNotConnected;
  if (!Changed(rec)) return CommitResult::kUnchanged;
  return Commit(rec);
}

bool WithdrawRequest(LinkShared& shared, Rec rec) {
  const PendingWriteRecord& record = RecordOf(rec);
  std::scoped_lock lock(shared.request_lock);
  if (!shared.pending.IsRaised(rec)) return false;
  shared.pending.Lower(rec);
  if (record.source == DataSource::kRequestImage) {
    const std::size_t at = record.target_offset();
    for (std::size_t offset = at; offset < at + record.size; ++offset)
      if (!KeptInRequestImage(offset)) shared.request.Set(offset, shared.dryer_state.Get(offset));
  }
  return true;
}

}  // namespace orvandry::link
