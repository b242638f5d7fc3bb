#include <gtest/gtest.h>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <cstdint>
#include <set>

#include "warnings/shutdown_history_store.h"
#include "warnings_test_support.h"

namespace orvandry::warnings {
namespace {

// Reads one committed record number from the pipe; false at end of file or after the wait.
bool ReadCommitted(int fd, std::uint32_t* number, int timeout_ms) {
  pollfd pfd{fd, POLLIN, 0};
  if (::poll(&pfd, 1, timeout_ms) <= 0) return false;
  std::size_t got = 0;
  auto* bytes = reinterpret_cast<char*>(number);
  while (got < sizeof *number) {
    const ssize_t n = ::read(fd, bytes + got, sizeof *number - got);
    if (n <= 0) return false;
    got += static_cast<std::size_t>(n);
  }
  return true;
}

// A child records shutdowns as fast as it can and reports each one the store confirmed. It is
// killed without warning at a different moment in each round; afterwards the database must open
// cleanly and hold every confirmed record.
TEST(ShutdownStoreCrash, AKilledRecorderNeverLosesACommittedRecordNorDamagesTheFile) {
  testing::TempDir dir;
  ShutdownHistoryStore store(dir.path());
  ASSERT_EQ(store.InitShutdownHistory().status, StoreStatus::kOk);

  std::set<ShutdownTime> confirmed;
  std::uint32_t next = 1;
  for (int round = 0; round < 4; ++round) {
    int fds[2];
    ASSERT_EQ(::pipe(fds), 0);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      ::close(fds[0]);
      ShutdownHistoryStore writer(dir.path());
      for (std::uint32_t n = next;; ++n) {
        const ShutdownRecord record{"0205 - BURNER #1 GRAIN OVERHEAT", "FAN/HEATER #1", n};
        if (!writer.Append(record).ok()) ::_exit(2);
        if (::write(fds[1], &n, sizeof n) != sizeof n) ::_exit(3);
      }
    }
    ::close(fds[1]);
    // Let a few records through, then kill at a moment that moves from round to round.
    std::uint32_t number = 0;
    const std::size_t wanted = 3 + 2 * static_cast<std::size_t>(round);
    for (std::size_t i = 0; i < wanted && ReadCommitted(fds[0], &number, 10'000); ++i)
      confirmed.insert(number);
    ::usleep(static_cast<useconds_t>(700 * round));
    ::kill(child, SIGKILL);
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFSIGNALED(status)) << "the recorder stopped on its own: " << status;
    while (ReadCommitted(fds[0], &number, 0)) confirmed.insert(number);
    ::close(fds[0]);

    ASSERT_EQ(store.InitShutdownHistory().status, StoreStatus::kOk) << "round " << round;
    const ShutdownReadout readout = store.ReadShutdowns(ShutdownOrder::ByTime);
    ASSERT_TRUE(readout.result.ok());
    std::set<ShutdownTime> stored;
    for (const auto& r : readout.records) stored.insert(r.time);
    for (ShutdownTime t : confirmed) EXPECT_TRUE(stored.contains(t)) << "lost record " << t;
    // At most the one record that was committed but not yet reported may be extra.
    EXPECT_LE(stored.size(), confirmed.size() + static_cast<std::size_t>(round) + 1);
    next = static_cast<std::uint32_t>(*stored.rbegin()) + 1;
  }
  EXPECT_GE(confirmed.size(), 3u + 5u + 7u + 9u);
}

}  // namespace
}  // namespace orvandry::warnings
