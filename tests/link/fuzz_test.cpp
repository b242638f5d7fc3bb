#include <gtest/gtest.h>

#include <random>

#include "link/command_builder.h"
#include "link/link_cycle.h"
#include "link_test_support.h"

namespace orvandry::link {
namespace {

using testing::Bytes;

// Random frames with good CRCs stand for a controller sending nonsense: the intake takes every
// value at face value and must neither crash nor step outside its tables (the sanitizer build runs
// this), and the reply must stay a well-formed frame.
TEST(LinkFuzz, RandomValidFramesNeverBreakTheCycle) {
  std::mt19937 rng(20261206);
  std::uniform_int_distribution<int> byte(0, 255);
  std::uniform_int_distribution<int> coin(0, 3);

  LinkShared shared;
  testing::RecordingListener listener;
  StatusIntake intake(shared, &listener);
  testing::FakeSerialPort port;
  LinkCycle cycle(shared, port, intake);

  testing::TestFrame frame;
  for (int round = 0; round < 4000; ++round) {
    // Mostly small changes, sometimes a whole new table, so both paths of compare-and-copy run.
    if (coin(rng) == 0) {
      for (auto& b : frame.data) b = static_cast<std::uint8_t>(byte(rng));
    } else {
      for (int k = 0; k < 8; ++k)
        frame.data[static_cast<std::size_t>(byte(rng)) % kStateSize] = static_cast<std::uint8_t>(byte(rng));
    }
    // Screens raise random writes in between.
    const auto rec = static_cast<Rec>(static_cast<std::size_t>(byte(rng)) % kPendingWriteCount);
    const PendingWriteRecord& r = RecordOf(rec);
    for (std::size_t i = 0; i < r.size; ++i)
      shared.request.Set(r.target_offset() + i, static_cast<std::uint8_t>(byte(rng)));
    shared.pending.Raise(rec);
    shared.reconnect_request = coin(rng) == 0 ? 1 : 0;
    shared.metering_source = coin(rng) == 0 ? MeteringSource::kDisplay : MeteringSource::kKnob;

    port.Arrive(frame.Sealed());
    cycle.RunOnce();

    const Bytes& sent = port.writes.back();
    ASSERT_GE(sent.size(), 4U);
    ASSERT_LE(sent.size(), kMaxCommandFrameSize);
    if (sent != testing::ResetFrame()) {
      EXPECT_EQ(sent[0], sent.size());
      EXPECT_TRUE(link_crc16_check(sent.data(), sent.size() - 2));
    }
    // The copy is exact for a field that is always copied.
    ASSERT_EQ(shared.dryer_state.Get(3), frame.data[3]);
  }
  EXPECT_EQ(listener.results.size(), 4000U);
}

}  // namespace
}  // namespace orvandry::link
