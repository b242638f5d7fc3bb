#include "sim/display_frame_parser.h"

#include <algorithm>

#include "link/crc16.h"
#include "link/frame_constants.h"

namespace orvandry::sim {
namespace {

constexpr std::uint8_t kResetLengthByte = 6;
constexpr std::size_t kResetFrameSize = 4;
constexpr std::size_t kNullFrameSize = 7;
constexpr std::size_t kRecordHeader = 3;
constexpr std::uint8_t kMaxRecordData = 5;
constexpr std::size_t kGroupSpan = 256;

// How many bytes the frame starting with `first` occupies, or 0 if no frame starts so.
std::size_t FrameSize(std::uint8_t first) {
  if (first == kResetLengthByte) return kResetFrameSize;
  if (first >= kNullFrameSize && first <= link::kMaxCommandFrameSize) return first;
  return 0;
}

}  // namespace

void DisplayFrameParser::Feed(const std::uint8_t* bytes, std::size_t count) {
  if (count == 0) return;
  buffer_.insert(buffer_.end(), bytes, bytes + count);
  idle_ = false;
}

void DisplayFrameParser::Clear() {
  buffer_.clear();
  shadow_ = 0;
  idle_ = false;
}

void DisplayFrameParser::Skip(std::size_t count) {
  count = std::min(count, buffer_.size());
  buffer_.erase(buffer_.begin(), buffer_.begin() + static_cast<std::ptrdiff_t>(count));
  shadow_ = shadow_ > count ? shadow_ - count : 0;
}

std::optional<DisplayFrame> DisplayFrameParser::Next() {
  while (!buffer_.empty()) {
    const std::size_t size = FrameSize(buffer_.front());
    if (size == 0) {
      Skip(1);
      ++skipped_bytes_;
      continue;
    }
    if (buffer_.size() < size) {
      if (!idle_) return std::nullopt;
      Skip(1);
      ++skipped_bytes_;
      continue;
    }

    std::uint8_t frame[link::kMaxCommandFrameSize];
    std::copy_n(buffer_.begin(), size, frame);
    if (!link::link_crc16_check(frame, size - 2)) {
      // Either a real frame damaged on the line or noise that looked like a length byte. Report
      // it once, then look for a frame inside it: the next one may start anywhere.
      const bool report = shadow_ == 0;
      if (report) shadow_ = size;
      Skip(1);
      ++skipped_bytes_;
      if (report) return DisplayFrame{FrameKind::kBadCrc, {}, {frame, frame + size}};
      continue;
    }
    DisplayFrame decoded = Decode(size);
    Skip(size);
    shadow_ = 0;
    return decoded;
  }
  idle_ = false;
  return std::nullopt;
}

DisplayFrame DisplayFrameParser::Decode(std::size_t size) const {
  DisplayFrame out;
  out.bytes.assign(buffer_.begin(), buffer_.begin() + static_cast<std::ptrdiff_t>(size));
  const std::vector<std::uint8_t>& b = out.bytes;

  if (size == kResetFrameSize) {
    out.kind = b[1] == 0 ? FrameKind::kReset : FrameKind::kMalformed;
    return out;
  }
  const std::size_t count = b[1];
  if (count == 0) {
    out.kind = size == kNullFrameSize ? FrameKind::kNull : FrameKind::kMalformed;
    return out;
  }

  // Every record must lie inside the frame and inside the table; a frame that breaks either is
  // refused as a whole rather than half applied.
  const std::size_t end = size - 2;
  std::size_t at = 2;
  out.kind = FrameKind::kCommand;
  for (std::size_t r = 0; r < count; ++r) {
    if (at + kRecordHeader > end) {
      out.kind = FrameKind::kMalformed;
      break;
    }
    CommandRecord record;
    record.group = b[at];
    record.id = b[at + 1];
    const std::uint8_t n = b[at + 2];
    record.offset = record.group * kGroupSpan + record.id;
    if (record.group > 1 || n == 0 || n > kMaxRecordData || at + kRecordHeader + n > end ||
        record.offset + n > link::kStateSize) {
      out.kind = FrameKind::kMalformed;
      break;
    }
    record.data.assign(b.begin() + static_cast<std::ptrdiff_t>(at + kRecordHeader),
                       b.begin() + static_cast<std::ptrdiff_t>(at + kRecordHeader + n));
    out.records.push_back(std::move(record));
    at += kRecordHeader + n;
  }
  if (out.kind == FrameKind::kCommand && at != end) out.kind = FrameKind::kMalformed;
  if (out.kind == FrameKind::kMalformed) out.records.clear();
  return out;
}

}  // namespace orvandry::sim
