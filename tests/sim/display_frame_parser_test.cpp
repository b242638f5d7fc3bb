#include "sim/display_frame_parser.h"

#include <gtest/gtest.h>

#include "frame_helpers.h"

namespace orvandry::sim {
namespace {

using namespace testing;

std::vector<DisplayFrame> ParseAll(DisplayFrameParser& parser) {
  std::vector<DisplayFrame> frames;
  while (auto f = parser.Next()) frames.push_back(*f);
  return frames;
}

std::vector<DisplayFrame> Parse(const std::vector<std::uint8_t>& bytes) {
  DisplayFrameParser parser;
  parser.Feed(bytes.data(), bytes.size());
  return ParseAll(parser);
}

std::vector<FrameKind> Kinds(const std::vector<DisplayFrame>& frames) {
  std::vector<FrameKind> kinds;
  for (const auto& f : frames) kinds.push_back(f.kind);
  return kinds;
}

// Plenum 1 setpoint 180 F and plenum 2 low temperature 180 F.
std::vector<std::uint8_t> TwoRecordFrame() {
  return WithCrc({0x0E, 0x02, 0x00, 0x45, 0x02, 0xB4, 0x00, 0x01, 0x02, 0x02, 0xB4, 0x00});
}

TEST(DisplayFrameParser, TellsFrameKindsApartAndReadsWhatTheDisplaysBuilderWrites) {
  link::LinkShared shared;
  const std::uint8_t clock[5] = {7, 13, 24, 12, 25};
  shared.RequestWrite(link::Rec::kClock, 53, clock, 5);
  shared.RequestByte(link::Rec::kFanCount, 2);
  const std::uint8_t low[2] = {0xA0, 0x00};
  shared.RequestWrite(link::Rec::kPlenum1LowTemp, 260, low, 2);

  const auto frames = Parse(Concat({kNull, kReset, DisplayCommandFrame(shared), kNull}));
  ASSERT_EQ(Kinds(frames), (std::vector<FrameKind>{FrameKind::kNull, FrameKind::kReset,
                                                   FrameKind::kCommand, FrameKind::kNull}));
  EXPECT_EQ(frames[1].bytes, kReset);
  const auto& records = frames[2].records;
  ASSERT_EQ(records.size(), 3u);
  EXPECT_EQ(records[0], (CommandRecord{0, 3, 3, {2}}));
  EXPECT_EQ(records[1], (CommandRecord{0, 53, 53, {7, 13, 24, 12, 25}}));
  EXPECT_EQ(records[2], (CommandRecord{1, 4, 260, {0xA0, 0x00}})) << "group 1 starts at 256";
}

TEST(DisplayFrameParser, WaitsForTheRestOfAFrameFedInPieces) {
  const auto stream = Concat({TwoRecordFrame(), kReset});
  DisplayFrameParser parser;
  std::vector<DisplayFrame> frames;
  for (std::uint8_t byte : stream) {
    parser.Feed(&byte, 1);
    for (auto& f : ParseAll(parser)) frames.push_back(f);
  }
  EXPECT_EQ(Kinds(frames), (std::vector<FrameKind>{FrameKind::kCommand, FrameKind::kReset}));
  EXPECT_EQ(parser.buffered(), 0u);
}

TEST(DisplayFrameParser, ResynchronisesAfterNoiseAndDamagedFramesOnceTheLineIsQuiet) {
  auto damaged = TwoRecordFrame();
  damaged[5] ^= 0x01;  // inside it, 0x45 reads like the start of a 69-byte frame
  auto bad_reset = kReset;
  bad_reset[3] ^= 0xFF;  // told by its first byte, so not mistaken for a command
  using K = FrameKind;
  const std::pair<std::vector<std::uint8_t>, std::vector<FrameKind>> cases[] = {
      {Concat({{0xFF, 0x00, 0x01, 0xEE, 0x6D}, kNull}), {K::kNull}},  // cannot start a frame
      {Concat({{0x40, 0x12}, kNull}), {K::kNull}},                    // claims a 64-byte frame
      {Concat({damaged, kNull}), {K::kBadCrc, K::kNull}},
      {Concat({bad_reset, kNull}), {K::kBadCrc, K::kNull}},
  };
  for (const auto& [stream, kinds] : cases) {
    SCOPED_TRACE(::testing::PrintToString(stream));
    DisplayFrameParser parser;
    parser.Feed(stream.data(), stream.size());
    auto frames = ParseAll(parser);
    parser.LineIdle();
    for (auto& f : ParseAll(parser)) frames.push_back(f);
    EXPECT_EQ(Kinds(frames), kinds);
    for (const auto& f : frames) EXPECT_TRUE(f.records.empty());
    EXPECT_EQ(parser.buffered(), 0u);
  }
}

TEST(DisplayFrameParser, RefusesWholeFramesWhoseRecordsDoNotFit) {
  const std::vector<std::vector<std::uint8_t>> malformed = {
      WithCrc({0x09, 0x01, 0x00, 0x45, 0x00, 0x00, 0x00}),        // data size 0
      WithCrc({0x09, 0x01, 0x00, 0x45, 0x06, 0x00, 0x00}),        // size past the frame
      WithCrc({0x08, 0x01, 0x01, 0x2C, 0x01, 0x00}),              // group 1 id 44 = offset 300
      WithCrc({0x0A, 0x01, 0x01, 0x2A, 0x03, 0x00, 0x00, 0x00}),  // 298..300
      WithCrc({0x08, 0x01, 0x02, 0x00, 0x01, 0x00}),              // no group 2
      WithCrc({0x09, 0x02, 0x00, 0x03, 0x01, 0x01, 0x00}),        // count says 2, one present
      WithCrc({0x09, 0x01, 0x00, 0x03, 0x01, 0x01, 0x00}),        // a byte left over
      WithCrc({0x08, 0x00, 0x00, 0x00, 0x00, 0x00}),              // no records but not 7 long
      WithCrc({0x06, 0x01}),                                      // reset with a wrong byte
  };
  for (const auto& frame : malformed) {
    SCOPED_TRACE(::testing::PrintToString(frame));
    const auto frames = Parse(frame);
    ASSERT_EQ(Kinds(frames), (std::vector<FrameKind>{FrameKind::kMalformed}));
    EXPECT_TRUE(frames[0].records.empty());
  }
  // The last table byte is still writable.
  const auto edge = Parse(WithCrc({0x08, 0x01, 0x01, 0x2B, 0x01, 0x7F}));
  ASSERT_EQ(Kinds(edge), (std::vector<FrameKind>{FrameKind::kCommand}));
  EXPECT_EQ(edge[0].records[0].offset, 299u);
}

}  // namespace
}  // namespace orvandry::sim
