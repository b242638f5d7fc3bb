// The journal of operator changes: what a commit leaves in it, how the intake's echo, a refusal
// and a withdrawal end up there, and that the file keeps its entries through a kill and within
// its bound.
#include "journal/change_journal.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <filesystem>

#include "csv_reader.h"
#include "journal/record_format.h"
#include "link/command_builder.h"
#include "link/commit_observer.h"
#include "link/link_test_support.h"
#include "link/setting_edit.h"
#include "link/status_intake.h"
#include "link/status_map.h"
#include "temp_dir.h"

namespace orvandry::journal {
namespace {

namespace fs = std::filesystem;
namespace sm = link::status_map;
using link::Rec;

using orvandry::testing::TempDir;

// The commit hook as app/ wires it, with a clock the test moves.
class Hook final : public link::CommitObserver {
 public:
  explicit Hook(ChangeJournal& journal) : journal_(journal) {}
  void OnCommitted(Rec rec, std::span<const std::uint8_t> bytes) override {
    journal_.Committed(rec, bytes, "TEST SCREEN", false, now);
  }
  Stamp now{1'000'000, 0};

 private:
  ChangeJournal& journal_;
};

class ChangeJournalTest : public ::testing::Test {
 protected:
  ChangeJournalTest() {
    frame.data[sm::kDryerActivity] = sm::kDryerActivityPreset;
    frame.Set(sm::PlenumSetpoint(1), {180, 0});
    shared.commit_observer = &hook;
    Take();
  }
  void Take() { intake.Run(frame.data.data()); }
  // A screen sets plenum 1 to `degrees` °F.
  void SetPlenum1(std::int16_t degrees) {
    link::SettingEdit edit(shared);
    edit.Load(Rec::kPlenumSetpoint1);
    edit.SetT16(sm::PlenumSetpoint(1), degrees);
    ASSERT_EQ(edit.Commit(Rec::kPlenumSetpoint1), link::CommitResult::kSent);
  }
  void Advance(std::int64_t seconds) {
    hook.now.local += seconds;
    hook.now.uptime += seconds;
  }
  bool Carries(Rec rec) {
    std::array<std::uint8_t, link::kMaxCommandFrameSize> tx{};
    if (!link::BuildCommandFrame(shared, tx.data())) return false;
    const link::PendingWriteRecord& r = link::RecordOf(rec);
    for (std::size_t at = 2; at + 3 <= tx[0] - 2U;) {
      if (tx[at] == r.group && tx[at + 1] == r.id) return true;
      at += 3U + tx[at + 2];
    }
    return false;
  }

