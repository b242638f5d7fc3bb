// The data logs at their largest: the graph log with both 24-hour files full, read as the graph
// reads an 8-hour window; and the long-term log at 5 MiB copied to a card folder with its fsync.
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <vector>

#include "logging/card_copy.h"
#include "logging/data_log_store.h"

namespace orvandry::logging {
namespace {

namespace fs = std::filesystem;

// One filled data folder per run, removed at exit.
class FilledLogs {
 public:
  FilledLogs() {
    std::string pattern = fs::temp_directory_path() / "orvandry-bench-XXXXXX";
    if (::mkdtemp(pattern.data()) == nullptr) std::abort();
    dir_ = pattern;
    fs::create_directory(Card());
    store_ = std::make_unique<DataLogStore>(dir_);
    // Two full graph files: 48 hours of samples, one per 10 s.
    const char* stamps[] = {"26_12_05_00_00_00", "26_12_06_00_00_00"};
    std::uint32_t n = 0;
    for (const char* stamp : stamps) {
      fs::create_directories(dir_ / DataLogStore::kGraphFolder);
      std::ofstream out(dir_ / DataLogStore::kGraphFolder /
                            (std::string(DataLogStore::kGraphPrefix) + stamp + ".DAT"),
                        std::ios::binary);
      for (std::uint64_t i = 0; i < DataLogStore::kGraphFileSamples; ++i, ++n) {
        LogSample s;
        s.dryer_grain_temp_f = static_cast<std::int16_t>(n % 200);
        s.hour = static_cast<std::uint8_t>(n / 360 % 24);
        const auto bytes = s.Encode();
        out.write(reinterpret_cast<const char*>(bytes.data()), bytes.size());
      }
    }
    // A full long-term log.
    const fs::path log = store_->LongTerm().Path();
    fs::create_directories(log.parent_path());
    std::vector<char> bytes(LongTermLog::kCapacityBytes);
    for (std::size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<char>(i * 7);
    std::ofstream(log, std::ios::binary)
        .write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  }
  ~FilledLogs() {
    std::error_code ec;
    fs::remove_all(dir_, ec);
  }
  DataLogStore& store() { return *store_; }
  fs::path Card() const { return dir_ / "card"; }

 private:
  fs::path dir_;
  std::unique_ptr<DataLogStore> store_;
};

FilledLogs& Logs() {
  static FilledLogs logs;
  return logs;
}

// The 8-hour window, scrolled back 20 hours: it spans both files.
void BM_ReadGraphWindow8Hours(benchmark::State& state) {
  DataLogStore& store = Logs().store();
  for (auto _ : state) {
    auto window = store.ReadGraphWindow(8, static_cast<int>(state.range(0)));
    benchmark::DoNotOptimize(window.data());
  }
}
BENCHMARK(BM_ReadGraphWindow8Hours)->Arg(0)->Arg(20)->Unit(benchmark::kMicrosecond);

// The 5 MiB export with its fsync, each to a new name (a card never has the name yet).
void BM_ExportFullLongTermLog(benchmark::State& state) {
  FilledLogs& logs = Logs();
  int n = 0;
  for (auto _ : state) {
    const std::string name = "LongTermDataLog" + std::to_string(n++) + ".DAT";
    if (!CopyToCard(logs.store().LongTerm().Path(), logs.Card(), name).ok) std::abort();
    state.PauseTiming();
    fs::remove(logs.Card() / name);
    state.ResumeTiming();
  }
}
BENCHMARK(BM_ExportFullLongTermLog)->Unit(benchmark::kMillisecond)->Iterations(20);

}  // namespace
}  // namespace orvandry::logging

BENCHMARK_MAIN();
