// Text to signed 32-bit integer, as the check delay field is read.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace kestrune {

// Leading blanks are skipped; then an optional sign and decimal digits within the signed 32-bit
// range, or (unsigned) "$", "x", "X", "0x" or "0X" and hexadecimal digits that fit in 32 bits,
// taken as a signed number. Nothing may follow the digits. Empty result on any other text.
std::optional<std::int32_t> TryStrToInt(std::string_view text);

// As TryStrToInt, raising EConvertError "'<text>' is not a valid integer value" on failure.
std::int32_t StrToInt(std::string_view text);

}  // namespace kestrune
