#pragma once

#include <array>
#include <atomic>
#include <cstddef>
#include <cstdint>

#include "link/frame_constants.h"
#include "link/table_fields.h"

namespace orvandry::link {

// A 300-byte table shared between the link thread and the UI thread. Every byte is its own
// relaxed atomic: one side writes a byte at a time, and a two-byte field may be seen
// half-updated for one paint, which the next repaint corrects. Keeping a record's requested bytes
// and its PendingWrite flag consistent is the job of LinkShared's request lock, not of this class.
// The field encodings come from TableFields.
class ByteImage : public TableFields<ByteImage> {
 public:
  ByteImage() = default;
  ByteImage(const ByteImage&) = delete;
  ByteImage& operator=(const ByteImage&) = delete;

  static constexpr std::size_t size() { return kStateSize; }

  std::uint8_t Get(std::size_t offset) const { return bytes_[offset].load(std::memory_order_relaxed); }
  void Set(std::size_t offset, std::uint8_t value) {
    bytes_[offset].store(value, std::memory_order_relaxed);
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
