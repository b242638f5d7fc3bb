#pragma once

#include <array>
#include <bitset>
#include <cstddef>
#include <cstdint>
#include <initializer_list>

#include "link/commit_observer.h"
#include "link/frame_constants.h"
#include "link/link_shared.h"
#include "link/pending_write.h"
#include "link/table_fields.h"

namespace orvandry::link {

enum class CommitResult : std::uint8_t {
  kSent,          // stored and raised: the record goes out from the next CommandFrame on
  kUnchanged,     // nothing differs from what the screen started from: nothing stored or raised
  kNotConnected,  // no StatusFrame taken in yet, or the bytes were loaded before the first one:
                  // nothing stored or raised ("no link yet")
};

// A screen's working copy of the controller settings it edits. Every screen that changes a
// setting goes through one of these, on the UI thread:
//   - Load() each record the screen edits when it opens. A record whose PendingWrite is still
//     raised starts from its requested bytes, so opening a screen never sends the old value
//     back; otherwise it starts from DryerState, the controller's own value of every byte. The
//     display settings byte (266) always starts with its command bits 0x03 clear: a command is
//     sent once, by the press that sets it. Bytes 159-162 always start from the request image,
//     where the intake keeps the controller's metering bytes.
//   - Edit the working bytes with Get/Set or the field accessors (same offsets and encodings as
//     DryerState and the request image).
//   - Commit() a record for a button that acts at once; CommitIfChanged() on ACCEPT, which
//     raises only what differs from what the screen started from.
// A commit stores the record's bytes and raises its flag as one step with respect to the frame
// builder and the intake. Nothing is committed before the first StatusFrame has been taken in,
// nor from bytes loaded before it: such a screen must Load again.
//
// Records whose data come from DryerState (DataSource::kDryerState: the metering copies) carry
// nothing of the screen's: they need no Load, Commit just raises them, Changed() is false for
// them and CommitIfChanged() never raises them.
//
// Get, Set, the field accessors, Changed and Commit of a request-image record may only touch
// offsets that a Load has filled; anything else is a programming error (asserts in debug builds;
// release builds read and write the unloaded working bytes, which start as zero).
class SettingEdit : public TableFields<SettingEdit> {
 public:
  explicit SettingEdit(LinkShared& shared);
  SettingEdit(const SettingEdit&) = delete;
  SettingEdit& operator=(const SettingEdit&) = delete;

  // The intake has taken in a StatusFrame since start-up.
  bool Connected() const;

  // Takes the record's starting bytes into the working copy. The list form takes all of them in
  // one consistent snapshot.
  void Load(Rec rec);
  void Load(std::initializer_list<Rec> recs);

  std::uint8_t Get(std::size_t offset) const;
  void Set(std::size_t offset, std::uint8_t value);

  // The working bytes of `rec` differ from what the screen started from (the last Load, or the
  // last commit of the record).
  bool Changed(Rec rec) const;

  // Stores the record's working bytes in the request image and raises its flag. Command bits of
  // byte 266 that an earlier press raised and the builder has not yet sent are kept. What was
  // committed becomes the new starting point for Changed (with 266's command bits cleared again).
  CommitResult Commit(Rec rec);
  CommitResult CommitIfChanged(Rec rec);
  // ACCEPT of a screen that changes several records at once: every record of `recs` that differs
  // from what the screen started from is stored and raised in one hold of the lock, so the
  // builder puts them in the same CommandFrame (the dryer never sees half of the change, unless
  // the frame is full and later records wait for the next one). kSent when any was, kUnchanged
  // when none differs, kNotConnected (nothing sent) when any changed one cannot be sent yet.
  CommitResult CommitChanged(std::initializer_list<Rec> recs);

  // A one-byte record and the bits of it a screen owns.
  struct OwnedBits {
    Rec rec;
    std::uint8_t mask;
  };
  // A button that acts at once on bytes other screens or the intake also write: in one hold of
  // the lock (one frame), each record gets the owned bits from the working copy and keeps every
  // other bit as the record stands at this moment (its requested byte while raised, else
  // DryerState), and is raised whether it changed or not. A bit another change has requested
  // meanwhile is therefore never taken back. The working copy then holds the stored bytes.
  CommitResult CommitOwned(std::initializer_list<OwnedBits> parts);

 private:
  void LoadLocked(Rec rec, bool connected);
  bool LoadedBeforeLink(Rec rec) const;
  void StoreLocked(Rec rec);
  void StoreOwnedLocked(const OwnedBits& part);
  void Committed(Rec rec);
  void Notify(Rec rec) const;
  bool Loaded(std::size_t offset, std::size_t count) const;

  LinkShared& shared_;
  std::array<std::uint8_t, kStateSize> working_{};
  std::array<std::uint8_t, kStateSize> start_{};  // the baseline of Changed
  std::bitset<kStateSize> loaded_;
  std::bitset<kStateSize> loaded_before_link_;
};

// Takes back a change the controller has not taken: lowers `rec`'s flag and puts the controller's
// own value (DryerState) back into its requested bytes, in one hold of the lock, so the builder
// places the record with the requested bytes or not at all, and a screen opened afterwards starts
// from the controller's value. The bytes the intake keeps in the request image (159-162) are left
// to it. False, with nothing changed, when the flag was not raised (the controller took the change
// meanwhile, or nothing asked for it). UI thread.
bool WithdrawRequest(LinkShared& shared, Rec rec);

}  // namespace orvandry::link
