#pragma once

#include <array>
#include <cstdint>

#include "link/frame_constants.h"
#include "link/link_shared.h"
#include "link/serial_port.h"
#include "link/status_intake.h"

namespace orvandry::link {

// One link transaction: take what the controller sent, accept it if it is a whole StatusFrame
// with a good CRC, then answer with exactly one frame (reset, CommandFrame or null frame).
// Runs on the link thread; allocates nothing.
class LinkCycle {
 public:
  LinkCycle(LinkShared& shared, SerialPort& port, StatusIntake& intake);

  void RunOnce();

  std::uint32_t reset_hold_off() const { return reset_hold_off_; }
  // The bytes of the frame this cycle wrote.
  const std::uint8_t* last_written() const { return tx_.data(); }
  std::size_t last_written_size() const { return tx_size_; }

 private:
  void Send(std::size_t size);

  LinkShared& shared_;
  SerialPort& port_;
  StatusIntake& intake_;
  std::uint32_t reset_hold_off_ = 0;
  std::array<std::uint8_t, kStatusFrameSize> rx_{};
  std::array<std::uint8_t, kMaxCommandFrameSize> tx_{};
  std::size_t tx_size_ = 0;
};

// Checks a received block: exactly a StatusFrame's size and a good CRC over the data bytes.
bool IsGoodStatusFrame(const std::uint8_t* bytes, std::size_t size);

// Counts the link-alive countdown down by one second, never below zero. Called by the 1 s tick.
void CountDownLinkAlive(LinkShared& shared);

inline bool LinkLost(const LinkShared& shared) {
  return shared.link_alive.load(std::memory_order_relaxed) == 0;
}

}  // namespace orvandry::link
