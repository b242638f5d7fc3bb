#include <gtest/gtest.h>
#include <sys/resource.h>

#include <csignal>
#include <filesystem>
#include <fstream>

#include "logging/card_copy.h"
#include "logging/long_term_log.h"
#include "logging_test_support.h"

namespace orvandry::logging {
namespace {

namespace fs = std::filesystem;
using testing::TempDir;

void Grow(const fs::path& path, std::uint64_t bytes) {
  fs::create_directories(path.parent_path());
  std::ofstream(path, std::ios::binary).close();
  fs::resize_file(path, bytes);
}

class LongTermTest : public ::testing::Test {
 protected:
  LongTermTest() : log_(data_.path()) { log_.SetSync(false); }
  TempDir data_;
  TempDir card_;
  LongTermLog log_;
  LongTermRecord record_{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16};
};

TEST_F(LongTermTest, UsedSpaceAndTheFullLimit) {
  struct Case {
    std::uint64_t size;
    bool running;
    int used;
    std::uint64_t size_after;
  };
  const Case cases[] = {
      {0, true, 0, 16},
      {5242879, true, 99, 5242880},  // the partial record is cut off, then one fits
      {5242880, true, 100, 5242880},
      {5242880 + 5, true, 100, 5242885},
      {3670032, false, 70, 3670032},  // logging on, dryer stopped: refreshed, nothing added
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.size);
    Grow(log_.Path(), c.size);
    EXPECT_EQ(log_.Append(record_, c.running), c.used);
    EXPECT_EQ(fs::file_size(log_.Path()), c.size_after);
  }
}

TEST_F(LongTermTest, HeldRecordsAreWrittenOnReleaseAfterTheDelete) {
  ASSERT_TRUE(log_.Append(record_, true));
  log_.Hold();
  log_.Append(record_, true);
  log_.Append(record_, true);
  EXPECT_EQ(fs::file_size(log_.Path()), 16u);
  ASSERT_TRUE(log_.Delete());
  log_.Release();
  EXPECT_EQ(fs::file_size(log_.Path()), 32u);
}

TEST_F(LongTermTest, CopyToCardNeverReplacesAndLeavesNoPartialFile) {
  Grow(log_.Path(), 4096);
  const std::string name = ExportFileName({2026, 12, 7, 21, 5, 9, 1});
  EXPECT_EQ(name, "LongTermDataLog26_12_07_21_05_09.DAT");
  ASSERT_TRUE(CopyToCard(log_.Path(), card_.path(), name).ok);
  // A second export in the same second has the same name: it fails and the first stays whole.
  Grow(log_.Path(), 8192);
  const CopyResult again = CopyToCard(log_.Path(), card_.path(), name);
  EXPECT_FALSE(again.ok);
  EXPECT_EQ(again.error, EEXIST);
  EXPECT_EQ(fs::file_size(card_.path() / name), 4096u);
  EXPECT_EQ(std::distance(fs::directory_iterator(card_.path()), fs::directory_iterator()), 1);
}

TEST_F(LongTermTest, FullCardFailsWithoutLeavingAFile) {
  Grow(log_.Path(), LongTermLog::kCapacityBytes);
  // A card with room for 1 MiB: writes beyond fail as on a full card.
  std::signal(SIGXFSZ, SIG_IGN);
  rlimit old{};
  ::getrlimit(RLIMIT_FSIZE, &old);
  rlimit small = old;
  small.rlim_cur = 1 << 20;
  ::setrlimit(RLIMIT_FSIZE, &small);
  const CopyResult result = CopyToCard(log_.Path(), card_.path(), "LongTermDataLog.DAT");
  ::setrlimit(RLIMIT_FSIZE, &old);
  EXPECT_FALSE(result.ok);
  EXPECT_EQ(result.error, EFBIG);
  EXPECT_TRUE(fs::is_empty(card_.path()));
  // A missing card folder fails the same way.
  EXPECT_FALSE(CopyToCard(log_.Path(), card_.path() / "gone", "x.DAT").ok);
}

}  // namespace
}  // namespace orvandry::logging
