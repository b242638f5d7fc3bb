// The data logs as CSV, read back with a strict CSV reader: the header names the panel's units,
// values convert to °C when the panel shows SI units, times are ISO 8601, and the missing parts
// of the logs' dates are handled as the header says.

#include "logging/log_csv.h"

#include <gtest/gtest.h>

#include <fstream>

#include "csv_reader.h"
#include "logging/card_copy.h"
#include "logging/long_term_log.h"
#include "logging_test_support.h"

namespace orvandry::logging {
namespace {

namespace fs = std::filesystem;
using orvandry::testing::CsvRows;
using orvandry::testing::ParseCsv;

CsvRows Parsed(const std::string& csv) {
  const auto rows = ParseCsv(csv);
  EXPECT_TRUE(rows.has_value()) << csv;
  return rows.value_or(CsvRows{});
}

TEST(LogCsv, LongTermRecordsInThePanelsUnitsWithTheTimeOfDay) {
  testing::TempDir dir;
  const fs::path file = dir.path() / "LongTermDataLog.dat";
  // 180 F grain, 75.5 F in, 22.4 % in, -4.0 F out, 15.1 % out, roll 12.3 rpm, 21:05:09.
  const LongTermRecord record{0, 180, 0x02, 0xF3, 0, 224, 0xFF, 0xD8, 0, 151, 0, 123, 9, 21, 5, 9};
  {
    std::ofstream out(file, std::ios::binary);
    for (int i = 0; i < 2; ++i) out.write(reinterpret_cast<const char*>(record.data()), 16);
    out.write(reinterpret_cast<const char*>(record.data()), 7);  // torn by a power cut
  }
  const struct {
    bool si;
    const char* unit;
    CsvRows::value_type row;
  } cases[] = {
      {false, "(F)", {"2", "21:05:09", "180.0", "75.5", "22.4", "-4.0", "15.1", "12.3"}},
      {true, "(C)", {"2", "21:05:09", "82.2", "24.1", "22.4", "-20.0", "15.1", "12.3"}},
  };
  for (const auto& c : cases) {
    const auto csv = LongTermCsv(file, c.si);
    ASSERT_TRUE(csv.has_value());
    const CsvRows rows = Parsed(*csv);
    ASSERT_EQ(rows.size(), 3u) << "header and the two whole records";
    EXPECT_EQ(rows[0][1], "time of day (local)");
    EXPECT_EQ(rows[0][2], std::string("dryer grain temperature ") + c.unit);
    EXPECT_EQ(rows[0][4], "incoming moisture (%)");
    EXPECT_EQ(rows[2], c.row);
  }
  EXPECT_FALSE(LongTermCsv(dir.path() / "missing.dat", false).has_value());
}

// A reader over fixed samples, as the logs' files would give them.
class FixedReader final : public LogReader {
 public:
  explicit FixedReader(std::vector<LogSample> samples) : samples_(std::move(samples)) {}
  std::size_t CountShortTermSamples() const override { return samples_.size(); }
  std::vector<LogSample> ReadShortTermSamples(std::size_t count, std::size_t) const override {
    return {samples_.end() - static_cast<long>(count), samples_.end()};
  }
  int GraphHoursAvailable() const override { return 0; }
  int GraphScrollLimit(int) const override { return 0; }
  std::vector<LogSample> ReadGraphWindow(int span_hours, int) const override {
    std::vector<LogSample> window(static_cast<std::size_t>(span_hours) * kGraphSamplesPerHour);
    std::copy(samples_.begin(), samples_.end(), window.end() - static_cast<long>(samples_.size()));
    return window;
  }
  int LongTermUsedPercent() const override { return 0; }

 private:
  std::vector<LogSample> samples_;
};

LogSample At(int month, int day, int hour, int minute) {
  LogSample s;
  s.dryer_grain_temp_f = 100;
  s.incoming_temp_x10 = 655;
  s.incoming_moisture_x10 = 201;
  s.outgoing_temp_x10 = 32;
  s.outgoing_moisture_x10 = 150;
  s.meter_output_percent = 40;
  s.month = static_cast<std::uint8_t>(month);
  s.day = static_cast<std::uint8_t>(day);
  s.hour = static_cast<std::uint8_t>(hour);
  s.minute = static_cast<std::uint8_t>(minute);
  return s;
}

TEST(LogCsv, ShortTermAndGraphSamplesTakeTheirYearFromTheExport) {
  // Exported on 1 January 2027: the samples of 31 December are from 2026.
  const FixedReader reader({At(12, 31, 23, 50), At(1, 1, 0, 10)});
  const platform::LocalDateTime now{2027, 1, 1, 0, 15, 0};
  for (const bool graph : {false, true}) {
    SCOPED_TRACE(graph ? "graph" : "short-term");
    const CsvRows rows =
        Parsed(graph ? GraphCsv(reader, now, true) : ShortTermCsv(reader, now, true));
    ASSERT_EQ(rows.size(), 3u) << "the graph window's empty start is left out";
    EXPECT_EQ(rows[0][1], "dryer grain temperature (C)");
    EXPECT_EQ(rows[0][6], "metering roll output (%)");
    EXPECT_EQ(rows[1], (CsvRows::value_type{"2026-12-31T23:50:00", "37.7", "18.6", "20.1", "-16.0",
                                            "15.0", "40"}));
    EXPECT_EQ(rows[2][0], "2027-01-01T00:10:00");
  }
  EXPECT_EQ(CsvNameFor("LongTermDataLog26_12_07_21_05_09.DAT"),
            "LongTermDataLog26_12_07_21_05_09.csv");
}

TEST(LogCsv, TextWrittenToTheCardNeverReplacesAFile) {
  testing::TempDir card;
  ASSERT_TRUE(WriteTextToCard("a,b\r\n", card.path(), "x.csv").ok);
  const CopyResult again = WriteTextToCard("c,d\r\n", card.path(), "x.csv");
  EXPECT_FALSE(again.ok);
  EXPECT_EQ(again.error, EEXIST);
  std::ifstream in(card.path() / "x.csv");
  EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), "a,b\r\n");
  EXPECT_FALSE(fs::exists(card.path() / "x.csv.part"));
}

}  // namespace
}  // namespace orvandry::logging
