#include "sim/scenario.h"

#include <gtest/gtest.h>

namespace orvandry::sim {
namespace {

TEST(Scenario, OptionsBuildATimelineOfWarningsFaultsAndRefusals) {
  Scenario s;
  std::string error;
  const std::pair<const char*, const char*> options[] = {
      {"--warning", "0x0205@30"}, {"--warning", "0E05@12.5"}, {"--clear-warning", "40"},
      {"--silence", "60-75"},     {"--short", "70-80"},       {"--long", "100-101"},
      {"--bad-crc", "0-1"},       {"--refuse", "50"},         {"--request-storm", "5-8"},
      {"--knob", "20-30"},        {"--switch-test", "40-50"},
  };
  for (const auto& [option, value] : options) {
    EXPECT_TRUE(IsScenarioOption(option));
    ASSERT_TRUE(ApplyScenarioOption(option, value, s, &error)) << option << " " << value << error;
  }
  EXPECT_FALSE(IsScenarioOption("--device"));

  // Warnings in time order, whatever the order they were given in.
  ASSERT_EQ(s.warnings().size(), 3u);
  EXPECT_EQ(s.warnings()[0].code, 0x0E05);
  EXPECT_DOUBLE_EQ(s.warnings()[0].at, 12.5);
  const auto due = s.WarningsDue(12.5, 40);  // from exclusive, to inclusive
  ASSERT_EQ(due.size(), 2u);
  EXPECT_EQ(due[0].code, 0x0205);
  EXPECT_EQ(due[1].code, 0);

  EXPECT_EQ(s.FaultAt(0), AnswerFault::kBadCrc);
  EXPECT_EQ(s.FaultAt(59.9), AnswerFault::kNone);
  EXPECT_EQ(s.FaultAt(60), AnswerFault::kSilence);
  EXPECT_EQ(s.FaultAt(72), AnswerFault::kShort) << "the later window wins where they overlap";
  EXPECT_EQ(s.FaultAt(80), AnswerFault::kNone);
  EXPECT_EQ(s.FaultAt(100.5), AnswerFault::kLong);
  EXPECT_TRUE(s.Refuses(50));
  EXPECT_FALSE(s.Refuses(51));
  s.Accept(50);
  EXPECT_FALSE(s.Refuses(50));
  EXPECT_FALSE(s.RequestStormAt(4.9));
  EXPECT_TRUE(s.RequestStormAt(5));
  EXPECT_FALSE(s.RequestStormAt(8));
  EXPECT_FALSE(s.KnobTurningAt(19.9));
  EXPECT_TRUE(s.KnobTurningAt(20));
  EXPECT_FALSE(s.KnobTurningAt(30));
  EXPECT_FALSE(s.SwitchTestAt(39.9));
  EXPECT_TRUE(s.SwitchTestAt(40));
  EXPECT_FALSE(s.SwitchTestAt(50));
}

TEST(Scenario, OptionsItCannotReadAreRejectedAndChangeNothing) {
  const std::pair<const char*, const char*> bad[] = {
      {"--warning", "0x0205"},    {"--warning", "zz@3"},    {"--warning", "0x10000@1"},
      {"--warning", "0@5"},       {"--warning", "0205@-1"}, {"--clear-warning", "soon"},
      {"--silence", "75-60"},     {"--silence", "60"},      {"--bad-crc", "1-x"},
      {"--refuse", "300"},        {"--refuse", "-1"},       {"--frobnicate", "1"},
      {"--request-storm", "9-3"}, {"--knob", "30-20"},      {"--switch-test", "5"},
  };
  for (const auto& [option, value] : bad) {
    SCOPED_TRACE(std::string(option) + " " + value);
    Scenario s;
    std::string error;
    EXPECT_FALSE(ApplyScenarioOption(option, value, s, &error));
    EXPECT_FALSE(error.empty());
    EXPECT_TRUE(s.warnings().empty() && s.faults().empty() && s.refused().empty());
    EXPECT_FALSE(s.RequestStormAt(5));
    EXPECT_FALSE(s.KnobTurningAt(25));
  }
}

}  // namespace
}  // namespace orvandry::sim
