#pragma once

#include <filesystem>

#include "logging/log_files.h"
#include "logging/log_reader.h"
#include "logging/log_sample.h"
#include "logging/long_term_log.h"

namespace orvandry::logging {

// The display's three data logs on the internal disk, and what the charts and graphs read of them.
// Every operation opens and closes its files; nothing is held open between calls. UI thread only.
class DataLogStore final : public LogReader {
 public:
  // The short-term log: about a day at the default interval, two files of 144 samples.
  static constexpr const char* kShortTermFolder = "ShortTermDataLog";
  static constexpr const char* kShortTermPrefix = "DATA_LOG_24HR";
  static constexpr std::uint64_t kShortTermFileSamples = 144;
  // The graph log: one sample per 10 running seconds, 24 hours (8640 samples) per file.
  static constexpr const char* kGraphFolder = "GraphDataLog";
  static constexpr const char* kGraphPrefix = "GRAPH_DATA_LOG_24HR";
  static constexpr std::uint64_t kGraphFileSamples = 24 * kGraphSamplesPerHour;

  explicit DataLogStore(const std::filesystem::path& data_dir);

  RotatingLog& ShortTerm() { return short_term_; }
  RotatingLog& Graph() { return graph_; }
  LongTermLog& LongTerm() { return long_term_; }
  const LongTermLog& LongTerm() const { return long_term_; }

  bool WriteShortTermSample(const LogSample& sample, const platform::LocalDateTime& now);
  bool WriteGraphSample(const LogSample& sample, const platform::LocalDateTime& now);
  // CLEAR TABLE: both files of the short-term log.
  bool DeleteShortTermLog() { return short_term_.DeleteAll(); }

  // Flush every append to the disk (the default).
  void SetSync(bool sync);

  // LogReader
  std::size_t CountShortTermSamples() const override;
  std::vector<LogSample> ReadShortTermSamples(std::size_t count, std::size_t skip) const override;
  int GraphHoursAvailable() const override;
  int GraphScrollLimit(int span_hours) const override;
  std::vector<LogSample> ReadGraphWindow(int span_hours, int scroll_back_hours) const override;
  int LongTermUsedPercent() const override { return long_term_.UsedPercent(); }

 private:
  RotatingLog short_term_;
  RotatingLog graph_;
  LongTermLog long_term_;
};

}  // namespace orvandry::logging
