#include "sim/scenario.h"

#include <gtest/gtest.h>

namespace orvandry::sim {
namespace {

TEST(ScenarioOptions, ReadWarningsInTheCodesUsualSpelling) {
  Scenario s;
  std::string error;
  ASSERT_TRUE(ApplyScenarioOption("--warning", "0x0205@30", s, &error)) << error;
  ASSERT_TRUE(ApplyScenarioOption("--warning", "0E05@12.5", s, &error)) << error;
  ASSERT_TRUE(ApplyScenarioOption("--clear-warning", "40", s, &error)) << error;
  ASSERT_EQ(s.warnings().size(), 3u);
  EXPECT_EQ(s.warnings()[0].code, 0x0E05);
  EXPECT_DOUBLE_EQ(s.warnings()[0].at, 12.5);
  EXPECT_EQ(s.warnings()[1].code, 0x0205);
  EXPECT_EQ(s.warnings()[2].code, 0);

  const auto due = s.WarningsDue(12.5, 40);
  ASSERT_EQ(due.size(), 2u);
  EXPECT_EQ(due[0].code, 0x0205);
  EXPECT_EQ(due[1].code, 0);
}

TEST(ScenarioOptions, RejectWhatTheyCannotRead) {
  const std::pair<const char*, const char*> bad[] = {
      {"--warning", "0x0205"}, {"--warning", "zz@3"},    {"--warning", "0x10000@1"},
      {"--warning", "0@5"},    {"--warning", "0205@-1"}, {"--clear-warning", "soon"},
      {"--silence", "75-60"},  {"--silence", "60"},      {"--bad-crc", "1-x"},
      {"--refuse", "300"},     {"--refuse", "-1"},       {"--frobnicate", "1"},
  };
  for (const auto& [option, value] : bad) {
    Scenario s;
    std::string error;
    EXPECT_FALSE(ApplyScenarioOption(option, value, s, &error)) << option << " " << value;
    EXPECT_FALSE(error.empty());
    EXPECT_TRUE(s.warnings().empty() && s.faults().empty() && s.refused().empty());
  }
}

TEST(ScenarioOptions, FaultWindowsAndRefusals) {
  Scenario s;
  std::string error;
  ASSERT_TRUE(ApplyScenarioOption("--silence", "60-75", s, &error));
  ASSERT_TRUE(ApplyScenarioOption("--short", "70-80", s, &error));
  ASSERT_TRUE(ApplyScenarioOption("--long", "100-101", s, &error));
  ASSERT_TRUE(ApplyScenarioOption("--bad-crc", "0-1", s, &error));
  ASSERT_TRUE(ApplyScenarioOption("--refuse", "50", s, &error));
  EXPECT_TRUE(IsScenarioOption("--silence"));
  EXPECT_FALSE(IsScenarioOption("--device"));

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
}

}  // namespace
}  // namespace orvandry::sim
