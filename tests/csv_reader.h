#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace orvandry::testing {

using CsvRows = std::vector<std::vector<std::string>>;

// A strict CSV reader (RFC 4180) for checking what the display writes: fields separated by
// commas, rows ended by CRLF or LF, a quoted field may hold commas, line breaks and doubled
// quotes. nullopt for text a spreadsheet would misread: a quote inside an unquoted field, text
// after a closing quote, an unclosed quote, or rows of differing lengths.
inline std::optional<CsvRows> ParseCsv(std::string_view text) {
  CsvRows rows;
  std::vector<std::string> row;
  std::string field;
  bool quoted = false;      // inside a quoted field
  bool was_quoted = false;  // the current field was quoted and is closed
  bool field_started = false;
  const auto end_field = [&] {
    row.push_back(std::move(field));
    field.clear();
    was_quoted = false;
    field_started = false;
  };
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (quoted) {
      if (c != '"') {
        field += c;
      } else if (i + 1 < text.size() && text[i + 1] == '"') {
        field += '"';
        ++i;
      } else {
        quoted = false;
        was_quoted = true;
      }
      continue;
    }
    if (c == ',') {
      end_field();
    } else if (c == '\r' || c == '\n') {
      if (c == '\r' && (i + 1 >= text.size() || text[i + 1] != '\n')) return std::nullopt;
      if (c == '\r') ++i;
      end_field();
      rows.push_back(std::move(row));
      row.clear();
    } else if (c == '"') {
      if (field_started || was_quoted) return std::nullopt;
      quoted = true;
      field_started = true;
    } else {
      if (was_quoted) return std::nullopt;
      field += c;
      field_started = true;
    }
  }
  if (quoted) return std::nullopt;
  if (field_started || was_quoted || !row.empty()) {
    end_field();
    rows.push_back(std::move(row));
  }
  for (const auto& r : rows)
    if (r.size() != rows.front().size()) return std::nullopt;
  return rows;
}

}  // namespace orvandry::testing
