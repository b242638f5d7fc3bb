#pragma once

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <system_error>

#include "warnings/shutdown_clock.h"
#include "warnings/shutdown_time.h"

namespace orvandry::warnings::testing {

// A fresh folder under the temporary directory, removed with everything in it at the end.
class TempDir {
 public:
  TempDir() {
    std::string pattern = (std::filesystem::temp_directory_path() / "orvandry-warnings-XXXXXX");
    if (::mkdtemp(pattern.data()) == nullptr) std::abort();
    path_ = pattern;
  }
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  ~TempDir() {
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
  }
  const std::filesystem::path& path() const { return path_; }

 private:
  std::filesystem::path path_;
};

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

}  // namespace orvandry::warnings::testing
