#pragma once

#include <grp.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <system_error>
#include <vector>

#include "temp_dir.h"

#include "warnings/shutdown_clock.h"
#include "warnings/shutdown_time.h"

namespace orvandry::warnings::testing {

using orvandry::testing::TempDir;

// A clock the test moves by hand: both readings advance together.
class FakeClock final : public ShutdownClock {
 public:
  explicit FakeClock(LocalDateTime start = {2026, 12, 6, 1, 5, 0, 0})
      : local_(ToShutdownTime(start)) {}

  std::int64_t SteadySeconds() const override { return steady_; }
  LocalDateTime LocalNow() const override { return FromShutdownTime(local_); }

  void Advance(std::int64_t seconds) {
    steady_ += seconds;
    local_ += static_cast<ShutdownTime>(seconds) * kTicksPerSecond;
  }

 private:
  std::int64_t steady_ = 5000;
  ShutdownTime local_;
};

// The source tree, for data kept beside the tests: ORVANDRY_SOURCE_DIR in the environment when
// the suite runs from elsewhere, else where it was built from.
inline std::filesystem::path SourceDir() {
  const char* from_environment = std::getenv("ORVANDRY_SOURCE_DIR");
  return from_environment != nullptr ? from_environment : ORVANDRY_SOURCE_DIR;
}

inline std::string ReadFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

inline void WriteFile(const std::filesystem::path& path, std::string_view bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

// Runs `body` in a forked child and hands back what it returned: an empty string when all was as
// expected, else what was not. A child that dies says so. `unprivileged` drops the powers of root
// first (the child runs as "nobody" when the suite runs as root), so permission bits bind as they
// do for the display.
inline std::string RunInChild(const std::function<std::string()>& body, bool unprivileged) {
  int pipe_fds[2];
  if (::pipe(pipe_fds) != 0) return "no pipe";
  const pid_t child = ::fork();
  if (child < 0) return "no fork";
  if (child == 0) {
    ::close(pipe_fds[0]);
    std::string problems;
    if (unprivileged && ::geteuid() == 0) {
      constexpr uid_t kNobody = 65534;
      if (::setgroups(0, nullptr) != 0 || ::setgid(kNobody) != 0 || ::setuid(kNobody) != 0)
        problems = "cannot drop root";
    }
    if (problems.empty()) problems = body();
    const ssize_t written = ::write(pipe_fds[1], problems.data(), problems.size());
    ::_exit(written == static_cast<ssize_t>(problems.size()) ? 0 : 1);
  }
  ::close(pipe_fds[1]);
  std::string out;
  char buffer[512];
  for (ssize_t n; (n = ::read(pipe_fds[0], buffer, sizeof buffer)) > 0;)
    out.append(buffer, static_cast<std::size_t>(n));
  ::close(pipe_fds[0]);
  int status = 0;
  ::waitpid(child, &status, 0);
  if (!WIFEXITED(status))
    return out + " [the child died of signal " + std::to_string(WTERMSIG(status)) + "]";
  return out;
}

inline std::string RunUnprivileged(const std::function<std::string()>& body) {
  return RunInChild(body, /*unprivileged=*/true);
}

// The b-tree pages of an SQLite file whose page type byte is `type` (0x0A index leaf, 0x0D table
// leaf), in file order, numbered from 1 as SQLite does.
inline std::vector<std::uint32_t> PagesOfType(const std::filesystem::path& db, std::uint8_t type) {
  const std::string bytes = ReadFile(db);
  const std::size_t page_size =
      (static_cast<std::uint8_t>(bytes.at(16)) << 8) | static_cast<std::uint8_t>(bytes.at(17));
  std::vector<std::uint32_t> pages;
  for (std::size_t start = 0; start + page_size <= bytes.size(); start += page_size) {
    const std::size_t header = start == 0 ? 100 : start;  // page 1 starts with the file header
    if (static_cast<std::uint8_t>(bytes[header]) == type)
      pages.push_back(static_cast<std::uint32_t>(start / page_size + 1));
  }
  return pages;
}

// Overwrites part of one page of an SQLite file in place.
inline void OverwritePage(const std::filesystem::path& db, std::uint32_t page, std::size_t offset,
                          std::string_view bytes) {
  const std::string all = ReadFile(db);
  const std::size_t page_size =
      (static_cast<std::uint8_t>(all.at(16)) << 8) | static_cast<std::uint8_t>(all.at(17));
  std::fstream file(db, std::ios::binary | std::ios::in | std::ios::out);
  file.seekp(static_cast<std::streamoff>((page - 1) * page_size + offset));
  file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

}  // namespace orvandry::warnings::testing
