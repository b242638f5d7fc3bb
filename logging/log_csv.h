#pragma once

#include <filesystem>
#include <optional>
#include <string>

#include "logging/log_reader.h"
#include "platform/clock.h"

namespace orvandry::logging {

// The data logs as CSV text for a spreadsheet: a header row that names each column with its unit,
// one row per record, oldest first, ISO 8601 times, temperatures in °F or, with `si_units`, in °C
// (as the panel shows them; the header says which), moisture in percent.

// The long-term log file: its records carry the time of day but no date, so the time column is an
// ISO 8601 local time of day ("21:30:05"); the first column numbers the records from 1. nullopt
// when the file cannot be read; a torn last record is left out.
std::optional<std::string> LongTermCsv(const std::filesystem::path& log_file, bool si_units);

// The short-term and graph logs: their samples carry month, day and time but no year. The year is
// taken from `now`: a sample whose month and day lie after today's is from the year before (these
// logs reach back days, never a year).
std::string ShortTermCsv(const LogReader& reader, const platform::LocalDateTime& now,
                         bool si_units);
// The whole graph log (up to 24 hours); the empty start of a log shorter than an hour is left out.
std::string GraphCsv(const LogReader& reader, const platform::LocalDateTime& now, bool si_units);

// The CSV name beside an export: the same name with ".csv" for its extension.
std::string CsvNameFor(const std::string& export_name);

}  // namespace orvandry::logging
