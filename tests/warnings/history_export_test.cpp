#include "warnings/history_export.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <vector>

#include "csv_reader.h"
#include "warnings/history_texts.h"
#include "warnings_test_support.h"

namespace orvandry::warnings {
namespace {

using testing::ReadFile;
using testing::WriteFile;
namespace texts = history_texts;

class HistoryExportTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(store_.InitShutdownHistory().ok());
    std::filesystem::create_directory(usb_);
  }
  void Add(std::string text, std::string node, LocalDateTime when) {
    ASSERT_TRUE(store_.Append({std::move(text), std::move(node), ToShutdownTime(when)}).ok());
  }
  std::vector<std::string> CardFiles() const {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(usb_))
      names.push_back(entry.path().filename().string());
    return names;
  }

  testing::TempDir dir_;
  ShutdownHistoryStore store_{dir_.path()};
  std::filesystem::path usb_ = dir_.path() / "usb";
  std::filesystem::path exported_ = usb_ / "DryerShutdownHistory.txt";
};

TEST_F(HistoryExportTest, WritesOneLinePerShutdownOldestFirstAndReplacesAnOlderCopy) {
  Add("0E05 - MAIN I/O - REAR DISCHARGE DOOR OPENED", "MAIN I/O", {2026, 12, 7, 13, 45, 0, 0});
  Add("0205 - BURNER #1 GRAIN OVERHEAT", "FAN/HEATER #1", {2026, 12, 6, 1, 5, 0, 0});
  Add("0F02 - MAX DRYING TIME EXCEEDED", "MOISTURE CONT", {2027, 1, 2, 0, 30, 0, 0});

  const ExportResult first = ExportShutdownHistory(store_, usb_);
  ASSERT_EQ(first.status, ExportStatus::kOk) << first.message;
  EXPECT_EQ(first.records_written, 3u);
  EXPECT_EQ(ReadFile(exported_),
            "0205 - BURNER #1 GRAIN OVERHEAT;FAN/HEATER #1;Dec 06, 2026;1:05 AM;\n"
            "0E05 - MAIN I/O - REAR DISCHARGE DOOR OPENED;MAIN I/O;Dec 07, 2026;1:45 PM;\n"
            "0F02 - MAX DRYING TIME EXCEEDED;MOISTURE CONT;Jan 02, 2027;12:30 AM;\n");

  // A shorter history replaces the file completely, and an empty one leaves it empty.
  ASSERT_TRUE(store_.ClearShutdownHistory().ok());
  Add("0101 - DISPLAY I/O NETWORK CONNECTION FAILED", "DISPLAY I/O", {2027, 2, 1, 9, 0, 0, 0});
  ASSERT_TRUE(ExportShutdownHistory(store_, usb_).ok());
  EXPECT_EQ(ReadFile(exported_),
            "0101 - DISPLAY I/O NETWORK CONNECTION FAILED;DISPLAY I/O;Feb 01, 2027;9:00 AM;\n");
  ASSERT_TRUE(store_.ClearShutdownHistory().ok());
  EXPECT_EQ(ExportShutdownHistory(store_, usb_).records_written, 0u);
  EXPECT_EQ(ReadFile(exported_), "");
  std::vector<std::string> files = CardFiles();
  std::sort(files.begin(), files.end());
  EXPECT_EQ(files,
            (std::vector<std::string>{"DryerShutdownHistory.csv", "DryerShutdownHistory.txt"}));
}

// The CSV beside the text export reads back, through a strict CSV parser, as the same records:
// texts with commas, quotes and line breaks survive, times are ISO 8601.
TEST_F(HistoryExportTest, TheCsvBesideTheExportReadsBackAsTheSameRecords) {
  Add("0E05 - MAIN I/O - REAR DISCHARGE DOOR OPENED", "MAIN I/O", {2026, 12, 7, 13, 45, 9, 0});
  Add("0205 - BURNER #1, \"HIGH\" LIMIT", "FAN/HEATER #1", {2026, 12, 6, 1, 5, 0, 0});
  Add("TWO\nLINES", "", {2027, 1, 2, 0, 30, 0, 0});
  ASSERT_TRUE(ExportShutdownHistory(store_, usb_).ok());
  const auto rows = orvandry::testing::ParseCsv(ReadFile(usb_ / "DryerShutdownHistory.csv"));
  ASSERT_TRUE(rows.has_value());
  EXPECT_EQ(*rows,
            (orvandry::testing::CsvRows{
                {"time (local)", "node", "warning"},
                {"2026-12-06T01:05:00", "FAN/HEATER #1", "0205 - BURNER #1, \"HIGH\" LIMIT"},
                {"2026-12-07T13:45:09", "MAIN I/O", "0E05 - MAIN I/O - REAR DISCHARGE DOOR OPENED"},
                {"2027-01-02T00:30:00", "", "TWO\nLINES"},
            }));
}

