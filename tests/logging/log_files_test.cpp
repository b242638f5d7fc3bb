#include "logging/log_files.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "logging/data_log_store.h"
#include "logging_test_support.h"

namespace orvandry::logging {
namespace {

namespace fs = std::filesystem;
using testing::At;
using testing::Numbered;
using testing::NumberOf;
using testing::TempDir;
using testing::WriteNumbered;

class LogFilesTest : public ::testing::Test {
 protected:
  LogFilesTest() : store_(dir_.path()) { store_.SetSync(false); }

  std::vector<std::uint64_t> FileRecords(const RotatingLog& log) const {
    std::vector<std::uint64_t> counts;
    for (const auto& f : log.Scan()) counts.push_back(f.records);
    return counts;
  }
  fs::path GraphFile(const char* stamp) const {
    return dir_.path() / DataLogStore::kGraphFolder /
           (std::string(DataLogStore::kGraphPrefix) + stamp + ".DAT");
  }
  fs::path ShortFile(const char* stamp) const {
    return dir_.path() / DataLogStore::kShortTermFolder /
           (std::string(DataLogStore::kShortTermPrefix) + stamp + ".DAT");
  }
  // Appends samples first..first+count-1 a second apart.
  void AppendShort(std::uint32_t first, std::uint32_t count) {
    for (std::uint32_t n = first; n < first + count; ++n)
      ASSERT_TRUE(store_.WriteShortTermSample(Numbered(n), At(1, 0, 0)));
  }
  std::vector<std::uint32_t> Numbers(const std::vector<LogSample>& samples) const {
    std::vector<std::uint32_t> numbers;
    for (const auto& s : samples) numbers.push_back(NumberOf(s));
    return numbers;
  }

