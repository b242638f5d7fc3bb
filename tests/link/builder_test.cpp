#include <gtest/gtest.h>

#include "link/command_builder.h"
#include "link/crc16.h"
#include "link/link_shared.h"
#include "link/status_map.h"
#include "link_test_support.h"

namespace orvandry::link {
namespace {

using testing::Bytes;

class CommandBuilderTest : public ::testing::Test {
 protected:
  // Builds one frame and returns it sealed with its CRC, or nothing when no record was placed.
  Bytes Build() {
    std::array<std::uint8_t, kMaxCommandFrameSize> tx{};
    if (!BuildCommandFrame(shared, tx.data())) return {};
    const std::size_t size = tx[0];
    EXPECT_LE(size, kMaxCommandFrameSize);
    link_crc16(tx.data(), size - 2);
    return Bytes(tx.begin(), tx.begin() + static_cast<std::ptrdiff_t>(size));
  }
  static Bytes WithCrc(Bytes head) {
    head.resize(head.size() + 2);
    link_crc16(head.data(), head.size() - 2);
    return head;
  }

  LinkShared shared;
};

TEST_F(CommandBuilderTest, NothingPendingBuildsNothing) {
  std::array<std::uint8_t, kMaxCommandFrameSize> tx{};
  EXPECT_FALSE(BuildCommandFrame(shared, tx.data()));
}

TEST_F(CommandBuilderTest, ClockOnlyFrameIsTwelveBytesAndSentOnce) {
  const std::uint8_t clock[5] = {7, 13, 6, 12, 26};
  shared.RequestWrite(Rec::kClock, status_map::kClockMinute, clock, 5);
  EXPECT_EQ(Build(), WithCrc({0x0C, 0x01, 0x00, 0x35, 0x05, 7, 13, 6, 12, 26}));
  EXPECT_FALSE(shared.pending.IsRaised(Rec::kClock));
  EXPECT_TRUE(Build().empty());
}

TEST_F(CommandBuilderTest, SingleRecordFramesMatchTheWire) {
  shared.RequestByte(Rec::kFanCount, 2);
  EXPECT_EQ(Build(), WithCrc({0x08, 0x01, 0x00, 0x03, 0x01, 0x02}));
  // Echo-lowered records stay raised and go out again.
  EXPECT_EQ(Build(), WithCrc({0x08, 0x01, 0x00, 0x03, 0x01, 0x02}));
  shared.pending.Lower(Rec::kFanCount);

  const std::uint8_t f180[2] = {0xB4, 0x00};
  shared.RequestWrite(Rec::kPlenumSetpoint1, status_map::kPlenumSetpoint1, f180, 2);
  EXPECT_EQ(Build(), WithCrc({0x09, 0x01, 0x00, 0x45, 0x02, 0xB4, 0x00}));
  shared.pending.Lower(Rec::kPlenumSetpoint1);

  shared.RequestWrite(Rec::kPlenum2LowTemp, status_map::kPlenum2LowTemp, f180, 2);
  EXPECT_EQ(Build(), WithCrc({0x09, 0x01, 0x01, 0x02, 0x02, 0xB4, 0x00}));
}

TEST_F(CommandBuilderTest, RecordsGoOutInTableOrderNotIdOrder) {
  const std::uint8_t reload[2] = {5, 0};
  const std::uint8_t running[2] = {5, 0};
  shared.RequestWrite(Rec::kDryTimerRunning, 9, running, 2);
  shared.RequestWrite(Rec::kDryTimerReload, 11, reload, 2);
  shared.RequestByte(Rec::kSamplerConfig, 0x80);
  const Bytes frame = Build();
  ASSERT_EQ(frame.size(), 2U + 5 + 5 + 4 + 2);
  EXPECT_EQ(frame[1], 3);
  EXPECT_EQ(frame[3], 11);  // reload (#7) before the running value (#8)
  EXPECT_EQ(frame[8], 9);
  EXPECT_EQ(frame[12], 1);  // group 1, id 37
  EXPECT_EQ(frame[13], 37);
}

TEST_F(CommandBuilderTest, RecordsFromDryerStateCarryTheMirroredBytes) {
  for (std::size_t i = 155; i <= 158; ++i) shared.dryer_state.Set(i, static_cast<std::uint8_t>(i));
  shared.dryer_state.Set(230, 0x5A);
  shared.pending.Raise(Rec::kMeteringFromDisplay);
  shared.pending.Raise(Rec::kMeteringCopy161);
  shared.pending.Raise(Rec::kMeteringCopyWorking);
  const Bytes frame = Build();
  EXPECT_EQ(Bytes(frame.begin() + 2, frame.end() - 2),
            (Bytes{0, 159, 4, 155, 156, 157, 158,  //
                   0, 161, 1, 0x5A,                //
                   0, 160, 3, 156, 157, 158}));
}

TEST_F(CommandBuilderTest, FullFrameSkipsLaterRecordsButKeepsThemRaisedAndTheClockFits) {
  // Raise everything that is sent from the request image.
  for (const PendingWriteRecord& r : kPendingWriteRecords) shared.pending.Raise(r.rec);
  std::vector<Bytes> frames;
  for (int i = 0; i < 6 && shared.pending.AnyRaised(); ++i) {
    frames.push_back(Build());
    // Pretend the controller echoed every record this frame carried.
    const Bytes& f = frames.back();
    for (std::size_t at = 2; at + 2 < f.size(); at += 3 + f[at + 2]) {
      for (const PendingWriteRecord& r : kPendingWriteRecords)
        if (r.group == f[at] && r.id == f[at + 1] && r.size == f[at + 2]) shared.pending.Lower(r.rec);
    }
  }
  ASSERT_GE(frames.size(), 2U);
  EXPECT_FALSE(shared.pending.AnyRaised()) << "every record eventually goes out";
  for (const Bytes& f : frames) EXPECT_LE(f.size(), kMaxCommandFrameSize);
  // The first frame is cut at the limit yet still carries the clock (0/53).
  const Bytes& first = frames.front();
  bool has_clock = false;
  std::size_t last_start = 0;
  for (std::size_t at = 2; at + 2 < first.size(); at += 3 + first[at + 2]) {
    has_clock = has_clock || (first[at] == 0 && first[at + 1] == 53);
    last_start = at;
  }
  EXPECT_TRUE(has_clock);
  EXPECT_LT(last_start, kCommandRecordLimit);
  EXPECT_GE(first.size() - 2, kCommandRecordLimit);
}

// The command bits go out in the first placement only; the record itself stays raised for the
// intake to lower on the controller's echo.
TEST_F(CommandBuilderTest, DisplaySettingsCarryCommandBitsOnceAndStayRaised) {
  shared.RequestByte(Rec::kDisplaySettings, 0x43);
  Bytes frame = Build();
  EXPECT_EQ(Bytes(frame.begin() + 2, frame.end() - 2), (Bytes{1, 10, 1, 0x43}));
  EXPECT_TRUE(shared.pending.IsRaised(Rec::kDisplaySettings));
  EXPECT_EQ(shared.request.Get(status_map::kDisplaySettings), 0x40);

  frame = Build();
  EXPECT_EQ(Bytes(frame.begin() + 2, frame.end() - 2), (Bytes{1, 10, 1, 0x40}));
  EXPECT_TRUE(shared.pending.IsRaised(Rec::kDisplaySettings));
}

TEST_F(CommandBuilderTest, PrinterCommandIsOneShotAndPrinterOptionsAreNot) {
  const std::uint8_t cmd[2] = {0x01, 0x02};
  shared.RequestWrite(Rec::kPrinterCommand, 218, cmd, 2);
  shared.RequestWrite(Rec::kPrinterOptions, 216, cmd, 2);
  EXPECT_FALSE(Build().empty());
  EXPECT_FALSE(shared.pending.IsRaised(Rec::kPrinterCommand));
  EXPECT_TRUE(shared.pending.IsRaised(Rec::kPrinterOptions));
}

}  // namespace
}  // namespace orvandry::link
