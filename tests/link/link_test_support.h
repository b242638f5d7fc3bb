#pragma once

#include <algorithm>
#include <array>
#include <cstdint>
#include <deque>
#include <initializer_list>
#include <vector>

#include "link/crc16.h"
#include "link/frame_constants.h"
#include "link/serial_port.h"
#include "link/status_intake.h"

namespace orvandry::link::testing {

using Bytes = std::vector<std::uint8_t>;

// A StatusFrame under construction: 300 data bytes, sealed with the CRC on demand.
struct TestFrame {
  std::array<std::uint8_t, kStateSize> data{};

  TestFrame& Set(std::size_t offset, std::initializer_list<std::uint8_t> bytes) {
    for (std::uint8_t b : bytes) data[offset++] = b;
    return *this;
  }
  Bytes Sealed() const {
    Bytes frame(data.begin(), data.end());
    frame.resize(kStatusFrameSize);
    link_crc16(frame.data(), kStateSize);
    return frame;
  }
};

// The port as the link sees it: bytes that have "arrived" wait in one queue, a read takes what is
// there up to its limit, the purge before each write drops the rest, and every write is kept.
class FakeSerialPort : public SerialPort {
 public:
  std::size_t Read(std::uint8_t* buffer, std::size_t max) override {
    const std::size_t n = std::min(max, arrived_.size());
    std::copy_n(arrived_.begin(), n, buffer);
    arrived_.erase(arrived_.begin(), arrived_.begin() + static_cast<std::ptrdiff_t>(n));
    return n;
  }
  void Purge() override {
    ++purges;
    arrived_.clear();
  }
  void Write(const std::uint8_t* bytes, std::size_t count) override {
    writes.emplace_back(bytes, bytes + count);
    purges_before_write.push_back(purges);
  }

  void Arrive(const Bytes& bytes) { arrived_.insert(arrived_.end(), bytes.begin(), bytes.end()); }
  std::size_t waiting() const { return arrived_.size(); }

  std::vector<Bytes> writes;
  std::vector<int> purges_before_write;
  int purges = 0;

 private:
  std::deque<std::uint8_t> arrived_;
};

// Records what the intake hands to the rest of the program.
class RecordingListener : public IntakeListener {
 public:
  void OnWarningCodeChanged(std::uint8_t node_id, std::uint8_t warning_id) override {
    warnings.push_back({node_id, warning_id});
  }
  void OnIntakeFinished(const IntakeResult& result) override { results.push_back(result); }

  std::vector<std::pair<std::uint8_t, std::uint8_t>> warnings;
  std::vector<IntakeResult> results;
};

inline Bytes NullFrame() { return Bytes(kNullFrame.begin(), kNullFrame.end()); }
inline Bytes ResetFrame() { return Bytes(kResetFrame.begin(), kResetFrame.end()); }

}  // namespace orvandry::link::testing
