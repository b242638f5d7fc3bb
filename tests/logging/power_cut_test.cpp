#include <gtest/gtest.h>
#include <sys/mman.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <csignal>
#include <filesystem>
#include <random>

#include "logging/data_log_store.h"
#include "logging_test_support.h"

namespace orvandry::logging {
namespace {

namespace fs = std::filesystem;
using testing::Numbered;
using testing::NumberOf;
using testing::TempDir;

// The numbers of every sample the log can read, oldest first.
std::vector<std::uint32_t> ReadAll(const DataLogStore& store) {
  std::vector<std::uint32_t> numbers;
  for (const LogSample& s : store.ReadShortTermSamples(1000, 0)) numbers.push_back(NumberOf(s));
  return numbers;
}

// A writer process appends numbered samples as fast as it can (with rotation every 144) and is
// killed at a random moment, 100 times over. After each kill the log must read back as whole
// samples in order without a gap, the last sample the writer finished must be there, and at most
// two files may exist. Each restart continues from the newest sample found.
TEST(PowerCutTest, KilledWriterLeavesEveryLogReadableAndInOrder) {
  TempDir dir;
  auto* finished = static_cast<std::atomic<std::int64_t>*>(
      ::mmap(nullptr, sizeof(std::atomic<std::int64_t>), PROT_READ | PROT_WRITE,
             MAP_SHARED | MAP_ANONYMOUS, -1, 0));
  ASSERT_NE(finished, MAP_FAILED);
  std::mt19937 random(12345);
  std::uniform_int_distribution<int> delay_us(200, 8000);
  DataLogStore reader(dir.path());

  for (int run = 0; run < 100; ++run) {
    SCOPED_TRACE(run);
    const std::vector<std::uint32_t> before = ReadAll(reader);
    const std::uint32_t next = before.empty() ? 0 : before.back() + 1;
    finished->store(-1);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      DataLogStore store(dir.path());
      store.SetSync(false);  // a killed process loses nothing the kernel has taken
      for (std::uint32_t n = next;; ++n) {
        const platform::LocalDateTime now{2026,
                                          12,
                                          6,
                                          static_cast<int>(n / 3600 % 24),
                                          static_cast<int>(n / 60 % 60),
                                          static_cast<int>(n % 60)};
        if (store.WriteShortTermSample(Numbered(n), now)) finished->store(n);
      }
    }
    ::usleep(static_cast<useconds_t>(delay_us(random)));
    ::kill(child, SIGKILL);
    int status = 0;
    ::waitpid(child, &status, 0);

    const std::vector<std::uint32_t> after = ReadAll(reader);
    EXPECT_LE(reader.ShortTerm().Scan().size(), 2u);
    for (std::size_t i = 1; i < after.size(); ++i) ASSERT_EQ(after[i], after[i - 1] + 1) << i;
    const std::int64_t done = finished->load();
    if (done >= 0) {
      ASSERT_FALSE(after.empty());
      // The finished sample is there; only the one being written may be missing.
      EXPECT_GE(static_cast<std::int64_t>(after.back()), done);
      EXPECT_LE(static_cast<std::int64_t>(after.back()), done + 1);
    }
  }
  // The writer got through many rotations on the way.
  EXPECT_GT(ReadAll(reader).back(), 10 * DataLogStore::kShortTermFileSamples);
  ::munmap(finished, sizeof(std::atomic<std::int64_t>));
}

}  // namespace
}  // namespace orvandry::logging
