#include <gtest/gtest.h>
#include <sqlite3.h>

#include <string>
#include <thread>
#include <vector>

#include "warnings/shutdown_history_store.h"
#include "warnings_test_support.h"

namespace orvandry::warnings {
namespace {

using testing::ReadFile;
using testing::TempDir;
using testing::WriteFile;

ShutdownRecord Rec(std::string text, std::string node, LocalDateTime when) {
  return ShutdownRecord{std::move(text), std::move(node), ToShutdownTime(when)};
}

std::vector<std::string> Texts(const ShutdownReadout& readout) {
  std::vector<std::string> out;
  for (const auto& r : readout.records) out.push_back(r.warning_text + "|" + r.node_name);
  return out;
}

class ShutdownStoreTest : public ::testing::Test {
 protected:
  TempDir dir_;
  ShutdownHistoryStore store_{dir_.path()};
};

TEST_F(ShutdownStoreTest, InitCreatesAnEmptyHistoryInTheDataFolder) {
  const StoreResult init = store_.InitShutdownHistory();
  EXPECT_EQ(init.status, StoreStatus::kOk) << init.detail;
  EXPECT_EQ(store_.path(), dir_.path() / "ShutdownHistoryDB");
  EXPECT_TRUE(std::filesystem::exists(store_.path()));
  const ShutdownCount count = store_.CountShutdowns();
  EXPECT_TRUE(count.result.ok());
  EXPECT_EQ(count.count, 0u);
  // Nothing stays open: the log is folded back into the file when the operation closes it.
  EXPECT_FALSE(std::filesystem::exists(dir_.path() / "ShutdownHistoryDB-wal"));
}

TEST_F(ShutdownStoreTest, ReadsBackInEachOfTheThreeOrders) {
  ASSERT_TRUE(store_.InitShutdownHistory().ok());
  const std::vector<ShutdownRecord> records = {
      Rec("0E01 - MAIN I/O - PRIMARY UNLOAD MOTOR OVERLOAD", "MAIN I/O", {2026, 3, 1, 9, 0, 0, 0}),
      Rec("0205 - BURNER #1 GRAIN OVERHEAT", "FAN/HEATER #1", {2026, 3, 2, 9, 0, 0, 0}),
      Rec("0801", "", {2026, 1, 1, 0, 0, 0, 0}),
      Rec("0205 - BURNER #1 GRAIN OVERHEAT", "FAN/HEATER #1", {2025, 1, 1, 0, 0, 0, 0}),
      Rec("0102 - NETWORK CABLE FAILED BETWEEN F/H #4 AND F/H #5", "DISPLAY I/O",
          {2026, 3, 3, 9, 0, 0, 0}),
  };
  for (const auto& r : records) ASSERT_TRUE(store_.Append(r).ok());

  const ShutdownReadout by_warning = store_.ReadShutdowns(ShutdownOrder::ByWarning);
  ASSERT_TRUE(by_warning.result.ok());
  EXPECT_EQ(Texts(by_warning),
            (std::vector<std::string>{
                "0102 - NETWORK CABLE FAILED BETWEEN F/H #4 AND F/H #5|DISPLAY I/O",
                "0205 - BURNER #1 GRAIN OVERHEAT|FAN/HEATER #1",
                "0205 - BURNER #1 GRAIN OVERHEAT|FAN/HEATER #1",
                "0801|",
                "0E01 - MAIN I/O - PRIMARY UNLOAD MOTOR OVERLOAD|MAIN I/O",
            }));
  // Equal texts and nodes fall back to the time.
  EXPECT_LT(by_warning.records[1].time, by_warning.records[2].time);

  const ShutdownReadout by_node = store_.ReadShutdowns(ShutdownOrder::ByNode);
  EXPECT_EQ(Texts(by_node),
            (std::vector<std::string>{
                "0801|",  // a node without a name sorts first
                "0102 - NETWORK CABLE FAILED BETWEEN F/H #4 AND F/H #5|DISPLAY I/O",
                "0205 - BURNER #1 GRAIN OVERHEAT|FAN/HEATER #1",
                "0205 - BURNER #1 GRAIN OVERHEAT|FAN/HEATER #1",
                "0E01 - MAIN I/O - PRIMARY UNLOAD MOTOR OVERLOAD|MAIN I/O",
            }));

  const ShutdownReadout by_time = store_.ReadShutdowns(ShutdownOrder::ByTime);
  ASSERT_EQ(by_time.records.size(), records.size());
  EXPECT_EQ(by_time.records[0], records[3]);
  EXPECT_EQ(by_time.records[1], records[2]);
  EXPECT_EQ(by_time.records[2], records[0]);
  EXPECT_EQ(by_time.records[3], records[1]);
  EXPECT_EQ(by_time.records[4], records[4]);
}

TEST_F(ShutdownStoreTest, EachOrderIsAnsweredFromItsIndexWithoutSorting) {
  ASSERT_TRUE(store_.InitShutdownHistory().ok());
  sqlite3* db = nullptr;
  ASSERT_EQ(sqlite3_open(store_.path().c_str(), &db), SQLITE_OK);
  for (const auto order :
       {ShutdownOrder::ByWarning, ShutdownOrder::ByNode, ShutdownOrder::ByTime}) {
    const std::string sql =
        "EXPLAIN QUERY PLAN " + std::string(ShutdownHistoryStore::SelectSql(order));
    sqlite3_stmt* stmt = nullptr;
    ASSERT_EQ(sqlite3_prepare_v2(db, sql.c_str(), -1, &stmt, nullptr), SQLITE_OK);
    std::string plan;
    while (sqlite3_step(stmt) == SQLITE_ROW)
      plan += reinterpret_cast<const char*>(sqlite3_column_text(stmt, 3)) + std::string("\n");
    sqlite3_finalize(stmt);
    EXPECT_NE(plan.find("COVERING INDEX"), std::string::npos) << plan;
    EXPECT_EQ(plan.find("TEMP B-TREE"), std::string::npos) << plan;
  }
  sqlite3_close(db);
}

TEST_F(ShutdownStoreTest, CutsTextsToTheirFieldBounds) {
  ASSERT_TRUE(store_.InitShutdownHistory().ok());
  ASSERT_TRUE(store_.Append(Rec(std::string(150, 'W'), std::string(40, 'N'), {})).ok());
  const ShutdownReadout readout = store_.ReadShutdowns(ShutdownOrder::ByTime);
  ASSERT_EQ(readout.records.size(), 1u);
  EXPECT_EQ(readout.records[0].warning_text, std::string(99, 'W'));
  EXPECT_EQ(readout.records[0].node_name, std::string(24, 'N'));
}

TEST_F(ShutdownStoreTest, ClearLeavesAnEmptyStoreThatRecordsAgain) {
  ASSERT_TRUE(store_.InitShutdownHistory().ok());
  for (int i = 0; i < 3; ++i) ASSERT_TRUE(store_.Append(Rec("0205", "FAN/HEATER #1", {})).ok());
  EXPECT_EQ(store_.CountShutdowns().count, 3u);

  EXPECT_EQ(store_.ClearShutdownHistory().status, StoreStatus::kOk);
  EXPECT_EQ(store_.CountShutdowns().count, 0u);
  EXPECT_TRUE(store_.ReadShutdowns(ShutdownOrder::ByTime).records.empty());

  ASSERT_TRUE(store_.Append(Rec("0E01", "MAIN I/O", {})).ok());
  const ShutdownReadout readout = store_.ReadShutdowns(ShutdownOrder::ByWarning);
  ASSERT_EQ(readout.records.size(), 1u);
  EXPECT_EQ(readout.records[0].warning_text, "0E01");
}

TEST_F(ShutdownStoreTest, StoresWithoutLimitButReadsAndCountsAtMost65535) {
  ASSERT_TRUE(store_.InitShutdownHistory().ok());
  std::vector<ShutdownRecord> many(65'537);
  for (std::size_t i = 0; i < many.size(); ++i)
    many[i] = ShutdownRecord{"0205", "FAN/HEATER #1", static_cast<ShutdownTime>(i)};
  ASSERT_TRUE(store_.AppendAll(many).ok());
  EXPECT_EQ(store_.CountShutdowns().count, 65'535u);
  const ShutdownReadout readout = store_.ReadShutdowns(ShutdownOrder::ByTime);
  ASSERT_EQ(readout.records.size(), 65'535u);
  EXPECT_EQ(readout.records.back().time, 65'534u);
}

TEST_F(ShutdownStoreTest, AnUnavailableDiskFailsEveryOperationAndCreatesNothing) {
  ShutdownHistoryStore absent(dir_.path() / "no-such-disk");
  EXPECT_EQ(absent.InitShutdownHistory().status, StoreStatus::kFailed);
  EXPECT_FALSE(absent.Append(Rec("0205", "FAN/HEATER #1", {})).ok());
  const ShutdownCount count = absent.CountShutdowns();
  EXPECT_FALSE(count.result.ok());
  EXPECT_EQ(count.count, 0u);
  EXPECT_FALSE(absent.ReadShutdowns(ShutdownOrder::ByTime).result.ok());
  EXPECT_FALSE(std::filesystem::exists(dir_.path() / "no-such-disk"));
}

TEST_F(ShutdownStoreTest, RecordingWhileTheScreenReadsLosesNothing) {
  // The link thread records while the history screen refills its list on the UI thread.
  ASSERT_TRUE(store_.InitShutdownHistory().ok());
  constexpr int kShutdowns = 20;
  std::thread recorder([this] {
    for (int i = 0; i < kShutdowns; ++i)
      EXPECT_TRUE(store_.Append(Rec("0E05", "MAIN I/O", {2026, 1, 1, 0, 0, i, 0})).ok());
  });
  std::size_t seen = 0;
  while (seen < kShutdowns) {
    const ShutdownReadout readout = store_.ReadShutdowns(ShutdownOrder::ByTime);
    ASSERT_TRUE(readout.result.ok()) << readout.result.detail;
    ASSERT_GE(readout.records.size(), seen);  // a read never sees fewer than the one before
    for (std::size_t i = 0; i < readout.records.size(); ++i)
      ASSERT_EQ(readout.records[i].time,
                ToShutdownTime({2026, 1, 1, 0, 0, static_cast<int>(i), 0}));
    seen = readout.records.size();
  }
  recorder.join();
  EXPECT_EQ(store_.CountShutdowns().count, static_cast<std::size_t>(kShutdowns));
}

// A file that is not a database at all, or one whose pages were damaged, must not stop the
// history for good: it is kept aside under a new name and a fresh database takes its place.
class DamagedStoreTest : public ShutdownStoreTest {
 protected:
  std::vector<std::filesystem::path> DamagedCopies() const {
    std::vector<std::filesystem::path> out;
    for (const auto& entry : std::filesystem::directory_iterator(dir_.path()))
      if (entry.path().filename().string().starts_with("ShutdownHistoryDB.damaged-"))
        out.push_back(entry.path());
    return out;
  }
};

TEST_F(DamagedStoreTest, NotADatabaseIsMovedAsideAtStartUp) {
  const std::string garbage(4096, 'x');
  WriteFile(store_.path(), garbage);

  const StoreResult init = store_.InitShutdownHistory();
  EXPECT_EQ(init.status, StoreStatus::kRecovered) << init.detail;
  ASSERT_EQ(DamagedCopies().size(), 1u);
  EXPECT_EQ(init.damaged_file, DamagedCopies()[0]);
  EXPECT_EQ(ReadFile(init.damaged_file), garbage);

  EXPECT_EQ(store_.Append(Rec("0205", "FAN/HEATER #1", {})).status, StoreStatus::kOk);
  EXPECT_EQ(store_.CountShutdowns().count, 1u);
}

TEST_F(DamagedStoreTest, RecordingIntoADamagedFileRecoversWithoutAStartUp) {
  WriteFile(store_.path(), "SQLite format 2\n definitely not a database");
  const StoreResult append = store_.Append(Rec("0E05", "MAIN I/O", {}));
  EXPECT_EQ(append.status, StoreStatus::kRecovered) << append.detail;
  EXPECT_EQ(DamagedCopies().size(), 1u);
  EXPECT_EQ(store_.CountShutdowns().count, 1u);

  // A second damage gets a name of its own; the first copy is kept.
  WriteFile(store_.path(), std::string(2048, '\xFF'));
  EXPECT_EQ(store_.InitShutdownHistory().status, StoreStatus::kRecovered);
  EXPECT_EQ(DamagedCopies().size(), 2u);
}

TEST_F(DamagedStoreTest, MalformedPagesAreFoundByTheStartUpCheck) {
  ASSERT_TRUE(store_.InitShutdownHistory().ok());
  std::vector<ShutdownRecord> many(2000,
                                   Rec("0205 - BURNER #1 GRAIN OVERHEAT", "FAN/HEATER #1", {}));
  ASSERT_TRUE(store_.AppendAll(many).ok());
  {
    // Scribble over pages in the middle, leaving the header intact: the file still opens.
    std::fstream file(store_.path(), std::ios::binary | std::ios::in | std::ios::out);
    file.seekp(4096 * 3);
    const std::string junk(4096 * 4, '\x5A');
    file.write(junk.data(), static_cast<std::streamsize>(junk.size()));
  }
  const StoreResult init = store_.InitShutdownHistory();
  EXPECT_EQ(init.status, StoreStatus::kRecovered) << init.detail;
  EXPECT_EQ(DamagedCopies().size(), 1u);
  EXPECT_EQ(store_.CountShutdowns().count, 0u);
  EXPECT_TRUE(store_.Append(Rec("0205", "FAN/HEATER #1", {})).ok());
}

}  // namespace
}  // namespace orvandry::warnings