TEST_F(HistoryExportTest, AMissingCardIsReportedAndNotCreated) {
  const std::filesystem::path missing = dir_.path() / "no-card";
  EXPECT_EQ(ExportShutdownHistory(store_, missing).status, ExportStatus::kCardMissing);
  EXPECT_FALSE(std::filesystem::exists(missing));
  // A file where the card's folder should be is no card either.
  EXPECT_FALSE(UsbCardPresent(store_.path()));
}

TEST_F(HistoryExportTest, AFileThatCannotBeCreatedOrRenamedIsReportedAndLeavesNoPartialFile) {
  Add("0205 - BURNER #1 GRAIN OVERHEAT", "FAN/HEATER #1", {2026, 12, 6, 1, 5, 0, 0});
  WriteFile(exported_, "previous export\n");
  std::filesystem::create_directory(usb_ / texts::kExportTempFileName);  // blocks the write
  const ExportResult blocked = ExportShutdownHistory(store_, usb_);
  EXPECT_EQ(blocked.status, ExportStatus::kCannotCreate);
  EXPECT_TRUE(blocked.message.starts_with(texts::kCannotCreateText)) << blocked.message;
  EXPECT_EQ(ReadFile(exported_), "previous export\n");

  // A final name that cannot be replaced: the temporary file does not stay behind.
  std::filesystem::remove_all(usb_);
  std::filesystem::create_directories(exported_ / "something");
  EXPECT_EQ(ExportShutdownHistory(store_, usb_).status, ExportStatus::kCannotCreate);
  EXPECT_EQ(CardFiles(), (std::vector<std::string>{"DryerShutdownHistory.txt"}));
  EXPECT_TRUE(std::filesystem::is_directory(exported_));
}

// A write beyond the file-size limit fails like a full card: the display carries on (SIGXFSZ is
// ignored where the process starts) and nothing is left on the card.
TEST_F(HistoryExportTest, AWriteBeyondTheFileSizeLimitIsReportedAndLeavesNoFile) {
  // 2000 lines are about 150 KB. The child may write at most 64 KB per file, as a full card
  // would allow; file size limits stop root as well, unlike permission bits.
  std::vector<ShutdownRecord> many(2000, {"0205 - BURNER #1 GRAIN OVERHEAT", "FAN/HEATER #1",
                                          ToShutdownTime({2026, 1, 1, 0, 0, 0, 0})});
  ASSERT_TRUE(store_.AppendAll(many).ok());

  const pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    IgnoreFileSizeSignal();
    const rlimit limit{64 * 1024, 64 * 1024};
    ::setrlimit(RLIMIT_FSIZE, &limit);
    const ExportResult result = ExportShutdownHistory(store_, usb_);
    const bool message_ok = result.message.starts_with(texts::kWriteFailedText) &&
                            result.message.find("File too large") != std::string::npos;
    ::_exit(result.status == ExportStatus::kWriteFailed && message_ok ? 0 : 1);
  }
  int status = 0;
  ASSERT_EQ(::waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFEXITED(status)) << "ended by signal " << WTERMSIG(status);
  EXPECT_EQ(WEXITSTATUS(status), 0) << "the export did not report the failed write";
  EXPECT_TRUE(CardFiles().empty());

  // Without the limit the same export goes through.
  EXPECT_EQ(ExportShutdownHistory(store_, usb_).records_written, 2000u);
}

TEST_F(HistoryExportTest, AStoreThatCannotBeReadWritesNothing) {
  ShutdownHistoryStore absent(dir_.path() / "no-disk");
  WriteFile(exported_, "previous export\n");
  const ExportResult result = ExportShutdownHistory(absent, usb_);
  EXPECT_EQ(result.status, ExportStatus::kStoreFailed);
  EXPECT_EQ(result.message, "ERROR: CeMountDBVol failed (14)");
  EXPECT_EQ(ReadFile(exported_), "previous export\n");
}

}  // namespace
}  // namespace orvandry::warnings
