// The shutdown history screen at its largest: 65535 stored shutdowns (all the screen can show),
// read in each order and turned into list rows, and exported to a card folder.
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <cstdlib>
#include <filesystem>
#include <vector>

#include "warnings/history_export.h"
#include "warnings/history_rows.h"
#include "warnings/shutdown_history_store.h"
#include "warnings/warning_text_table.h"

namespace orvandry::warnings {
namespace {

constexpr std::size_t kRecords = ShutdownHistoryStore::kMaxReadBack;

// One filled history per run, removed at exit.
class FilledHistory {
 public:
  FilledHistory() {
    std::string pattern = std::filesystem::temp_directory_path() / "orvandry-bench-XXXXXX";
    if (::mkdtemp(pattern.data()) == nullptr) std::abort();
    dir_ = pattern;
    std::filesystem::create_directory(usb());
    store_ = std::make_unique<ShutdownHistoryStore>(dir_);
    if (!store_->InitShutdownHistory().ok()) std::abort();

    // Every real warning code in turn, one shutdown about every 40 minutes over several years.
    std::vector<WarningCode> codes;
    for (unsigned node = 1; node < WarningTextTable::kNodeCount; ++node)
      for (unsigned id = 1; id < WarningTextTable::kWarningsPerNode; ++id)
        if (!WarningTextTable::Text(static_cast<std::uint8_t>(node), static_cast<std::uint8_t>(id))
                 .empty())
          codes.push_back(
              MakeWarningCode(static_cast<std::uint8_t>(node), static_cast<std::uint8_t>(id)));
    std::vector<ShutdownRecord> records(kRecords);
    const ShutdownTime start = ToShutdownTime({2020, 1, 1, 0, 0, 0, 0});
    for (std::size_t i = 0; i < kRecords; ++i) {
      const WarningCode code = codes[(i * 7) % codes.size()];
      records[i] =
          ShutdownRecord{std::string(WarningText(code)), std::string(NodeName(NodeIdOf(code))),
                         start + i * 2'400 * kTicksPerSecond};
    }
    if (!store_->AppendAll(records).ok()) std::abort();
  }
  ~FilledHistory() {
    std::error_code ec;
    std::filesystem::remove_all(dir_, ec);
  }

  ShutdownHistoryStore& store() { return *store_; }
  std::filesystem::path usb() const { return dir_ / "usb"; }

 private:
  std::filesystem::path dir_;
  std::unique_ptr<ShutdownHistoryStore> store_;
};

FilledHistory& History() {
  static FilledHistory history;
  return history;
}

void BM_FillHistoryList(benchmark::State& state) {
  const auto order = static_cast<ShutdownOrder>(state.range(0));
  ShutdownHistoryStore& store = History().store();
  for (auto _ : state) {
    const ShutdownReadout readout = store.ReadShutdowns(order);
    std::vector<HistoryRow> rows = BuildHistoryRows(readout.records);
    if (rows.size() != kRecords) state.SkipWithError("short read");
    benchmark::DoNotOptimize(rows.data());
  }
  state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * kRecords));
}
BENCHMARK(BM_FillHistoryList)
    ->ArgName("order")
    ->Arg(static_cast<int>(ShutdownOrder::ByWarning))
    ->Arg(static_cast<int>(ShutdownOrder::ByNode))
    ->Arg(static_cast<int>(ShutdownOrder::ByTime))
    ->Unit(benchmark::kMillisecond);

void BM_ExportHistory(benchmark::State& state) {
  FilledHistory& history = History();
  for (auto _ : state) {
    const ExportResult result = ExportShutdownHistory(history.store(), history.usb());
    if (!result.ok() || result.records_written != kRecords) state.SkipWithError("export failed");
  }
  state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * kRecords));
}
BENCHMARK(BM_ExportHistory)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace orvandry::warnings

BENCHMARK_MAIN();
