#include "warnings/shutdown_recorder.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "warnings_test_support.h"

namespace orvandry::warnings {
namespace {

using testing::FakeClock;
using testing::TempDir;

class ShutdownRecorderTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(store_.InitShutdownHistory().ok()); }

  // Feeds a code as the status intake would, after `seconds` have passed.
  RecordOutcome At(std::int64_t seconds, WarningCode code) {
    clock_.Advance(seconds);
    return recorder_.OnWarningCodeChanged(NodeIdOf(code), WarningIdOf(code)).outcome;
  }

  std::vector<std::string> Stored() {
    std::vector<std::string> texts;
    for (const auto& r : store_.ReadShutdowns(ShutdownOrder::ByTime).records)
      texts.push_back(r.warning_text.substr(0, 4));
    return texts;
  }

  TempDir dir_;
  ShutdownHistoryStore store_{dir_.path()};
  FakeClock clock_;
  ShutdownRecorder recorder_{store_, clock_};
};

TEST_F(ShutdownRecorderTest, AWarningThatReturnsWithinTheHoldOffIsStoredOnce) {
  EXPECT_EQ(At(0, 0x0205), RecordOutcome::kRecorded);
  EXPECT_EQ(At(30, 0x0000), RecordOutcome::kSkipped);
  EXPECT_EQ(At(69, 0x0205), RecordOutcome::kSkipped);  // 99 s after the recording
  EXPECT_EQ(Stored(), (std::vector<std::string>{"0205"}));
}

TEST_F(ShutdownRecorderTest, AWarningThatReturnsAfterTheHoldOffIsStoredAgain) {
  EXPECT_EQ(At(0, 0x0205), RecordOutcome::kRecorded);
  EXPECT_EQ(At(30, 0x0000), RecordOutcome::kSkipped);
  EXPECT_EQ(At(71, 0x0205), RecordOutcome::kRecorded);  // 101 s
  EXPECT_EQ(Stored(), (std::vector<std::string>{"0205", "0205"}));
}

TEST_F(ShutdownRecorderTest, TheHoldOffEndsAfterExactlyOneHundredSeconds) {
  EXPECT_EQ(At(0, 0x0E05), RecordOutcome::kRecorded);
  EXPECT_EQ(At(99, 0x0E05), RecordOutcome::kSkipped);
  EXPECT_EQ(At(1, 0x0E05), RecordOutcome::kRecorded);
  EXPECT_EQ(Stored().size(), 2u);
}

TEST_F(ShutdownRecorderTest, ADifferentWarningIsAlwaysStoredAndRestartsTheHoldOff) {
  EXPECT_EQ(At(0, 0x0205), RecordOutcome::kRecorded);
  EXPECT_EQ(At(10, 0x0E01), RecordOutcome::kRecorded);
  EXPECT_EQ(At(10, 0x0205), RecordOutcome::kRecorded);
  // The last recording restarted the hold-off: 95 s later the same code is still held off.
  EXPECT_EQ(At(95, 0x0205), RecordOutcome::kSkipped);
  EXPECT_EQ(Stored(), (std::vector<std::string>{"0205", "0E01", "0205"}));
}

TEST_F(ShutdownRecorderTest, MarkersAndNoWarningAreNeverStoredNorRemembered) {
  EXPECT_EQ(At(0, 0x0100), RecordOutcome::kSkipped);
  EXPECT_EQ(At(1, 0x0000), RecordOutcome::kSkipped);
  EXPECT_EQ(At(1, 0x0E00), RecordOutcome::kSkipped);
  EXPECT_TRUE(Stored().empty());

  // A marker in between does not count as a different code.
  EXPECT_EQ(At(1, 0x0205), RecordOutcome::kRecorded);
  EXPECT_EQ(At(1, 0x0200), RecordOutcome::kSkipped);
  EXPECT_EQ(At(1, 0x0205), RecordOutcome::kSkipped);
  EXPECT_EQ(Stored().size(), 1u);
}

TEST_F(ShutdownRecorderTest, StoresTheTableTextTheNodeNameAndTheLocalTime) {
  At(0, 0x0205);
  At(0, 0x0803);  // an interface board warning has no text but is still a shutdown
  At(0, 0x1201);  // a node outside the table: neither text nor name
  const ShutdownReadout readout = store_.ReadShutdowns(ShutdownOrder::ByWarning);
  ASSERT_EQ(readout.records.size(), 3u);
  EXPECT_EQ(readout.records[0].warning_text, "");
  EXPECT_EQ(readout.records[2].warning_text, "0205 - BURNER #1 GRAIN OVERHEAT");
  EXPECT_EQ(readout.records[2].node_name, "FAN/HEATER #1");
  EXPECT_EQ(readout.records[2].time, ToShutdownTime({2026, 12, 6, 1, 5, 0, 0}));
  std::vector<std::string> nodes = {readout.records[0].node_name, readout.records[1].node_name};
  std::sort(nodes.begin(), nodes.end());
  EXPECT_EQ(nodes, (std::vector<std::string>{"", "FAN/HEATER INT #1"}));
}

TEST_F(ShutdownRecorderTest, AfterAClearTheNextShutdownIsStoredNormally) {
  At(0, 0x0205);
  ASSERT_TRUE(store_.ClearShutdownHistory().ok());
  EXPECT_EQ(store_.CountShutdowns().count, 0u);
  EXPECT_EQ(At(5, 0x0E05), RecordOutcome::kRecorded);
  EXPECT_EQ(Stored(), (std::vector<std::string>{"0E05"}));
}

TEST(ShutdownRecorderFailure, AnUnavailableStoreIsReportedAndStillStartsTheHoldOff) {
  TempDir dir;
  ShutdownHistoryStore store(dir.path() / "unplugged");
  FakeClock clock;
  ShutdownRecorder recorder(store, clock);
  const RecordResult first = recorder.OnWarningCodeChanged(2, 5);
  EXPECT_EQ(first.outcome, RecordOutcome::kFailed);
  EXPECT_EQ(first.store.status, StoreStatus::kFailed);
  clock.Advance(10);
  EXPECT_EQ(recorder.OnWarningCodeChanged(2, 5).outcome, RecordOutcome::kSkipped);
}

}  // namespace
}  // namespace orvandry::warnings
