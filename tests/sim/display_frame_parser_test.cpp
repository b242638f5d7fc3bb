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

// Plenum 1 setpoint 180 F and plenum 2 low temperature 180 F, as the display's builder sends them.
std::vector<std::uint8_t> TwoRecordFrame() {
  return WithCrc({0x0E, 0x02, 0x00, 0x45, 0x02, 0xB4, 0x00, 0x01, 0x02, 0x02, 0xB4, 0x00});
}

TEST(DisplayFrameParser, TellsTheThreeFrameKindsApartWhenBackToBack) {
  const auto frames = Parse(Concat({kNull, kReset, TwoRecordFrame(), kNull}));
  ASSERT_EQ(frames.size(), 4u);
  EXPECT_EQ(frames[0].kind, FrameKind::kNull);
  EXPECT_EQ(frames[1].kind, FrameKind::kReset);
  EXPECT_EQ(frames[1].bytes, kReset);
  EXPECT_EQ(frames[2].kind, FrameKind::kCommand);
  EXPECT_EQ(frames[3].kind, FrameKind::kNull);

  const auto& records = frames[2].records;
  ASSERT_EQ(records.size(), 2u);
  EXPECT_EQ(records[0], (CommandRecord{0, 69, 69, {0xB4, 0x00}}));
  // Group 1 addresses the table from offset 256.
  EXPECT_EQ(records[1], (CommandRecord{1, 2, 258, {0xB4, 0x00}}));
}

TEST(DisplayFrameParser, WaitsForTheRestOfAFrameFedInPieces) {
  const auto stream = Concat({TwoRecordFrame(), kReset});
  DisplayFrameParser parser;
  std::vector<DisplayFrame> frames;
  for (std::uint8_t byte : stream) {
    parser.Feed(&byte, 1);
    for (auto& f : ParseAll(parser)) frames.push_back(f);
  }
  ASSERT_EQ(frames.size(), 2u);
  EXPECT_EQ(frames[0].kind, FrameKind::kCommand);
  EXPECT_EQ(frames[1].kind, FrameKind::kReset);
  EXPECT_EQ(parser.buffered(), 0u);
}

TEST(DisplayFrameParser, SkipsNoiseThatCannotStartAFrame) {
  DisplayFrameParser parser;
  const auto stream = Concat({{0xFF, 0x00, 0x01, 0xEE, 0x6D}, kNull});
  parser.Feed(stream.data(), stream.size());
  const auto frames = ParseAll(parser);
  ASSERT_EQ(frames.size(), 1u);
  EXPECT_EQ(frames[0].kind, FrameKind::kNull);
  EXPECT_EQ(parser.skipped_bytes(), 5u);
}

TEST(DisplayFrameParser, ResynchronisesWhenNoiseLooksLikeALongFrame) {
  // 0x40 claims a 64-byte frame; the real frame behind it is found once the line goes quiet.
  DisplayFrameParser parser;
  const auto stream = Concat({{0x40, 0x12}, kNull});
  parser.Feed(stream.data(), stream.size());
  EXPECT_TRUE(ParseAll(parser).empty());
  parser.LineIdle();
  const auto frames = ParseAll(parser);
  ASSERT_EQ(frames.size(), 1u);
  EXPECT_EQ(frames[0].kind, FrameKind::kNull);
  EXPECT_EQ(parser.buffered(), 0u);
}

TEST(DisplayFrameParser, ReportsADamagedFrameOnceAndFindsTheNextGoodOne) {
  auto damaged = TwoRecordFrame();
  damaged[5] ^= 0x01;  // 0xB4 -> 0xB5 on the line
  // Inside the damaged frame, 0x45 reads like the start of a 69-byte frame; that candidate is
  // given up when the line goes quiet, and the null frame behind it is found.
  DisplayFrameParser parser;
  const auto stream = Concat({damaged, kNull});
  parser.Feed(stream.data(), stream.size());
  auto frames = ParseAll(parser);
  parser.LineIdle();
  for (auto& f : ParseAll(parser)) frames.push_back(f);
  ASSERT_EQ(frames.size(), 2u);
  EXPECT_EQ(frames[0].kind, FrameKind::kBadCrc);
  EXPECT_TRUE(frames[0].records.empty());
  EXPECT_EQ(frames[1].kind, FrameKind::kNull);

  // The reset frame is told by its first byte, so a damaged one is not mistaken for a command.
  auto bad_reset = kReset;
  bad_reset[3] ^= 0xFF;
  const auto after_reset = Parse(Concat({bad_reset, kNull}));
  ASSERT_EQ(after_reset.size(), 2u);
  EXPECT_EQ(after_reset[0].kind, FrameKind::kBadCrc);
  EXPECT_EQ(after_reset[1].kind, FrameKind::kNull);
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
    const auto frames = Parse(frame);
    ASSERT_EQ(frames.size(), 1u);
    EXPECT_EQ(frames[0].kind, FrameKind::kMalformed) << ::testing::PrintToString(frame);
    EXPECT_TRUE(frames[0].records.empty());
  }
  // The last table byte is still writable.
  const auto edge = Parse(WithCrc({0x08, 0x01, 0x01, 0x2B, 0x01, 0x7F}));
  ASSERT_EQ(edge.size(), 1u);
  EXPECT_EQ(edge[0].kind, FrameKind::kCommand);
  EXPECT_EQ(edge[0].records[0].offset, 299u);
}

TEST(DisplayFrameParser, ReadsWhatTheDisplaysBuilderWrites) {
  link::LinkShared shared;
  const std::uint8_t clock[5] = {7, 13, 24, 12, 25};
  shared.RequestWrite(link::Rec::kClock, 53, clock, 5);
  shared.RequestByte(link::Rec::kFanCount, 2);
  const std::uint8_t low[2] = {0xA0, 0x00};
  shared.RequestWrite(link::Rec::kPlenum1LowTemp, 260, low, 2);
  const auto frames = Parse(DisplayCommandFrame(shared));
  ASSERT_EQ(frames.size(), 1u);
  ASSERT_EQ(frames[0].kind, FrameKind::kCommand);
  ASSERT_EQ(frames[0].records.size(), 3u);
  EXPECT_EQ(frames[0].records[0], (CommandRecord{0, 3, 3, {2}}));
  EXPECT_EQ(frames[0].records[1], (CommandRecord{0, 53, 53, {7, 13, 24, 12, 25}}));
  EXPECT_EQ(frames[0].records[2], (CommandRecord{1, 4, 260, {0xA0, 0x00}}));
}

}  // namespace
}  // namespace orvandry::sim
