#pragma once

#include <span>
#include <string>
#include <vector>

#include "warnings/shutdown_history_store.h"

namespace orvandry::warnings {

// The texts of one row of the shutdown history list, in column order.
struct HistoryRow {
  std::string shutdown_id;  // the warning text
  std::string node_id;      // the node name
  std::string date;         // "Dec 06, 2026"
  std::string time;         // "1:05 AM"

  friend bool operator==(const HistoryRow&, const HistoryRow&) = default;
};

// "MMM dd, yyyy" with English month abbreviations whatever the locale: the history is read by
// service technicians and exported to files that must compare across panels.
std::string FormatHistoryDate(const LocalDateTime& local);

// "h:mm AM" / "h:mm PM": a 12-hour clock without a leading zero (midnight is 12:00 AM).
std::string FormatHistoryTime(const LocalDateTime& local);

HistoryRow MakeHistoryRow(const ShutdownRecord& record);

// The list's rows for records in the order they were read: each record goes in at the top, so
// the last one read is the first row (in time order the newest shutdown is on top).
std::vector<HistoryRow> BuildHistoryRows(std::span<const ShutdownRecord> records_in_read_order);

// One line of the export file: "text;node;date;time;" and a line feed.
std::string FormatExportLine(const ShutdownRecord& record);

}  // namespace orvandry::warnings
