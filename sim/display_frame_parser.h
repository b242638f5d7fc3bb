#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <optional>
#include <vector>

namespace orvandry::sim {

// What the controller makes of a frame from the display.
enum class FrameKind : std::uint8_t {
  kNull,       // 07 00 00 00 00 + CRC: nothing to write
  kReset,      // 06 00 + CRC, four bytes
  kCommand,    // one or more records
  kBadCrc,     // the shape of a frame, but its CRC does not match; ignored
  kMalformed,  // a good CRC around records that do not fit the table; ignored as a whole
};

// One record of a CommandFrame, resolved to the table offset it writes.
struct CommandRecord {
  std::uint8_t group = 0;
  std::uint8_t id = 0;
  std::size_t offset = 0;
  std::vector<std::uint8_t> data;

  bool operator==(const CommandRecord&) const = default;
};

struct DisplayFrame {
  FrameKind kind = FrameKind::kNull;
  std::vector<CommandRecord> records;  // kCommand only
  std::vector<std::uint8_t> bytes;     // the frame as it arrived
};

// Cuts the display's byte stream into frames. Frames arrive back to back and a serial line adds
// noise, so the parser never trusts a length byte alone: a candidate is only taken when its CRC
// matches, and otherwise the parser moves on by one byte and looks again. A candidate that is still
// incomplete when the line goes quiet cannot be a frame (the display writes each frame in one go),
// so LineIdle() lets the parser skip it instead of waiting for bytes that will never come.
class DisplayFrameParser {
 public:
  void Feed(const std::uint8_t* bytes, std::size_t count);
  // The next frame found in the bytes fed so far, including frames with a bad CRC (reported once
  // per damaged frame, not once per byte skipped inside it).
  std::optional<DisplayFrame> Next();
  // No byte has arrived for a while.
  void LineIdle() { idle_ = true; }
  // Forgets everything buffered.
  void Clear();

  std::size_t buffered() const { return buffer_.size(); }
  // Bytes skipped because they did not start a frame.
  std::uint64_t skipped_bytes() const { return skipped_bytes_; }

 private:
  void Skip(std::size_t count);
  DisplayFrame Decode(std::size_t size) const;

  std::deque<std::uint8_t> buffer_;
  bool idle_ = false;
  // Bytes at the head that belong to a candidate already reported as damaged.
  std::size_t shadow_ = 0;
  std::uint64_t skipped_bytes_ = 0;
};

}  // namespace orvandry::sim