  TempDir dir;
  ChangeJournal journal{dir.path() / ChangeJournal::kFileName, {1'000'000, 0}};
  Hook hook{journal};
  link::LinkShared shared;
  link::StatusIntake intake{shared, nullptr};
  link::testing::TestFrame frame;
};

TEST_F(ChangeJournalTest, AChangeEchoedAtOnceIsJournalledAsTaken) {
  SetPlenum1(190);
  ASSERT_EQ(journal.Waiting().size(), 1U);
  frame.Set(sm::PlenumSetpoint(1), {190, 0});
  Take();
  Take();  // a plenum setpoint is compared before the frame is copied: lowered one frame later
  Advance(1);
  EXPECT_EQ(journal.Review(shared, hook.now), 1U);
  EXPECT_TRUE(journal.Waiting().empty());
  const std::vector<JournalEntry> entries = journal.Entries();
  ASSERT_EQ(entries.size(), 1U);
  const JournalEntry& e = entries[0];
  EXPECT_EQ(e.rec, Rec::kPlenumSetpoint1);
  EXPECT_EQ(e.what, "PLENUM 1 SETPOINT");
  EXPECT_EQ(e.screen, "TEST SCREEN");
  EXPECT_EQ(e.requested, (std::vector<std::uint8_t>{190, 0}));
  EXPECT_EQ(e.requested_text,
            "190 \xB0"
            "F");
  EXPECT_EQ(e.state, ChangeState::kTaken);
  EXPECT_EQ(e.committed_at, 1'000'000);
  EXPECT_EQ(e.settled_at, 1'000'001);
}

TEST(JournalCsv, ReadsBackOldestFirstWithTextsQuoted) {
  std::vector<JournalEntry> newest_first(2);
  newest_first[0] = {2,
                     1'000'100,
                     "SETUP, PAGE 2",
                     Rec::kPlenumSetpoint1,
                     "PLENUM 1 SETPOINT",
                     {190, 0},
                     "190 \"F\"",
                     ChangeState::kWaiting,
                     0};
  newest_first[1] = {
      1,     1'000'000,           "TIMERS", Rec::kPlenumSetpoint1, "PLENUM 1 SETPOINT", {180, 0},
      "180", ChangeState::kTaken, 1'000'001};
  const auto rows = orvandry::testing::ParseCsv(JournalCsv(newest_first));
  ASSERT_TRUE(rows.has_value());
  ASSERT_EQ(rows->size(), 3U);
  EXPECT_EQ((*rows)[0][0], "id");
  EXPECT_EQ((*rows)[1][0], "1") << "oldest first";
  EXPECT_EQ((*rows)[1][1], IsoCivil(1'000'000));
  EXPECT_EQ((*rows)[1][5], "TAKEN");
  EXPECT_EQ((*rows)[1][6], IsoCivil(1'000'001));
  EXPECT_EQ((*rows)[2][2], "SETUP, PAGE 2");
  EXPECT_EQ((*rows)[2][4], "190 \"F\"");
  EXPECT_EQ((*rows)[2][6], "") << "no settle time while waiting";
  EXPECT_NE(IsoCivil(1'000'000).find('T'), std::string::npos);
}

TEST_F(ChangeJournalTest, ARefusedChangeIsOverdueAfterFifteenSecondsAndNotBefore) {
  SetPlenum1(190);
  for (int second = 1; second <= 15; ++second) {
    Advance(1);
    Take();  // the controller keeps reporting 180
    journal.Review(shared, hook.now);
    EXPECT_EQ(journal.Overdue(hook.now.uptime).size(), second >= 15 ? 1U : 0U) << second << " s";
  }
  EXPECT_EQ(journal.Entries()[0].state, ChangeState::kWaiting);
}

TEST_F(ChangeJournalTest, WithdrawingLowersTheFlagAndTheNextFrameNoLongerCarriesTheRecord) {
  SetPlenum1(190);
  ASSERT_TRUE(Carries(Rec::kPlenumSetpoint1));
  const std::int64_t id = journal.Waiting().at(0).entry.id;
  EXPECT_EQ(journal.Withdraw(id, shared, hook.now), ChangeJournal::WithdrawResult::kWithdrawn);
  EXPECT_FALSE(shared.pending.IsRaised(Rec::kPlenumSetpoint1));
  EXPECT_EQ(shared.request.GetT16(sm::PlenumSetpoint(1)), 180) << "back to the controller's value";
  EXPECT_FALSE(Carries(Rec::kPlenumSetpoint1));
  EXPECT_EQ(journal.Entries()[0].state, ChangeState::kWithdrawn);
  EXPECT_EQ(journal.Withdraw(id, shared, hook.now), ChangeJournal::WithdrawResult::kNotWaiting);

  // Taken between the list being drawn and the touch: nothing is withdrawn, it reads as taken.
  SetPlenum1(195);
  frame.Set(sm::PlenumSetpoint(1), {195, 0});
  Take();
  Take();
  EXPECT_EQ(journal.Withdraw(journal.Waiting().at(0).entry.id, shared, hook.now),
            ChangeJournal::WithdrawResult::kAlreadyTaken);
  EXPECT_EQ(journal.Entries()[0].state, ChangeState::kTaken);
}

TEST_F(ChangeJournalTest, ANewerChangeOfTheSameRecordReplacesTheWaitingOne) {
  SetPlenum1(190);
  SetPlenum1(200);
  ASSERT_EQ(journal.Waiting().size(), 1U);
  EXPECT_EQ(journal.Waiting()[0].entry.requested_text,
            "200 \xB0"
            "F");
  const auto entries = journal.Entries();
  ASSERT_EQ(entries.size(), 2U);
  EXPECT_EQ(entries[1].state, ChangeState::kReplaced);
}

TEST_F(ChangeJournalTest, OneShotAndControllerSourcedRecordsAreNotJournalled) {
  const std::uint8_t bytes[5] = {};
  for (Rec rec : {Rec::kClock, Rec::kPrinterCommand, Rec::kMeteringFromDisplay,
                  Rec::kMeteringCopyWorking, Rec::kMeteringCopy161}) {
    EXPECT_FALSE(Journalled(rec)) << link::RecordOf(rec).number();
    journal.Committed(rec, bytes, "X", false, hook.now);
  }
  EXPECT_TRUE(journal.Entries().empty());
  EXPECT_TRUE(Journalled(Rec::kDisplaySettings)) << "stays raised until echoed";
}

TEST(RecordFormat, ValuesReadAsTheScreensShowThem) {
  struct Case {
    Rec rec;
    std::vector<std::uint8_t> bytes;
    bool si;
    const char* text;
  };
  const Case cases[] = {
      {Rec::kPlenumSetpoint3,
       {0xB4, 0x00},
       false,
       "180 \xB0"
       "F"},
      {Rec::kPlenumSetpoint3,
       {0xB4, 0x00},
       true,
       "82 \xB0"
       "C"},
      {Rec::kGrainLow,
       {0xF6, 0xFF},
       false,
       "-10 \xB0"
       "F"},
      {Rec::kBurnerDifferential1,
       {18},
       true,
       "10 \xB0"
       "C"},
      {Rec::kDryTimerReload, {75, 5}, false, "75:05"},
      {Rec::kMoistureSetpoint, {0x00, 155}, false, "15.5 %"},
      {Rec::kUnloadRateMax, {0x01, 0x2C}, false, "300"},
      {Rec::kCalibration232, {0x12, 0xAB}, false, "12 AB"},
      {Rec::kPlenumSetpoint3, {0xB4}, false, "B4"},  // short: raw
  };
  for (const Case& c : cases)
    EXPECT_EQ(FormatValue(c.rec, c.bytes, c.si), c.text) << RecordName(c.rec);
  EXPECT_EQ(RecordName(Rec::kCalibration232), "RECORD 66");
}

TEST(CivilTime, RoundTrips) {
  EXPECT_EQ(FormatCivil(CivilSeconds(2026, 12, 7, 21, 30, 5)), "2026-12-07 21:30:05");
  EXPECT_EQ(FormatCivil(CivilSeconds(2000, 2, 29, 0, 0, 0)), "2000-02-29 00:00:00");
  EXPECT_EQ(CivilSeconds(1970, 1, 1, 0, 0, 1), 1);
}

TEST(ChangeJournalFile, KeepsOnlyTheNewestEntries) {
  TempDir dir;
  const fs::path file = dir.path() / ChangeJournal::kFileName;
  static_assert(ChangeJournal::kMaxEntries == 10000);
  const std::uint8_t bytes[2] = {1, 2};
  {
    ChangeJournal journal(file, {}, 10);
    for (int i = 1; i <= 25; ++i) journal.Committed(Rec::kFillTimer, bytes, "S", false, {i, i});
    const auto entries = journal.Entries();
    ASSERT_EQ(entries.size(), 10U);
    EXPECT_EQ(entries.front().id, 25);
    EXPECT_EQ(entries.back().id, 16);
  }
  ChangeJournal reopened(file, {100, 0}, 10);
  reopened.Committed(Rec::kFillTimer, bytes, "S", false, {101, 0});
  const auto entries = reopened.Entries();
  ASSERT_EQ(entries.size(), 10U);
  EXPECT_EQ(entries.front().id, 26) << "ids go on after a restart";
  EXPECT_EQ(entries.back().id, 17);
}

// A display killed while it writes keeps every entry it had finished, readable at the restart;
// what was still waiting then reads as never sent again.
TEST(ChangeJournalFile, SurvivesAKill) {
  TempDir dir;
  const fs::path file = dir.path() / ChangeJournal::kFileName;
  int done[2];
  ASSERT_EQ(::pipe(done), 0);
  const pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    ::close(done[0]);
    ChangeJournal journal(file, {});
    const std::uint8_t bytes[2] = {0, 190};
    for (std::int64_t i = 1;; ++i) {
      journal.Committed(i % 2 == 0 ? Rec::kFillTimer : Rec::kMoistureSetpoint, bytes, "KILLED",
                        false, {i, i});
      if (::write(done[1], &i, sizeof i) != sizeof i) ::_exit(1);
    }
  }
  ::close(done[1]);
  std::int64_t finished = 0;
  while (finished < 40 && ::read(done[0], &finished, sizeof finished) == sizeof finished) {
  }
  ::kill(child, SIGKILL);
  int status = 0;
  ::waitpid(child, &status, 0);
  ::close(done[0]);
  ASSERT_TRUE(WIFSIGNALED(status));

  ChangeJournal journal(file, {999'999, 0});
  ASSERT_TRUE(journal.stored()) << journal.error();
  const auto entries = journal.Entries();
  ASSERT_GE(static_cast<std::int64_t>(entries.size()), finished);
  for (std::size_t i = 0; i < entries.size(); ++i) {
    EXPECT_EQ(entries[i].id, static_cast<std::int64_t>(entries.size() - i)) << "no gaps";
    EXPECT_EQ(entries[i].requested, (std::vector<std::uint8_t>{0, 190}));
  }
  // The last change of each record was still waiting when the display died.
  EXPECT_EQ(entries[0].state, ChangeState::kDropped);
  EXPECT_EQ(entries[0].settled_at, 999'999);
  EXPECT_EQ(entries[2].state, ChangeState::kReplaced);
  EXPECT_TRUE(journal.Waiting().empty());
}

}  // namespace
}  // namespace orvandry::journal
