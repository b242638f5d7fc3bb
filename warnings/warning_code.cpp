#include "warnings/warning_code.h"

namespace orvandry::warnings {
namespace {

constexpr int kCodeDigits = 4;

int HexDigitValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return 0;
}

}  // namespace

WarningCode ParseWarningCode(std::string_view text) {
  int digits[kCodeDigits] = {0, 0, 0, 0};
  for (int i = 0; i < kCodeDigits && static_cast<std::size_t>(i) < text.size(); ++i)
    digits[i] = HexDigitValue(text[static_cast<std::size_t>(i)]);
  const auto node_id = static_cast<std::uint8_t>(16 * digits[0] + digits[1]);
  const auto warning_id = static_cast<std::uint8_t>(16 * digits[2] + digits[3]);
  return MakeWarningCode(node_id, warning_id);
}

std::string FormatWarningCode(WarningCode code) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string out(kCodeDigits, '0');
  for (int i = 0; i < kCodeDigits; ++i)
    out[static_cast<std::size_t>(i)] = kHex[(code >> (12 - 4 * i)) & 0xF];
  return out;
}

}  // namespace orvandry::warnings
