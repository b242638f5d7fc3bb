#include "logging/log_csv.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <vector>

#include "logging/long_term_log.h"

namespace orvandry::logging {
namespace {

// Tenths of a degree F as shown in the panel's units, one decimal.
std::string Temperature(int tenths_f, bool si) {
  const int tenths = si ? (tenths_f - 320) * 5 / 9 : tenths_f;
  char text[16];
  std::snprintf(text, sizeof text, "%s%d.%d", tenths < 0 ? "-" : "", std::abs(tenths) / 10,
                std::abs(tenths) % 10);
  return text;
}

std::string Tenths(int tenths) {
  return Temperature(tenths, false);
}

const char* Unit(bool si) {
  return si ? "C" : "F";
}

int Be16(const std::uint8_t* b) {
  return (b[0] << 8) | b[1];
}
int SignedBe16(const std::uint8_t* b) {
  return static_cast<std::int16_t>(Be16(b));
}

std::string SampleHeader(bool si) {
  const char* u = Unit(si);
  char header[400];
  std::snprintf(header, sizeof header,
                "time (local),dryer grain temperature (%s),incoming grain temperature (%s),"
                "incoming moisture (%%),outgoing grain temperature (%s),outgoing moisture (%%),"
                "metering roll output (%%)\r\n",
                u, u, u);
  return header;
}

int YearOf(const LogSample& s, const platform::LocalDateTime& now) {
  const bool after_today = s.month > now.month || (s.month == now.month && s.day > now.day);
  return after_today ? now.year - 1 : now.year;
}

void AppendSamples(std::string& csv, const std::vector<LogSample>& samples,
                   const platform::LocalDateTime& now, bool si) {
  for (const LogSample& s : samples) {
    if (s.month < 1 || s.month > 12 || s.day < 1) continue;  // the unfilled start of a window
    char time[32];
    std::snprintf(time, sizeof time, "%04d-%02d-%02dT%02d:%02d:%02d", YearOf(s, now), s.month,
                  s.day, s.hour, s.minute, s.second);
    csv += std::string(time) + "," + Temperature(s.dryer_grain_temp_f * 10, si) + "," +
           Temperature(s.incoming_temp_x10, si) + "," + Tenths(s.incoming_moisture_x10) + "," +
           Temperature(s.outgoing_temp_x10, si) + "," + Tenths(s.outgoing_moisture_x10) + "," +
           std::to_string(s.meter_output_percent) + "\r\n";
  }
}

}  // namespace

std::optional<std::string> LongTermCsv(const std::filesystem::path& log_file, bool si_units) {
  std::ifstream in(log_file, std::ios::binary);
  if (!in) return std::nullopt;
  const char* u = Unit(si_units);
  char header[400];
  std::snprintf(header, sizeof header,
                "record,time of day (local),dryer grain temperature (%s),"
                "incoming grain temperature (%s),incoming moisture (%%),"
                "outgoing grain temperature (%s),outgoing moisture (%%),metering roll (rpm)\r\n",
                u, u, u);
  std::string csv = header;
  LongTermRecord r{};
  for (long record = 1; in.read(reinterpret_cast<char*>(r.data()), r.size()); ++record) {
    char time[16];
    std::snprintf(time, sizeof time, "%02d:%02d:%02d", r[13], r[14], r[15]);
    csv += std::to_string(record) + "," + time + "," +
           Temperature(SignedBe16(&r[0]) * 10, si_units) + "," +
           Temperature(SignedBe16(&r[2]), si_units) + "," + Tenths(SignedBe16(&r[4])) + "," +
           Temperature(SignedBe16(&r[6]), si_units) + "," + Tenths(SignedBe16(&r[8])) + "," +
           Tenths(Be16(&r[10])) + "\r\n";
  }
  if (in.bad()) return std::nullopt;
  return csv;
}

std::string ShortTermCsv(const LogReader& reader, const platform::LocalDateTime& now,
                         bool si_units) {
  std::string csv = SampleHeader(si_units);
  const std::size_t count = reader.CountShortTermSamples();
  AppendSamples(csv, reader.ReadShortTermSamples(count, 0), now, si_units);
  return csv;
}

std::string GraphCsv(const LogReader& reader, const platform::LocalDateTime& now, bool si_units) {
  std::string csv = SampleHeader(si_units);
  // The window is one hour longer than the whole hours stored, so the part hour is in it too; what
  // it holds before the oldest sample is left out.
  const int hours = std::min(24, reader.GraphHoursAvailable() + 1);
  AppendSamples(csv, reader.ReadGraphWindow(hours, 0), now, si_units);
  return csv;
}

std::string CsvNameFor(const std::string& export_name) {
  const std::size_t dot = export_name.rfind('.');
  return (dot == std::string::npos ? export_name : export_name.substr(0, dot)) + ".csv";
}

}  // namespace orvandry::logging
