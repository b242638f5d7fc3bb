#include "alerts/json_text.h"

#include <cstdio>

namespace orvandry::alerts {

namespace {

// Length of the valid UTF-8 sequence starting at text[i], or 0.
std::size_t Utf8Length(std::string_view text, std::size_t i) {
  const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(text[k]); };
  const unsigned char lead = byte(i);
  std::size_t length = 0;
  unsigned min = 0;
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2;
    min = 0x80;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3;
    min = 0x800;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4;
    min = 0x10000;
  } else {
    return 0;
  }
  if (i + length > text.size()) return 0;
  unsigned code = lead & (0x7F >> length);
  for (std::size_t k = 1; k < length; ++k) {
    if ((byte(i + k) & 0xC0) != 0x80) return 0;
    code = (code << 6) | (byte(i + k) & 0x3F);
  }
  if (code < min || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return 0;
  return length;
}

}  // namespace

void AppendJsonString(std::string& out, std::string_view text) {
  out += '"';
  for (std::size_t i = 0; i < text.size();) {
    const auto c = static_cast<unsigned char>(text[i]);
    if (c >= 0x80) {
      if (const std::size_t length = Utf8Length(text, i); length != 0) {
        out.append(text.substr(i, length));
        i += length;
      } else {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
        ++i;
      }
      continue;
    }
    switch (c) {
      case '"':
        out += "\\\"";
        break;
      case '\\':
        out += "\\\\";
        break;
      case '\n':
        out += "\\n";
        break;
      case '\r':
        out += "\\r";
        break;
      case '\t':
        out += "\\t";
        break;
      default:
        if (c < 0x20 || c == 0x7F) {
          char escaped[8];
          std::snprintf(escaped, sizeof escaped, "\\u%04x", c);
          out += escaped;
        } else {
          out += static_cast<char>(c);
        }
    }
    ++i;
  }
  out += '"';
}

std::string TenthsText(std::int64_t tenths) {
  const bool negative = tenths < 0;
  const std::uint64_t magnitude =
      negative ? static_cast<std::uint64_t>(-(tenths + 1)) + 1 : static_cast<std::uint64_t>(tenths);
  std::string text = negative ? "-" : "";
  text.append(std::to_string(magnitude / 10)).append(1, '.').append(std::to_string(magnitude % 10));
  return text;
}

JsonObject& JsonObject::Key(std::string_view key) {
  if (text_.size() > 1) text_ += ',';
  AppendJsonString(text_, key);
  text_ += ':';
  return *this;
}

JsonObject& JsonObject::Text(std::string_view key, std::string_view value) {
  Key(key);
  AppendJsonString(text_, value);
  return *this;
}

JsonObject& JsonObject::Number(std::string_view key, std::int64_t value) {
  Key(key).text_ += std::to_string(value);
  return *this;
}

JsonObject& JsonObject::Tenths(std::string_view key, std::int64_t tenths) {
  Key(key).text_ += TenthsText(tenths);
  return *this;
}

JsonObject& JsonObject::Bool(std::string_view key, bool value) {
  Key(key).text_ += value ? "true" : "false";
  return *this;
}

JsonObject& JsonObject::Null(std::string_view key) {
  Key(key).text_ += "null";
  return *this;
}

JsonObject& JsonObject::Raw(std::string_view key, std::string_view json) {
  Key(key).text_ += json;
  return *this;
}

}  // namespace orvandry::alerts
