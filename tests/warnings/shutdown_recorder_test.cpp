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

// Each step feeds a code as the status intake would, `after` seconds after the step before.
struct Step {
  std::int64_t after;
  WarningCode code;
  bool recorded;
};

TEST_F(ShutdownRecorderTest, RepeatsOfTheSameWarningAreHeldOffForOneHundredSeconds) {
  const struct {
    const char* name;
    std::vector<Step> steps;
  } timelines[] = {
      {"returns after 99 s: stored once", {{0, 0x0205, true}, {30, 0, false}, {69, 0x0205, false}}},
      {"returns after 101 s: stored again",
       {{0, 0x0205, true}, {30, 0, false}, {71, 0x0205, true}}},
      {"the hold-off ends at exactly 100 s",
       {{0, 0x0E05, true}, {99, 0x0E05, false}, {1, 0x0E05, true}}},
      {"a different warning is always stored and restarts the hold-off",
       {{0, 0x0205, true}, {10, 0x0E01, true}, {10, 0x0205, true}, {95, 0x0205, false}}},
      {"markers and no warning are neither stored nor remembered",
       {{0, 0x0100, false},
        {1, 0, false},
        {1, 0x0E00, false},
        {1, 0x0205, true},
        {1, 0x0200, false},
        {1, 0x0205, false}}},
  };
  for (const auto& timeline : timelines) {
    SCOPED_TRACE(timeline.name);
    ASSERT_TRUE(store_.ClearShutdownHistory().ok());
    ShutdownRecorder recorder(store_, clock_);
    std::vector<std::string> expected;
    for (const Step& step : timeline.steps) {
      clock_.Advance(step.after);
      EXPECT_EQ(recorder.OnWarningCodeChanged(NodeIdOf(step.code), WarningIdOf(step.code)).outcome,
                step.recorded ? RecordOutcome::kRecorded : RecordOutcome::kSkipped)
          << std::hex << step.code;
      if (step.recorded) expected.push_back(FormatWarningCode(step.code));
    }
    EXPECT_EQ(Stored(), expected);
  }
}

TEST_F(ShutdownRecorderTest, StoresTheTableTextTheNodeNameAndTheLocalTime) {
  recorder_.OnWarningCodeChanged(0x02, 0x05);
  recorder_.OnWarningCodeChanged(0x08, 0x03);  // an interface board warning: no text, a shutdown
  recorder_.OnWarningCodeChanged(0x12, 0x01);  // a node outside the table: neither text nor name
  const ShutdownReadout readout = store_.ReadShutdowns(ShutdownOrder::ByNode);
  ASSERT_EQ(readout.records.size(), 3u);
  EXPECT_EQ(readout.records[0], (ShutdownRecord{"", "", readout.records[0].time}));
  EXPECT_EQ(readout.records[1], (ShutdownRecord{"0205 - BURNER #1 GRAIN OVERHEAT", "FAN/HEATER #1",
                                                ToShutdownTime({2026, 12, 6, 1, 5, 0, 0})}));
  EXPECT_EQ(readout.records[2].warning_text, "");
  EXPECT_EQ(readout.records[2].node_name, "FAN/HEATER INT #1");
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
