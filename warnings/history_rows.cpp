#include "warnings/history_rows.h"

#include <cstdio>

namespace orvandry::warnings {
namespace {

constexpr const char* kMonthAbbreviations[12] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                                 "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};

}  // namespace

std::string FormatHistoryDate(const LocalDateTime& local) {
  const int month = local.month >= 1 && local.month <= 12 ? local.month : 1;
  char text[48];
  std::snprintf(text, sizeof text, "%s %02d, %d", kMonthAbbreviations[month - 1], local.day,
                local.year);
  return text;
}

std::string FormatHistoryTime(const LocalDateTime& local) {
  const int hour12 = local.hour % 12 == 0 ? 12 : local.hour % 12;
  char text[48];
  std::snprintf(text, sizeof text, "%d:%02d %s", hour12, local.minute,
                local.hour < 12 ? "AM" : "PM");
  return text;
}

HistoryRow MakeHistoryRow(const ShutdownRecord& record) {
  const LocalDateTime local = FromShutdownTime(record.time);
  return HistoryRow{record.warning_text, record.node_name, FormatHistoryDate(local),
                    FormatHistoryTime(local)};
}

std::vector<HistoryRow> BuildHistoryRows(std::span<const ShutdownRecord> records_in_read_order) {
  std::vector<HistoryRow> rows;
  rows.reserve(records_in_read_order.size());
  for (auto it = records_in_read_order.rbegin(); it != records_in_read_order.rend(); ++it)
    rows.push_back(MakeHistoryRow(*it));
  return rows;
}

std::string FormatExportLine(const ShutdownRecord& record) {
  const LocalDateTime local = FromShutdownTime(record.time);
  std::string line;
  line.reserve(record.warning_text.size() + record.node_name.size() + 32);
  line += record.warning_text;
  line += ';';
  line += record.node_name;
  line += ';';
  line += FormatHistoryDate(local);
  line += ';';
  line += FormatHistoryTime(local);
  line += ";\n";
  return line;
}

}  // namespace orvandry::warnings
