#pragma once

#include <atomic>
#include <cstdint>

#include "link/byte_image.h"
#include "link/frame_constants.h"
#include "link/pending_write.h"
#include "link/status_map.h"

namespace orvandry::link {

// Where the metering-roll speeds are set from; switched on the diagnostics screen.
enum class MeteringSource : std::uint8_t { kKnob, kDisplay };

// Everything the link thread and the UI thread share. One instance lives for the whole run (owned
// by app/); tests make their own. Every member is a byte or an aligned 32-bit word written by one
// side at a time, so no lock is needed. The comment on each says who writes it.
struct LinkShared {
  LinkShared() { dryer_state.Set(status_map::kDryerActivity, status_map::kDryerActivityPreset); }
  LinkShared(const LinkShared&) = delete;
  LinkShared& operator=(const LinkShared&) = delete;

  ByteImage dryer_state;     // link thread (intake); the metering dialog writes byte 159
  ByteImage request;         // screens; the intake writes 159-162 and clears bit 0x08 of 238
  PendingWrites pending;     // raised by screens, lowered by the intake and the builder

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

  // Stores `count` requested bytes at `offset` and then raises the record, in that order, so the
  // link thread never sends a raised record with stale bytes.
  void RequestWrite(Rec rec, std::size_t offset, const std::uint8_t* bytes, std::size_t count) {
    request.CopyFrom(offset, bytes, count);
    pending.Raise(rec);
  }
  void RequestByte(Rec rec, std::uint8_t value) {
    request.Set(RecordOf(rec).target_offset(), value);
    pending.Raise(rec);
  }
};

}  // namespace orvandry::link
