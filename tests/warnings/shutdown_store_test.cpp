#include <gtest/gtest.h>
#include <sqlite3.h>

#include <algorithm>
#include <functional>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "warnings/shutdown_history_store.h"
#include "warnings_test_support.h"

namespace orvandry::warnings {
namespace {

using testing::ReadFile;
using testing::WriteFile;

ShutdownRecord Rec(std::string text, std::string node, LocalDateTime when = {}) {
  return ShutdownRecord{std::move(text), std::move(node), ToShutdownTime(when)};
}

std::vector<std::string> Texts(const ShutdownReadout& readout) {
  std::vector<std::string> out;
  for (const auto& r : readout.records) out.push_back(r.warning_text.substr(0, 4) + r.node_name);
  return out;
}

class ShutdownStoreTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_EQ(store_.InitShutdownHistory().status, StoreStatus::kOk); }

  // The names of the copies of a damaged database kept aside by the recovery, and of their logs.
  std::set<std::string> DamagedCopies() const {
    std::set<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(dir_.path()))
      if (entry.path().filename().string().starts_with(kDamagedTag))
        names.insert(entry.path().filename().string());
    return names;
  }
  static constexpr std::string_view kDamagedTag = "ShutdownHistoryDB.damaged-";

  testing::TempDir dir_;
  ShutdownHistoryStore store_{dir_.path()};
};

TEST_F(ShutdownStoreTest, InitCreatesAnEmptyClosedHistoryInTheDataFolder) {
  EXPECT_EQ(store_.path(), dir_.path() / "ShutdownHistoryDB");
  EXPECT_TRUE(std::filesystem::exists(store_.path()));
  const ShutdownCount count = store_.CountShutdowns();
  EXPECT_TRUE(count.result.ok());
  EXPECT_EQ(count.count, 0u);
  // Nothing stays open: the log is folded back into the file when the operation closes it.
  EXPECT_FALSE(std::filesystem::exists(dir_.path() / "ShutdownHistoryDB-wal"));
}

