#include <gtest/gtest.h>
#include <sys/mman.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <atomic>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>

#include "logging/data_log_store.h"
#include "logging_test_support.h"

namespace orvandry::logging {
namespace {

namespace fs = std::filesystem;
using testing::Numbered;
using testing::NumberOf;
using testing::TempDir;

enum Log { kShortTerm, kGraph, kLongTerm, kLogs };
using Numbers = std::array<std::vector<std::uint32_t>, kLogs>;

LongTermRecord NumberedRecord(std::uint32_t n) {
  return {static_cast<std::uint8_t>(n >> 24), static_cast<std::uint8_t>(n >> 16),
          static_cast<std::uint8_t>(n >> 8), static_cast<std::uint8_t>(n)};
}

std::vector<std::uint32_t> SampleNumbers(const std::vector<std::uint8_t>& bytes) {
  std::vector<std::uint32_t> numbers;
  for (std::size_t at = 0; at < bytes.size(); at += LogSample::kSize)
    numbers.push_back(NumberOf(LogSample::Decode(bytes.data() + at)));
  return numbers;
}

// The numbers of every whole record each log can read, oldest first.
Numbers ReadAll(DataLogStore& store) {
  Numbers numbers;
  numbers[kShortTerm] = SampleNumbers(store.ShortTerm().ReadWindow(1000, 0));
  numbers[kGraph] = SampleNumbers(store.Graph().ReadWindow(100000, 0));
  std::ifstream in(store.LongTerm().Path(), std::ios::binary);
  const std::vector<char> bytes{std::istreambuf_iterator<char>(in), {}};
  for (std::size_t at = 0; at + 16 <= bytes.size(); at += 16) {
    const auto* b = reinterpret_cast<const std::uint8_t*>(bytes.data() + at);
    numbers[kLongTerm].push_back((std::uint32_t{b[0]} << 24) | (b[1] << 16) | (b[2] << 8) | b[3]);
  }
  return numbers;
}

// A writer process appends numbered records to the three logs in turn as fast as it can (the
// short-term log rotating every 144) and is killed at a random moment, 100 times over. After each
// kill every log must read back as whole records in order without a gap, the last record the
// writer finished must be there (only the one being written may be lost), and each rotating log
// may hold at most two files. Each restart continues every log from its newest record.
TEST(PowerCutTest, KilledWriterLeavesEveryLogReadableAndInOrder) {
  TempDir dir;
  auto* finished = static_cast<std::atomic<std::int64_t>*>(
      ::mmap(nullptr, sizeof(std::atomic<std::int64_t>) * kLogs, PROT_READ | PROT_WRITE,
             MAP_SHARED | MAP_ANONYMOUS, -1, 0));
  ASSERT_NE(finished, MAP_FAILED);
  std::mt19937 random(12345);
  std::uniform_int_distribution<int> delay_us(200, 8000);
  DataLogStore reader(dir.path());

  // At least 100 kills, and more until the writer has been through ten short-term rotations (a
  // sanitizer build writes more slowly between two kills).
  const auto rotated_enough = [&reader] {
    const Numbers n = ReadAll(reader);
    return !n[kShortTerm].empty() &&
           n[kShortTerm].back() > 10 * DataLogStore::kShortTermFileSamples;
  };
  for (int run = 0; run < 100 || (run < 2000 && !rotated_enough()); ++run) {
    SCOPED_TRACE(run);
    const Numbers before = ReadAll(reader);
    for (int log = 0; log < kLogs; ++log) finished[log].store(-1);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      DataLogStore store(dir.path());
      store.SetSync(false);  // a killed process loses nothing the kernel has taken
      std::array<std::uint32_t, kLogs> next{};
      for (int log = 0; log < kLogs; ++log)
        next[log] = before[log].empty() ? 0 : before[log].back() + 1;
      for (;;) {
        const std::uint32_t n = next[kShortTerm];
        const platform::LocalDateTime now{2026,
                                          12,
                                          6,
                                          static_cast<int>(n / 3600 % 24),
                                          static_cast<int>(n / 60 % 60),
                                          static_cast<int>(n % 60)};
        if (store.WriteShortTermSample(Numbered(next[kShortTerm]), now))
          finished[kShortTerm].store(next[kShortTerm]++);
        if (store.WriteGraphSample(Numbered(next[kGraph]), now))
          finished[kGraph].store(next[kGraph]++);
        if (store.LongTerm().Append(NumberedRecord(next[kLongTerm]), true))
          finished[kLongTerm].store(next[kLongTerm]++);
      }
    }
    ::usleep(static_cast<useconds_t>(delay_us(random)));
    ::kill(child, SIGKILL);
    int status = 0;
    ::waitpid(child, &status, 0);

    const Numbers after = ReadAll(reader);
    EXPECT_LE(reader.ShortTerm().Scan().size(), 2u);
    EXPECT_LE(reader.Graph().Scan().size(), 2u);
    for (int log = 0; log < kLogs; ++log) {
      SCOPED_TRACE(log);
      const std::vector<std::uint32_t>& n = after[log];
      for (std::size_t i = 1; i < n.size(); ++i) ASSERT_EQ(n[i], n[i - 1] + 1) << i;
      const std::int64_t done = finished[log].load();
      if (done < 0) continue;
      ASSERT_FALSE(n.empty());
      EXPECT_GE(static_cast<std::int64_t>(n.back()), done);
      EXPECT_LE(static_cast<std::int64_t>(n.back()), done + 1);
    }
  }
  EXPECT_TRUE(rotated_enough()) << "the writer got through many rotations on the way";
  ::munmap(finished, sizeof(std::atomic<std::int64_t>) * kLogs);
}

}  // namespace
}  // namespace orvandry::logging
