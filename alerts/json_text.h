#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace orvandry::alerts {

// Appends `text` as a quoted JSON string. Valid UTF-8 is kept as it is; any other byte is read as
// Latin-1 (the degree sign of the older tables) and written as UTF-8, so the result is always
// valid JSON whatever a text table holds.
void AppendJsonString(std::string& out, std::string_view text);

// A JSON object written member by member, in the order added.
class JsonObject {
 public:
  JsonObject& Text(std::string_view key, std::string_view value);
  JsonObject& Number(std::string_view key, std::int64_t value);
  // A number kept in tenths (moisture, roll speed): 153 -> 15.3, -5 -> -0.5.
  JsonObject& Tenths(std::string_view key, std::int64_t tenths);
  JsonObject& Bool(std::string_view key, bool value);
  JsonObject& Null(std::string_view key);
  // A value that is already JSON (a nested object or array).
  JsonObject& Raw(std::string_view key, std::string_view json);
  std::string Close() const { return text_ + "}"; }

 private:
  JsonObject& Key(std::string_view key);
  std::string text_ = "{";
};

std::string TenthsText(std::int64_t tenths);

}  // namespace orvandry::alerts