TEST_F(ShutdownStoreTest, ReadsBackInEachOfTheThreeOrdersFromAnIndex) {
  const std::vector<ShutdownRecord> records = {
      Rec("0E01 - MAIN I/O", "MAIN I/O", {2026, 3, 1, 9, 0, 0, 0}),
      Rec("0205 - BURNER #1", "FAN/HEATER #1", {2026, 3, 2, 9, 0, 0, 0}),
      Rec("0801", "", {2026, 1, 1, 0, 0, 0, 0}),
      Rec("0205 - BURNER #1", "FAN/HEATER #1", {2025, 1, 1, 0, 0, 0, 0}),
      Rec("0102 - NETWORK CABLE", "DISPLAY I/O", {2026, 3, 3, 9, 0, 0, 0}),
  };
  for (const auto& r : records) ASSERT_TRUE(store_.Append(r).ok());

  const ShutdownReadout by_warning = store_.ReadShutdowns(ShutdownOrder::ByWarning);
  ASSERT_TRUE(by_warning.result.ok());
  EXPECT_EQ(Texts(by_warning),
            (std::vector<std::string>{"0102DISPLAY I/O", "0205FAN/HEATER #1", "0205FAN/HEATER #1",
                                      "0801", "0E01MAIN I/O"}));
  // Equal texts and nodes fall back to the time.
  EXPECT_LT(by_warning.records[1].time, by_warning.records[2].time);
  // A node without a name sorts first.
  EXPECT_EQ(Texts(store_.ReadShutdowns(ShutdownOrder::ByNode)),
            (std::vector<std::string>{"0801", "0102DISPLAY I/O", "0205FAN/HEATER #1",
                                      "0205FAN/HEATER #1", "0E01MAIN I/O"}));
  EXPECT_EQ(
      store_.ReadShutdowns(ShutdownOrder::ByTime).records,
      (std::vector<ShutdownRecord>{records[3], records[2], records[0], records[1], records[4]}));

  // Each order is answered from its index, without sorting.
  sqlite3* db = nullptr;
  ASSERT_EQ(sqlite3_open(store_.path().c_str(), &db), SQLITE_OK);
  for (const bool over_limit : {false, true})
    for (const auto order :
         {ShutdownOrder::ByWarning, ShutdownOrder::ByNode, ShutdownOrder::ByTime}) {
      const std::string sql =
          "EXPLAIN QUERY PLAN " + std::string(ShutdownHistoryStore::SelectSql(order, over_limit));
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

TEST_F(ShutdownStoreTest, CutsTextsToTheirFieldBoundsAndClearsToAStoreThatRecordsAgain) {
  ASSERT_TRUE(store_.Append(Rec(std::string(150, 'W'), std::string(40, 'N'))).ok());
  ASSERT_TRUE(store_.Append(Rec("0205", "FAN/HEATER #1")).ok());
  const ShutdownReadout readout = store_.ReadShutdowns(ShutdownOrder::ByWarning);
  ASSERT_EQ(readout.records.size(), 2u);
  EXPECT_EQ(readout.records[1].warning_text, std::string(99, 'W'));
  EXPECT_EQ(readout.records[1].node_name, std::string(24, 'N'));

  EXPECT_EQ(store_.ClearShutdownHistory().status, StoreStatus::kOk);
  EXPECT_EQ(store_.CountShutdowns().count, 0u);
  EXPECT_TRUE(store_.ReadShutdowns(ShutdownOrder::ByTime).records.empty());
  ASSERT_TRUE(store_.Append(Rec("0E01", "MAIN I/O")).ok());
  EXPECT_EQ(Texts(store_.ReadShutdowns(ShutdownOrder::ByTime)),
            (std::vector<std::string>{"0E01MAIN I/O"}));
}

TEST_F(ShutdownStoreTest, StoresWithoutLimitButReadsAndCountsOnlyTheNewest65535) {
  // Stored newest first, so neither the order of recording nor the row ids point at the newest;
  // the texts differ, so each order sorts them differently. The five oldest are not read back.
  constexpr ShutdownTime kStored = 65'540;
  std::vector<ShutdownRecord> many(kStored);
  for (ShutdownTime i = 0; i < kStored; ++i)
    many[i] = ShutdownRecord{i % 2 ? "0E05" : "0205", i % 3 ? "MAIN I/O" : "FAN/HEATER #1",
                             kStored - 1 - i};
  ASSERT_TRUE(store_.AppendAll(many).ok());
  EXPECT_EQ(store_.CountShutdowns().count, 65'535u);
  for (const auto order :
       {ShutdownOrder::ByWarning, ShutdownOrder::ByNode, ShutdownOrder::ByTime}) {
    const ShutdownReadout readout = store_.ReadShutdowns(order);
    ASSERT_EQ(readout.records.size(), 65'535u) << static_cast<int>(order);
    const auto [oldest, newest] = std::minmax_element(
        readout.records.begin(), readout.records.end(),
        [](const ShutdownRecord& a, const ShutdownRecord& b) { return a.time < b.time; });
    EXPECT_EQ(oldest->time, 5u) << static_cast<int>(order);
    EXPECT_EQ(newest->time, kStored - 1) << static_cast<int>(order);
  }
}

TEST_F(ShutdownStoreTest, RecordingWhileTheScreenReadsLosesNothing) {
  // The link thread records while the history screen refills its list on the UI thread.
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
TEST_F(ShutdownStoreTest, ADamagedFileIsKeptAsideAndAFreshHistoryStarted) {
  const std::string garbage(4096, 'x');
  WriteFile(store_.path(), garbage);
  const StoreResult init = store_.InitShutdownHistory();
  EXPECT_EQ(init.status, StoreStatus::kRecovered) << init.detail;
  EXPECT_EQ(DamagedCopies().size(), 1u);
  EXPECT_EQ(ReadFile(init.damaged_file), garbage);
  EXPECT_EQ(store_.Append(Rec("0205", "FAN/HEATER #1")).status, StoreStatus::kOk);
  EXPECT_EQ(store_.CountShutdowns().count, 1u);

  // Recording into a damaged file recovers without a start-up; the first copy is kept.
  WriteFile(store_.path(), "SQLite format 2\n definitely not a database");
  const StoreResult appended = store_.Append(Rec("0E05", "MAIN I/O"));
  EXPECT_EQ(appended.status, StoreStatus::kRecovered);
  EXPECT_EQ(appended.records_kept, 0u) << "nothing in it could be read";
  EXPECT_EQ(DamagedCopies().size(), 2u);
  EXPECT_EQ(store_.CountShutdowns().count, 1u);
}

// Damage behind an intact header, found by the start-up check: whatever can still be read is
// kept. Damage to an order alone costs nothing; a destroyed table page costs only its own rows.
TEST_F(ShutdownStoreTest, ADamagedHistoryKeepsEveryRecordThatCanStillBeRead) {
  constexpr std::uint8_t kIndexLeaf = 0x0A, kTableLeaf = 0x0D;
  const struct {
    const char* damage;
    std::uint8_t page_type;
    // Damages the file, given the pages of the type; the page chosen is in the middle.
    std::function<void(const std::filesystem::path&, const std::vector<std::uint32_t>&)> apply;
    StoreStatus expected;
    bool all_kept;
  } cases[] = {
      {"one order's entry altered", kIndexLeaf,
       [](const std::filesystem::path& db, const std::vector<std::uint32_t>& pages) {
         const std::string bytes = ReadFile(db);
         for (std::size_t i = pages.size() / 2; i < pages.size(); ++i) {
           const std::size_t at = bytes.find("FAN/HEATER", (pages[i] - 1) * 4096);
           if (at >= pages[i] * 4096) continue;
           WriteFile(db, bytes.substr(0, at) + "FAN/HEATEQ" + bytes.substr(at + 10));
           return;
         }
         FAIL() << "no order entry to alter";
       },
       StoreStatus::kRepaired, true},
      {"an order's page destroyed", kIndexLeaf,
       [](const std::filesystem::path& db, const std::vector<std::uint32_t>& pages) {
         testing::OverwritePage(db, pages[pages.size() / 2], 0, std::string(4096, '\x5A'));
       },
       StoreStatus::kRecovered, true},
      {"a table page destroyed", kTableLeaf,
       [](const std::filesystem::path& db, const std::vector<std::uint32_t>& pages) {
         testing::OverwritePage(db, pages[pages.size() / 2], 0, std::string(4096, '\x5A'));
       },
       StoreStatus::kRecovered, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.damage);
    testing::TempDir dir;
    ShutdownHistoryStore store(dir.path());
    std::vector<ShutdownRecord> stored;
    for (int i = 0; i < 400; ++i)
      stored.push_back(Rec(i % 2 ? "0205 - BURNER #1 GRAIN OVERHEAT" : "0E05 - MAIN I/O",
                           i % 3 ? "FAN/HEATER #1" : "MAIN I/O",
                           {2026, 1 + i / 28 % 12, 1 + i % 28, i % 24, 0, 0, 0}));
    ASSERT_TRUE(store.AppendAll(stored).ok());
    const ShutdownReadout before = store.ReadShutdowns(ShutdownOrder::ByTime);
    const std::vector<std::uint32_t> pages = testing::PagesOfType(store.path(), c.page_type);
    ASSERT_GE(pages.size(), 3u);
    c.apply(store.path(), pages);
    const std::string damaged_bytes = ReadFile(store.path());

    const StoreResult init = store.InitShutdownHistory();
    ASSERT_EQ(init.status, c.expected) << init.detail;
    const ShutdownReadout after = store.ReadShutdowns(ShutdownOrder::ByTime);
    ASSERT_EQ(after.result.status, StoreStatus::kOk) << after.result.detail;
    EXPECT_EQ(store.CountShutdowns().count, init.records_kept);
    EXPECT_EQ(after.records.size(), init.records_kept);
    if (c.all_kept) {
      EXPECT_EQ(after.records, before.records);
    } else {
      // A page holds dozens of these rows; the rest are all still there, unaltered.
      EXPECT_GT(init.records_kept, 300u);
      EXPECT_LT(init.records_kept, 400u);
      for (const ShutdownRecord& record : after.records)
        EXPECT_NE(std::find(before.records.begin(), before.records.end(), record),
                  before.records.end());
    }
    if (c.expected == StoreStatus::kRecovered) {
      // The damaged file stays for service as it was found.
      EXPECT_EQ(ReadFile(init.damaged_file), damaged_bytes);
    } else {
      EXPECT_TRUE(init.damaged_file.empty());
    }
    EXPECT_EQ(store.InitShutdownHistory().status, StoreStatus::kOk) << "the rescue held";
    EXPECT_TRUE(store.Append(Rec("0101", "DISPLAY I/O")).ok());
  }
}

// A card the kernel made read-only, or a folder the display may not write: the history is read as
// it is and the file left untouched; a write is refused with the reason.
TEST(ShutdownStoreReadOnly, ReadsAndExportsButRefusesToRecordWithTheReason) {
  const struct {
    const char* what;
    bool folder_locked;
    const char* reason;
  } cases[] = {{"folder", true, "the folder "}, {"file", false, "the file "}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    testing::TempDir dir;
    const std::filesystem::path data = dir.path() / "data";
    std::filesystem::create_directory(data);
    ShutdownHistoryStore store(data);
    for (int i = 0; i < 5; ++i)
      ASSERT_TRUE(
          store.Append(Rec("0205 - BURNER #1", "FAN/HEATER #1", {2026, 1, 1, i, 0, 0, 0})).ok());
    const std::string before = ReadFile(store.path());
    std::filesystem::permissions(dir.path(), std::filesystem::perms(0755));
    std::filesystem::permissions(store.path(),
                                 std::filesystem::perms(c.folder_locked ? 0644 : 0444));
    std::filesystem::permissions(data, std::filesystem::perms(c.folder_locked ? 0555 : 0777));

    const std::string problems = testing::RunUnprivileged([&]() -> std::string {
      std::string out;
      const StoreResult init = store.InitShutdownHistory();
      if (!init.ok() || !init.read_only) out += "init: " + init.detail + "; ";
      if (init.read_only_reason.find(c.reason) != 0)
        out += "reason: " + init.read_only_reason + "; ";
      const ShutdownReadout readout = store.ReadShutdowns(ShutdownOrder::ByNode);
      if (!readout.result.ok() || readout.records.size() != 5)
        out += "read: " + readout.result.detail + "; ";
      if (store.CountShutdowns().count != 5) out += "count; ";
      const StoreResult refused = store.Append(Rec("0E05", "MAIN I/O"));
      if (refused.ok() || (refused.sqlite_code & 0xFF) != SQLITE_READONLY || !refused.read_only)
        out += "append was not refused: " + refused.detail + "; ";
      if (refused.detail.find(c.reason) == std::string::npos)
        out += "refusal: " + refused.detail + "; ";
      return out;
    });
    EXPECT_EQ(problems, "");
    EXPECT_EQ(ReadFile(store.path()), before) << "the file was changed";
    std::filesystem::permissions(data, std::filesystem::perms(0755));
  }
}

// Only the three newest damaged copies stay: by the time in their names, then by the number of a
// copy made in the same second. The copy just made is kept even when an older clock setting
// stamped another one later.
TEST_F(ShutdownStoreTest, KeepsTheThreeNewestDamagedCopiesTheOneJustMadeAmongThem) {
  const std::string tag(kDamagedTag);
  for (const char* name : {"20200101-000000", "20200101-000000-wal", "20200101-000000-2",
                           "20200101-000000-10", "29991231-235959"})
    WriteFile(dir_.path() / (tag + name), "old copy");
  WriteFile(store_.path(), "not a database, and long enough to be read as a header");
  const StoreResult recovered = store_.Append(Rec("0205", "FAN/HEATER #1"));
  ASSERT_EQ(recovered.status, StoreStatus::kRecovered) << recovered.detail;

  EXPECT_EQ(DamagedCopies(),
            (std::set<std::string>{recovered.damaged_file.filename().string(),
                                   tag + "29991231-235959", tag + "20200101-000000-10"}));
}

}  // namespace
}  // namespace orvandry::warnings
