#include "base/integer_conversion.h"

#include <string>

#include "base/exceptions.h"

namespace kestrune {
namespace {

int HexDigitValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// Parses the digits that make up all of `digits`; nullopt when there are none, when any character
// is not a digit of the base, or when the value passes `limit`.
std::optional<std::uint64_t> ParseDigits(std::string_view digits, int base, std::uint64_t limit) {
  if (digits.empty()) return std::nullopt;
  std::uint64_t value = 0;
  for (char c : digits) {
    const int digit = base == 16 ? HexDigitValue(c) : (c >= '0' && c <= '9' ? c - '0' : -1);
    if (digit < 0) return std::nullopt;
    value = value * base + digit;
    if (value > limit) return std::nullopt;
  }
  return value;
}

}  // namespace

std::optional<std::int32_t> TryStrToInt(std::string_view text) {
  std::size_t pos = text.find_first_not_of(' ');
  if (pos == std::string_view::npos) return std::nullopt;
  std::string_view rest = text.substr(pos);

  std::size_t hex_prefix = 0;
  if (rest[0] == '$' || rest[0] == 'x' || rest[0] == 'X') {
    hex_prefix = 1;
  } else if (rest.size() >= 2 && rest[0] == '0' && (rest[1] == 'x' || rest[1] == 'X')) {
    hex_prefix = 2;
  }
  if (hex_prefix != 0) {
    const auto value = ParseDigits(rest.substr(hex_prefix), 16, 0xFFFFFFFFull);
    if (!value) return std::nullopt;
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(*value));
  }

  const bool negative = rest[0] == '-';
  if (rest[0] == '+' || rest[0] == '-') rest.remove_prefix(1);
  const auto magnitude = ParseDigits(rest, 10, negative ? 2147483648ull : 2147483647ull);
  if (!magnitude) return std::nullopt;
  const auto value = static_cast<std::int64_t>(*magnitude);
  return static_cast<std::int32_t>(negative ? -value : value);
}

std::int32_t StrToInt(std::string_view text) {
  if (const auto value = TryStrToInt(text)) return *value;
  throw EConvertError("'" + std::string(text) + "' is not a valid integer value");
}

}  // namespace kestrune
