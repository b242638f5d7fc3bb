#include "logging/data_log_store.h"

#include <algorithm>

namespace orvandry::logging {

namespace {

std::vector<LogSample> Decode(const std::vector<std::uint8_t>& bytes) {
  std::vector<LogSample> samples;
  samples.reserve(bytes.size() / LogSample::kSize);
  for (std::size_t at = 0; at + LogSample::kSize <= bytes.size(); at += LogSample::kSize)
    samples.push_back(LogSample::Decode(bytes.data() + at));
  return samples;
}

}  // namespace

DataLogStore::DataLogStore(const std::filesystem::path& data_dir)
    : short_term_(data_dir / kShortTermFolder, kShortTermPrefix, LogSample::kSize,
                  kShortTermFileSamples),
      graph_(data_dir / kGraphFolder, kGraphPrefix, LogSample::kSize, kGraphFileSamples),
      long_term_(data_dir) {}

void DataLogStore::SetSync(bool sync) {
  short_term_.SetSync(sync);
  graph_.SetSync(sync);
  long_term_.SetSync(sync);
}

bool DataLogStore::WriteShortTermSample(const LogSample& sample,
                                        const platform::LocalDateTime& now) {
  return short_term_.Append(sample.Encode(), now);
}

bool DataLogStore::WriteGraphSample(const LogSample& sample, const platform::LocalDateTime& now) {
  return graph_.Append(sample.Encode(), now);
}

std::size_t DataLogStore::CountShortTermSamples() const {
  return static_cast<std::size_t>(std::min(short_term_.CountRecords(), kShortTermFileSamples));
}

std::vector<LogSample> DataLogStore::ReadShortTermSamples(std::size_t count,
                                                          std::size_t skip) const {
  return Decode(short_term_.ReadWindow(count, skip));
}

int DataLogStore::GraphHoursAvailable() const {
  return static_cast<int>(
      std::min<std::uint64_t>(graph_.CountRecords() / kGraphSamplesPerHour, 24));
}

int DataLogStore::GraphScrollLimit(int span_hours) const {
  const auto hours = static_cast<int>(graph_.CountRecords() / kGraphSamplesPerHour);
  return std::max(0, hours - span_hours);
}

std::vector<LogSample> DataLogStore::ReadGraphWindow(int span_hours, int scroll_back_hours) const {
  const std::size_t need = static_cast<std::size_t>(std::max(span_hours, 0)) * kGraphSamplesPerHour;
  std::vector<LogSample> window(need);
  const std::vector<LogSample> read = Decode(graph_.ReadWindow(
      need, static_cast<std::uint64_t>(std::max(scroll_back_hours, 0)) * kGraphSamplesPerHour));
  // The newest sample last; less than the span leaves the start zero.
  std::copy(read.begin(), read.end(), window.end() - static_cast<std::ptrdiff_t>(read.size()));
  return window;
}

}  // namespace orvandry::logging
