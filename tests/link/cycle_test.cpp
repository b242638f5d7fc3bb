#include <gtest/gtest.h>

#include "link/crc16.h"
#include "link/link_cycle.h"
#include "link/status_map.h"
#include "link_test_support.h"

namespace orvandry::link {
namespace {

namespace sm = status_map;
using testing::Bytes;
using testing::FakeSerialPort;
using testing::NullFrame;
using testing::RecordingListener;
using testing::ResetFrame;
using testing::TestFrame;

class LinkCycleTest : public ::testing::Test {
 protected:
  LinkCycleTest() { frame.data[status_map::kDryerActivity] = status_map::kDryerActivityPreset; }

  const Bytes& Cycle() {
    cycle.RunOnce();
    return port.writes.back();
  }
  bool IsCommandFrame(const Bytes& f) const {
    return f.size() >= 4 && f[0] == f.size() && f[1] > 0 && link_crc16_check(f.data(), f.size() - 2);
  }

  LinkShared shared;
  RecordingListener listener;
  StatusIntake intake{shared, &listener};
  FakeSerialPort port;
  LinkCycle cycle{shared, port, intake};
  TestFrame frame;
};

TEST_F(LinkCycleTest, NothingPendingSendsTheNullFrameAfterAPurge) {
  for (int i = 0; i < 3; ++i) EXPECT_EQ(Cycle(), NullFrame());
  EXPECT_EQ(port.purges_before_write, (std::vector<int>{1, 2, 3}));
}

TEST_F(LinkCycleTest, GoodFrameReloadsTheCountdownAndReachesDryerState) {
  shared.link_alive = 3;
  frame.Set(sm::kFanCountCode, {4});
  port.Arrive(frame.Sealed());
  Cycle();
  EXPECT_EQ(shared.link_alive.load(), kLinkAliveReload);
  EXPECT_EQ(shared.dryer_state.Get(sm::kFanCountCode), 4);
  EXPECT_EQ(listener.results.size(), 1U);
}

TEST_F(LinkCycleTest, DamagedFramesChangeNothingButTheReplyStillGoesOut) {
  frame.Set(sm::kFanCountCode, {4});
  const Bytes good = frame.Sealed();
  Bytes bad_crc = good;
  bad_crc[301] ^= 0x40;
  Bytes short_frame(good.begin(), good.end() - 1);
  const std::vector<Bytes> damaged = {bad_crc, short_frame, {}};
  for (const Bytes& block : damaged) {
    shared.link_alive = 3;
    port.Arrive(block);
    EXPECT_EQ(Cycle(), NullFrame());
    EXPECT_EQ(shared.link_alive.load(), 3U);
    EXPECT_EQ(shared.dryer_state.Get(sm::kFanCountCode), 0);
    EXPECT_TRUE(listener.results.empty());
  }
}

TEST_F(LinkCycleTest, OverlongBlockIsTestedOnItsFirst302BytesAndTheRestPurged) {
  frame.Set(sm::kFanCountCode, {4});
  Bytes overlong = frame.Sealed();
  overlong.push_back(0x55);
  // 303 bytes of which the first 302 are a good frame: the frame counts, the tail is purged.
  port.Arrive(overlong);
  Cycle();
  EXPECT_EQ(shared.dryer_state.Get(sm::kFanCountCode), 4);
  EXPECT_EQ(port.waiting(), 0U);

  // A frame whose CRC only comes right with the extra byte is not accepted.
  frame.Set(sm::kFanCountCode, {3});
  Bytes shifted = frame.Sealed();
  shifted.insert(shifted.begin(), 0x00);
  shared.link_alive = 3;
  port.Arrive(shifted);
  Cycle();
  EXPECT_EQ(shared.dryer_state.Get(sm::kFanCountCode), 4);
  EXPECT_EQ(shared.link_alive.load(), 3U);
}

TEST_F(LinkCycleTest, PendingRecordGoesOutWithItsCrc) {
  shared.RequestByte(Rec::kFanCount, 2);
  const Bytes& f = Cycle();
  Bytes expected = {0x08, 0x01, 0x00, 0x03, 0x01, 0x02, 0, 0};
  link_crc16(expected.data(), 6);
  EXPECT_EQ(f, expected);
}

TEST_F(LinkCycleTest, ResetHoldOffSequence) {
  shared.link_alive = 0;
  shared.reconnect_request = 1;
  EXPECT_EQ(Cycle(), ResetFrame());
  EXPECT_EQ(shared.reconnect_request.load(), 0);
  EXPECT_EQ(cycle.reset_hold_off(), kResetHoldOff);

  // A write is pending and the warning window keeps asking for reconnects.
  shared.RequestByte(Rec::kFanCount, 2);
  for (int i = 1; i <= 8; ++i) {
    shared.reconnect_request = 1;
    EXPECT_EQ(Cycle(), NullFrame()) << "cycle " << i << " after the reset";
  }
  shared.reconnect_request = 1;
  EXPECT_TRUE(IsCommandFrame(Cycle())) << "9th cycle carries the pending write";
  EXPECT_EQ(cycle.reset_hold_off(), 1U);
  EXPECT_EQ(Cycle(), ResetFrame()) << "10th cycle: the next reset";
}

TEST_F(LinkCycleTest, OneShotPlacedDuringTheHoldOffIsLost) {
  shared.reconnect_request = 1;
  Cycle();
  const std::uint8_t clock[5] = {1, 2, 3, 4, 5};
  shared.RequestWrite(Rec::kClock, sm::kClockMinute, clock, 5);
  EXPECT_EQ(Cycle(), NullFrame());
  EXPECT_FALSE(shared.pending.IsRaised(Rec::kClock));
}

// A display settings change placed while only null frames may go out is not lost: it goes out
// once the hold-off allows, its command bits only in the first placement, and ends on the echo.
TEST_F(LinkCycleTest, DisplaySettingsSurviveTheResetHoldOffAndEndOnTheEcho) {
  shared.reconnect_request = 1;
  Cycle();
  shared.RequestByte(Rec::kDisplaySettings, 0xA2);
  for (int i = 1; i <= 8; ++i) EXPECT_EQ(Cycle(), NullFrame()) << "cycle " << i;
  const Bytes sent = Cycle();
  ASSERT_TRUE(IsCommandFrame(sent));
  EXPECT_EQ(Bytes(sent.begin() + 2, sent.end() - 2), (Bytes{1, 10, 1, 0xA0}));
  EXPECT_TRUE(shared.pending.IsRaised(Rec::kDisplaySettings));

  port.Arrive(frame.Sealed());  // the controller has not taken it yet
  EXPECT_TRUE(IsCommandFrame(Cycle()));
  frame.Set(sm::kDisplaySettings, {0xA0});
  port.Arrive(frame.Sealed());
  EXPECT_EQ(Cycle(), NullFrame());
  EXPECT_FALSE(shared.pending.IsRaised(Rec::kDisplaySettings));
}

TEST_F(LinkCycleTest, GoodFrameDuringTheHoldOffEndsTheLostStateButNotTheHoldOff) {
  shared.link_alive = 0;
  shared.reconnect_request = 1;
  Cycle();
  port.Arrive(frame.Sealed());
  Cycle();
  EXPECT_EQ(shared.link_alive.load(), kLinkAliveReload);
  EXPECT_EQ(cycle.reset_hold_off(), kResetHoldOff - 1);
  shared.RequestByte(Rec::kFanCount, 2);
  EXPECT_EQ(Cycle(), NullFrame());
}

TEST(LinkAliveCountdown, CountsDownToZeroAndStops) {
  LinkShared shared;
  for (int i = 0; i < 9; ++i) CountDownLinkAlive(shared);
  EXPECT_FALSE(LinkLost(shared));
  CountDownLinkAlive(shared);
  EXPECT_TRUE(LinkLost(shared));
  CountDownLinkAlive(shared);
  EXPECT_EQ(shared.link_alive.load(), 0U);
}

}  // namespace
}  // namespace orvandry::link
