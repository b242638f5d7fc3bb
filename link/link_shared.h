#pragma once

#include <atomic>
#include <cstdint>
#include <mutex>

#include "link/byte_image.h"
#include "link/frame_constants.h"
#include "link/pending_write.h"
#include "link/status_map.h"

namespace orvandry::link {

class CommitObserver;

// Where the metering-roll speeds are set from; switched on the diagnostics screen.
enum class MeteringSource : std::uint8_t { kKnob, kDisplay };

// Everything the link thread and the UI thread share. One instance lives for the whole run (owned
// by app/); tests make their own. Every member is a byte or an aligned 32-bit word; the comment on
// each says who writes it. A record's requested bytes and its flag are the one place where two
// sides write related values, and they are kept consistent by request_lock (below).
struct LinkShared {
  LinkShared() { dryer_state.Set(status_map::kDryerActivity, status_map::kDryerActivityPreset); }
  LinkShared(const LinkShared&) = delete;
  LinkShared& operator=(const LinkShared&) = delete;

  ByteImage dryer_state;     // link thread (intake) only
  ByteImage request;         // screens; the intake writes 159-162 and clears bit 0x08 of 238
  PendingWrites pending;     // raised by screens, lowered by the intake and the builder

  // Held wherever requested bytes and a flag must change or be tested as one step: a screen
  // storing a record's bytes and raising it, the builder while it places records, the intake
  // while it compares an echo and lowers the flag or writes request bytes of its own, and the
  // intake's copy of a changed field into DryerState (so a screen loading a record sees the flag
  // lowered only together with the echoed bytes). Each hold is a few byte copies; nothing in it
  // allocates or blocks on anything else.
  std::mutex request_lock;
  // Set by the intake once it has taken in its first StatusFrame; until then DryerState holds
  // only the start-up zeros and nothing may be committed from it.
  std::atomic<bool> first_frame_accepted{false};

  std::atomic<std::uint32_t> link_alive{kLinkAliveReload};  // reloaded by link, counted down by UI
  std::atomic<std::uint8_t> reconnect_request{0};           // raised by UI, cleared by link

  // Values the intake derives (link thread).
  std::atomic<std::uint32_t> lowest_fill_time{0};        // seconds
  std::atomic<std::uint32_t> previous_load_duration{0};  // seconds, at most 86400
  std::atomic<std::uint8_t> si_units{0};                 // also set by the setup selection screen
  std::atomic<std::uint8_t> mc_lockout{0};
  std::atomic<std::uint8_t> metering_resync{0};          // cleared by the metering dialog

  // Requests to the message loop: raised by the intake, cleared by the UI thread.
  std::atomic<std::uint8_t> metering_speed_request{0};
  std::atomic<std::uint8_t> defaults_request{0};
  std::atomic<std::uint8_t> byte251_request{0};

  // Settings the UI side owns and the intake reads.
  std::atomic<MeteringSource> metering_source{MeteringSource::kKnob};
  std::atomic<bool> metering_dialog_open{false};
  std::atomic<bool> defaults_confirmed{false};
  std::atomic<bool> view_rule_enabled{true};  // cleared while the hardware setup screen is open

  // Told of every SettingEdit commit (the journal of operator changes). Set once by app/ before
  // the display starts; read only by SettingEdit on the UI thread, never by the link thread.
  CommitObserver* commit_observer = nullptr;

  // Stores `count` requested bytes at `offset` and raises the record as one step with respect to
  // the builder and the intake: a frame never carries half of the new bytes, and an echo of the
  // old value never lowers the new one. Screens edit through SettingEdit; these serve the clock
  // and the few writers that set whole values without editing.
  void RequestWrite(Rec rec, std::size_t offset, const std::uint8_t* bytes, std::size_t count) {
    std::scoped_lock lock(request_lock);
    request.CopyFrom(offset, bytes, count);
    pending.Raise(rec);
  }
  void RequestByte(Rec rec, std::uint8_t value) {
    std::scoped_lock lock(request_lock);
    request.Set(RecordOf(rec).target_offset(), value);
    pending.Raise(rec);
  }
};

}  // namespace orvandry::link
