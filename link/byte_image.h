#pragma once

#include <array>
#include <atomic>
#include <cstddef>
#include <cstdint>

#include "link/frame_constants.h"

namespace orvandry::link {

// A 300-byte table shared between the link thread and the UI thread without locks. Every byte is
// its own relaxed atomic: one side writes a byte at a time, and a two-byte field may be seen
// half-updated for one paint, which the next repaint corrects. Ordering between tables (request
// bytes before a PendingWrite flag) is provided by the flags, not here.
class ByteImage {
 public:
  ByteImage() = default;
  ByteImage(const ByteImage&) = delete;
  ByteImage& operator=(const ByteImage&) = delete;

  static constexpr std::size_t size() { return kStateSize; }

  std::uint8_t Get(std::size_t offset) const { return bytes_[offset].load(std::memory_order_relaxed); }
  void Set(std::size_t offset, std::uint8_t value) {
    bytes_[offset].store(value, std::memory_order_relaxed);
  }

  // Field readers in the table's encodings.
  std::int16_t GetT16(std::size_t offset) const {
    return static_cast<std::int16_t>(Get(offset) | (Get(offset + 1) << 8));
  }
  std::uint16_t GetBe16(std::size_t offset) const {
    return static_cast<std::uint16_t>((Get(offset) << 8) | Get(offset + 1));
  }
  std::uint16_t GetLe16(std::size_t offset) const {
    return static_cast<std::uint16_t>(Get(offset) | (Get(offset + 1) << 8));
  }
  std::uint32_t GetU32(std::size_t offset) const {
    return static_cast<std::uint32_t>(Get(offset)) | (static_cast<std::uint32_t>(Get(offset + 1)) << 8) |
           (static_cast<std::uint32_t>(Get(offset + 2)) << 16) |
           (static_cast<std::uint32_t>(Get(offset + 3)) << 24);
  }
  // A timer value as whole seconds (minutes byte then seconds byte).
  std::uint32_t GetTimeSeconds(std::size_t offset) const { return 60U * Get(offset) + Get(offset + 1); }

  // Field writers in the same encodings.
  void SetT16(std::size_t offset, std::int16_t value) {
    const auto raw = static_cast<std::uint16_t>(value);
    Set(offset, static_cast<std::uint8_t>(raw & 0xFF));
    Set(offset + 1, static_cast<std::uint8_t>(raw >> 8));
  }
  void SetBe16(std::size_t offset, std::uint16_t value) {
    Set(offset, static_cast<std::uint8_t>(value >> 8));
    Set(offset + 1, static_cast<std::uint8_t>(value & 0xFF));
  }
  void SetLe16(std::size_t offset, std::uint16_t value) {
    Set(offset, static_cast<std::uint8_t>(value & 0xFF));
    Set(offset + 1, static_cast<std::uint8_t>(value >> 8));
  }
  void SetU32(std::size_t offset, std::uint32_t value) {
    for (std::size_t i = 0; i < 4; ++i) Set(offset + i, static_cast<std::uint8_t>(value >> (8 * i)));
  }
  void SetTime(std::size_t offset, std::uint8_t minutes, std::uint8_t seconds) {
    Set(offset, minutes);
    Set(offset + 1, seconds);
  }

  // True when `count` bytes from `offset` equal `other` at the same place.
  bool Equals(std::size_t offset, const std::uint8_t* other, std::size_t count) const {
    for (std::size_t i = 0; i < count; ++i)
      if (Get(offset + i) != other[i]) return false;
    return true;
  }
  void CopyFrom(std::size_t offset, const std::uint8_t* source, std::size_t count) {
    for (std::size_t i = 0; i < count; ++i) Set(offset + i, source[i]);
  }

  std::array<std::uint8_t, kStateSize> Snapshot() const {
    std::array<std::uint8_t, kStateSize> copy{};
    for (std::size_t i = 0; i < kStateSize; ++i) copy[i] = Get(i);
    return copy;
  }

 private:
  std::array<std::atomic<std::uint8_t>, kStateSize> bytes_{};
};

}  // namespace orvandry::link
