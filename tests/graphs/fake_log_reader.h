#pragma once

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <vector>

#include "logging/log_reader.h"

namespace orvandry::graphs::testing {

// The logs as plain vectors, oldest first, read the way the LogReader promises.
class FakeLogReader final : public logging::LogReader {
 public:
  std::vector<logging::LogSample> short_term;
  std::vector<logging::LogSample> graph;
  int used_percent = 0;
  mutable int graph_reads = 0;

  std::size_t CountShortTermSamples() const override {
    return std::min<std::size_t>(short_term.size(), 144);
  }
  std::vector<logging::LogSample> ReadShortTermSamples(std::size_t count,
                                                       std::size_t skip) const override {
    const std::size_t n = short_term.size();
    if (n == 0) return {};
    if (count > n) count = n;
    std::size_t end = n - std::min(skip, n);
    if (end < count) end = count;  // moved towards the start so it holds `count`
    return {short_term.begin() + static_cast<std::ptrdiff_t>(end - count),
            short_term.begin() + static_cast<std::ptrdiff_t>(end)};
  }
  int GraphHoursAvailable() const override {
    return std::min(static_cast<int>(graph.size() / kGraphSamplesPerHour), 24);
  }
  int GraphScrollLimit(int span_hours) const override {
    return std::max(static_cast<int>(graph.size() / kGraphSamplesPerHour) - span_hours, 0);
  }
  std::vector<logging::LogSample> ReadGraphWindow(int span_hours,
                                                  int scroll_back_hours) const override {
    ++graph_reads;
    const std::size_t need = static_cast<std::size_t>(span_hours) * kGraphSamplesPerHour;
    std::vector<logging::LogSample> window(need);
    const std::size_t total = graph.size();
    const std::size_t d = std::min(need, total);
    std::size_t back =
        static_cast<std::size_t>(std::max(scroll_back_hours, 0)) * kGraphSamplesPerHour;
    back = std::min(back, total - d);
    std::copy(graph.end() - static_cast<std::ptrdiff_t>(back + d),
              graph.end() - static_cast<std::ptrdiff_t>(back),
              window.begin() + static_cast<std::ptrdiff_t>(need - d));
    return window;
  }
  int LongTermUsedPercent() const override { return used_percent; }
};

// A plausible night of drying, one sample every `seconds_apart` from 18:00 on 6 December: wet corn
// in at 24-27 %, out near 15.5 %, the incoming grain warming from 20 F (frozen) through the night,
// the outgoing grain near 85 F, the dryer's grain near 100 F, the metering roll following the
// moisture. Slow swings over the hours with a little quicker ripple, as a real dryer shows.
inline std::vector<logging::LogSample> Night(std::size_t count, int seconds_apart) {
  std::vector<logging::LogSample> samples(count);
  for (std::size_t i = 0; i < count; ++i) {
    const int t = static_cast<int>(i) * seconds_apart;
    const double h = t / 3600.0;
    const auto at = [](double v) { return static_cast<std::int16_t>(std::lround(v)); };
    logging::LogSample& s = samples[i];
    s.incoming_moisture_x10 = at(255 + 15 * std::sin(h / 1.7) + 3 * std::sin(t / 290.0));
    s.outgoing_moisture_x10 = at(155 + 5 * std::sin(h / 1.3 + 1) + 2 * std::sin(t / 410.0));
    s.incoming_temp_x10 = at(200 + 55 * h + 12 * std::sin(t / 870.0));
    s.outgoing_temp_x10 = at(850 + 50 * std::sin(h / 2) + 15 * std::sin(t / 610.0));
    s.dryer_grain_temp_f = at(100 + 6 * std::sin(h / 1.5) + 1.5 * std::sin(t / 500.0));
    s.meter_output_percent =
        static_cast<std::uint16_t>(at(45 + 10 * std::sin(h / 1.7 + 0.5) + 2 * std::sin(t / 700.0)));
    const int clock = 18 * 3600 + t;
    s.hour = static_cast<std::uint8_t>((clock / 3600) % 24);
    s.minute = static_cast<std::uint8_t>((clock / 60) % 60);
    s.second = static_cast<std::uint8_t>(clock % 60);
    s.month = 12;
    s.day = static_cast<std::uint8_t>(6 + clock / 86400);
  }
  return samples;
}

}  // namespace orvandry::graphs::testing
