#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "logging/log_sample.h"

namespace orvandry::logging {

// What the charts and graphs read from the logs. Every call reads the files afresh (nothing is kept
// open between calls) and never deletes or changes a file: painting only reads. UI thread only.
class LogReader {
 public:
  virtual ~LogReader() = default;

  // Short-term log: the number of whole samples stored (at most 144), and up to `count`
  // consecutive samples, oldest first, the last one being `skip` samples before the newest.
  virtual std::size_t CountShortTermSamples() const = 0;
  virtual std::vector<LogSample> ReadShortTermSamples(std::size_t count,
                                                      std::size_t skip) const = 0;

  // Graph log: one sample per 10 running seconds, 360 per hour of graph.
  static constexpr std::size_t kGraphSamplesPerHour = 360;
  // Whole hours stored, at most 24.
  virtual int GraphHoursAvailable() const = 0;
  // Whole hours stored minus the span, not below 0: the largest scroll-back for that span.
  virtual int GraphScrollLimit(int span_hours) const = 0;
  // The window of span_hours x 360 samples ending scroll_back_hours before the newest sample (the
  // scroll-back limited to what is stored). Always span_hours x 360 entries: when less is stored
  // the samples fill the end and the start stays zero.
  virtual std::vector<LogSample> ReadGraphWindow(int span_hours, int scroll_back_hours) const = 0;

  // Long-term log: the used space in whole percent (0-100) as last computed.
  virtual int LongTermUsedPercent() const = 0;
};

}  // namespace orvandry::logging
