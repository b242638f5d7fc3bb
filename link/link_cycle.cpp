#include "link/link_cycle.h"

#include <algorithm>

#include "link/command_builder.h"
#include "link/crc16.h"

namespace orvandry::link {

bool IsGoodStatusFrame(const std::uint8_t* bytes, std::size_t size) {
  return size == kStatusFrameSize && link_crc16_check(bytes, kStateSize);
}

void CountDownLinkAlive(LinkShared& shared) {
  std::uint32_t left = shared.link_alive.load(std::memory_order_relaxed);
  // The link thread may reload it at the same moment; losing either update only shifts the lost
  // state by a second, but the count must never wrap below zero.
  while (left > 0 && !shared.link_alive.compare_exchange_weak(left, left - 1,
                                                              std::memory_order_relaxed)) {
  }
}

LinkCycle::LinkCycle(LinkShared& shared, SerialPort& port, StatusIntake& intake)
    : shared_(shared), port_(port), intake_(intake) {}

void LinkCycle::RunOnce() {
  const std::size_t got = port_.Read(rx_.data(), rx_.size());
  if (IsGoodStatusFrame(rx_.data(), got)) {
    shared_.link_alive.store(kLinkAliveReload, std::memory_order_relaxed);
    intake_.Run(rx_.data());
  }

  if (reset_hold_off_ > 0) --reset_hold_off_;

  if (reset_hold_off_ == 0 && shared_.reconnect_request.load(std::memory_order_acquire) != 0) {
    shared_.reconnect_request.store(0, std::memory_order_relaxed);
    reset_hold_off_ = kResetHoldOff;
    tx_[0] = kResetFrame[0];
    tx_[1] = kResetFrame[1];
    link_crc16(tx_.data(), 2);
    Send(4);
    return;
  }

  // The builder runs in every other cycle, also during the hold-off; one-shot records it places
  // then are gone, as the null frame goes out instead.
  const bool built = BuildCommandFrame(shared_, tx_.data());
  if (built && reset_hold_off_ < 2) {
    const std::size_t size = tx_[0];
    link_crc16(tx_.data(), size - 2);
    Send(size);
    return;
  }
  std::copy(kNullFrame.begin(), kNullFrame.end(), tx_.begin());
  Send(kNullFrame.size());
}

void LinkCycle::Send(std::size_t size) {
  // Anything that arrived after the read (the tail of an over-long frame) is dropped, so the
  // controller's answer to this frame is read whole next cycle.
  port_.Purge();
  tx_size_ = size;
  port_.Write(tx_.data(), size);
}

}  // namespace orvandry::link