  TempDir dir_;
  DataLogStore store_;
};

TEST_F(LogFilesTest, ShortTermRotatesAtTheFileLimitKeepingTwoFiles) {
  struct Case {
    std::uint32_t samples;
    std::vector<std::uint64_t> files;
  };
  const Case cases[] = {{144, {144}}, {145, {144, 1}}, {288, {144, 144}}, {289, {144, 1}}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.samples);
    ASSERT_TRUE(store_.DeleteShortTermLog());
    AppendShort(0, c.samples);
    EXPECT_EQ(FileRecords(store_.ShortTerm()), c.files);
    // The newest sample is always the last one read, and the names follow each other.
    EXPECT_EQ(Numbers(store_.ReadShortTermSamples(1, 0)),
              std::vector<std::uint32_t>{c.samples - 1});
  }
  // The file names keep the creation time (stamps bumped by a second only to keep the order).
  EXPECT_EQ(store_.ShortTerm().Scan().back().path.filename().string().substr(0, 13),
            "DATA_LOG_24HR");
}

TEST_F(LogFilesTest, CountIsAtMost144AndReadsSpanBothFilesOldestFirst) {
  AppendShort(0, 150);
  EXPECT_EQ(store_.CountShortTermSamples(), 144u);
  EXPECT_EQ(Numbers(store_.ReadShortTermSamples(8, 0)),
            (std::vector<std::uint32_t>{142, 143, 144, 145, 146, 147, 148, 149}));
  // Spanning the two files, and a skip beyond the start held at the oldest window.
  EXPECT_EQ(Numbers(store_.ReadShortTermSamples(3, 5)),
            (std::vector<std::uint32_t>{142, 143, 144}));
  EXPECT_EQ(Numbers(store_.ReadShortTermSamples(2, 1000)), (std::vector<std::uint32_t>{0, 1}));
}

TEST_F(LogFilesTest, ThreeFilesAreReadAsTheTwoNewestAndNothingIsDeleted) {
  WriteNumbered(ShortFile("26_12_05_01_00_00"), 0, 144);
  WriteNumbered(ShortFile("26_12_05_02_00_00"), 144, 144);
  WriteNumbered(ShortFile("26_12_05_03_00_00"), 288, 10);
  EXPECT_EQ(store_.CountShortTermSamples(), 144u);
  EXPECT_EQ(Numbers(store_.ReadShortTermSamples(2, 0)), (std::vector<std::uint32_t>{296, 297}));
  EXPECT_EQ(store_.ShortTerm().Scan().size(), 3u);
  // The writer carries on in the newest; its next rotation clears the two older ones.
  AppendShort(298, 1);
  EXPECT_EQ(FileRecords(store_.ShortTerm()), (std::vector<std::uint64_t>{144, 144, 11}));
}

TEST_F(LogFilesTest, GraphWindows) {
  constexpr std::size_t kHour = LogReader::kGraphSamplesPerHour;
  struct Case {
    const char* name;
    std::uint32_t older, newer;  // samples in the two files (older 0: one file)
    int span, back;
    std::uint32_t first_number;  // of the window's first real sample
    std::size_t zeros;           // leading empty entries
  };
  const Case cases[] = {
      {"4000 newest hour", 0, 4000, 1, 0, 4000 - 360, 0},
      {"4000 back 20 h held at the oldest", 0, 4000, 1, 20, 0, 0},
      {"200 samples", 0, 200, 1, 0, 0, 160},
      {"after rotation", 8640, 100, 2, 0, 8640 - 620, 0},
      {"after rotation, back 1 h", 8640, 100, 2, 1, 8640 + 100 - 1080, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    fs::remove_all(dir_.path() / DataLogStore::kGraphFolder);
    if (c.older > 0) WriteNumbered(GraphFile("26_12_05_01_00_00"), 0, c.older);
    WriteNumbered(GraphFile("26_12_06_01_00_00"), c.older, c.newer);
    const std::vector<LogSample> window = store_.ReadGraphWindow(c.span, c.back);
    ASSERT_EQ(window.size(), c.span * kHour);
    for (std::size_t i = 0; i < c.zeros; ++i) ASSERT_EQ(window[i], LogSample{});
    for (std::size_t i = c.zeros; i < window.size(); ++i)
      ASSERT_EQ(NumberOf(window[i]), c.first_number + (i - c.zeros)) << i;
  }
  EXPECT_EQ(store_.GraphHoursAvailable(), 24);  // 8740 samples stored: 24 hours (capped)
  EXPECT_EQ(store_.GraphScrollLimit(8), 24 - 8);
}

TEST_F(LogFilesTest, GraphRotatesWhenTheNewestFileIsFull) {
  WriteNumbered(GraphFile("26_12_05_01_00_00"), 0, 8640);
  WriteNumbered(GraphFile("26_12_06_01_00_00"), 8640, 8640);
  ASSERT_TRUE(store_.WriteGraphSample(Numbered(17280), At(2, 0)));
  EXPECT_EQ(FileRecords(store_.Graph()), (std::vector<std::uint64_t>{8640, 1}));
  EXPECT_FALSE(fs::exists(GraphFile("26_12_05_01_00_00")));
  EXPECT_EQ(store_.GraphScrollLimit(1), 23);
}

TEST_F(LogFilesTest, TruncatedLastRecordIsIgnoredAndCutOffByTheNextAppend) {
  WriteNumbered(ShortFile("26_12_06_00_00_00"), 0, 10);
  {
    std::ofstream out(ShortFile("26_12_06_00_00_00"), std::ios::binary | std::ios::app);
    out.write("partial", 7);
  }
  EXPECT_EQ(store_.CountShortTermSamples(), 10u);
  EXPECT_EQ(Numbers(store_.ReadShortTermSamples(1, 0)), std::vector<std::uint32_t>{9});
  AppendShort(10, 1);
  EXPECT_EQ(fs::file_size(ShortFile("26_12_06_00_00_00")), 11 * LogSample::kSize);
  EXPECT_EQ(Numbers(store_.ReadShortTermSamples(2, 0)), (std::vector<std::uint32_t>{9, 10}));
}

TEST_F(LogFilesTest, FailingDeleteDuringRotationLosesTheSampleButNeverMakesAThirdFile) {
  AppendShort(0, 288);
  store_.ShortTerm().SetRemover([](const fs::path&) { return false; });
  EXPECT_FALSE(store_.WriteShortTermSample(Numbered(288), At(3, 0)));
  EXPECT_EQ(FileRecords(store_.ShortTerm()), (std::vector<std::uint64_t>{144, 144}));
  store_.ShortTerm().SetRemover(RemoveFile);
  AppendShort(289, 1);
  EXPECT_EQ(FileRecords(store_.ShortTerm()), (std::vector<std::uint64_t>{144, 1}));
  EXPECT_EQ(Numbers(store_.ReadShortTermSamples(2, 0)), (std::vector<std::uint32_t>{287, 289}));
}

TEST_F(LogFilesTest, ClockSetBackAnHourStillDeletesTheOlderFile) {
  WriteNumbered(ShortFile("26_12_06_10_00_00"), 0, 144);
  WriteNumbered(ShortFile("26_12_06_10_24_00"), 144, 144);
  ASSERT_TRUE(store_.WriteShortTermSample(Numbered(288), At(9, 30)));
  const auto files = store_.ShortTerm().Scan();
  ASSERT_EQ(files.size(), 2u);
  EXPECT_EQ(files[0].path, ShortFile("26_12_06_10_24_00"));
  EXPECT_EQ(files[1].path, ShortFile("26_12_06_10_24_01"));
  EXPECT_EQ(Numbers(store_.ReadShortTermSamples(2, 0)), (std::vector<std::uint32_t>{287, 288}));
}

TEST(FileStampTest, NextCrossesMidnightMonthAndYear) {
  EXPECT_EQ((FileStamp{26, 12, 31, 23, 59, 59}.Next()), (FileStamp{27, 1, 1, 0, 0, 0}));
  EXPECT_EQ((FileStamp{28, 2, 28, 23, 59, 59}.Next()), (FileStamp{28, 2, 29, 0, 0, 0}));
  EXPECT_FALSE(FileStamp::Parse("26_12_06_01_05_4x"));
}

}  // namespace
}  // namespace orvandry::logging
