// The simulator's parser of the display's byte stream fed arbitrary bytes in arbitrary pieces,
// mixed with frames whose CRC is right (so record decoding sees every shape), quiet spells on the
// line and resets.
//
// Properties: a frame reported good has a good CRC and is one of the three kinds; a command
// frame's records each write 1 to 5 bytes inside the 300-byte table and together fill the frame
// exactly; nothing is buffered beyond what was fed.

#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <vector>

#include "fuzz/fuzz_check.h"
#include "link/crc16.h"
#include "link/frame_constants.h"
#include "sim/display_frame_parser.h"

namespace {

using namespace orvandry;

enum Step : int { kBytes, kGoodFrame, kLineIdle, kClear, kLastStep = kClear };

void CheckFrame(const sim::DisplayFrame& frame) {
  const std::vector<std::uint8_t>& b = frame.bytes;
  FUZZ_CHECK(b.size() >= 4 && b.size() <= link::kMaxCommandFrameSize);
  if (frame.kind == sim::FrameKind::kBadCrc) {
    FUZZ_CHECK(!link::link_crc16_check(b.data(), b.size() - 2));
    return;
  }
  FUZZ_CHECK(link::link_crc16_check(b.data(), b.size() - 2));
  switch (frame.kind) {
    case sim::FrameKind::kNull:
      FUZZ_CHECK(b.size() == 7 && b[1] == 0);
      break;
    case sim::FrameKind::kReset:
      FUZZ_CHECK(b.size() == 4 && b[0] == 6 && b[1] == 0);
      break;
    case sim::FrameKind::kCommand: {
      FUZZ_CHECK(b[0] == b.size() && b[1] == frame.records.size() && !frame.records.empty());
      std::size_t filled = 2;
      for (const sim::CommandRecord& record : frame.records) {
        FUZZ_CHECK(record.group <= 1);
        FUZZ_CHECK(record.offset == record.group * 256U + record.id);
        FUZZ_CHECK(!record.data.empty() && record.data.size() <= 5);
        FUZZ_CHECK(record.offset + record.data.size() <= link::kStateSize);
        filled += 3 + record.data.size();
      }
      FUZZ_CHECK(filled + 2 == b.size());
      break;
    }
    case sim::FrameKind::kMalformed:
      FUZZ_CHECK(frame.records.empty());
      break;
    case sim::FrameKind::kBadCrc:
      break;
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzedDataProvider in(data, size);
  sim::DisplayFrameParser parser;
  std::size_t fed = 0;
  while (in.remaining_bytes() > 0) {
    switch (in.ConsumeIntegralInRange<int>(0, kLastStep)) {
      case kBytes: {
        const auto bytes =
            in.ConsumeBytes<std::uint8_t>(in.ConsumeIntegralInRange<std::size_t>(0, 256));
        parser.Feed(bytes.data(), bytes.size());
        fed += bytes.size();
        break;
      }
      case kGoodFrame: {
        // A length byte that matches, arbitrary contents, and the right CRC.
        const std::size_t length =
            in.ConsumeIntegralInRange<std::size_t>(4, link::kMaxCommandFrameSize);
        std::vector<std::uint8_t> frame = in.ConsumeBytes<std::uint8_t>(length - 2);
        frame.resize(length);
        frame[0] = static_cast<std::uint8_t>(length == 4 ? 6 : length);
        link::link_crc16(frame.data(), length - 2);
        parser.Feed(frame.data(), frame.size());
        fed += frame.size();
        break;
      }
      case kLineIdle:
        parser.LineIdle();
        break;
      case kClear:
        parser.Clear();
        fed = 0;
        break;
    }
    while (const auto frame = parser.Next()) CheckFrame(*frame);
    FUZZ_CHECK(parser.buffered() <= fed);
  }
  return 0;
}
