#include "controls/spin_rules.h"

#include <algorithm>
#include <limits>

#include "base/integer_conversion.h"

namespace kestrune {

std::int32_t ClampValue(std::int32_t value, std::int32_t min_value, std::int32_t max_value) {
  if ((min_value != 0 || max_value != 0) && value < min_value) return min_value;
  if (max_value != 0 && value > max_value) return max_value;
  return value;
}

std::int32_t SpinValueOf(std::string_view text, std::int32_t min_value) {
  return TryStrToInt(text).value_or(min_value);
}

std::string SpinValueText(std::int64_t value, std::int32_t min_value, std::int32_t max_value) {
  const auto in_range = static_cast<std::int32_t>(std::clamp<std::int64_t>(
      value, std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max()));
  return std::to_string(ClampValue(in_range, min_value, max_value));
}

std::string SteppedText(std::string_view text, std::int64_t delta, std::int32_t min_value,
                        std::int32_t max_value) {
  return SpinValueText(std::int64_t{SpinValueOf(text, min_value)} + delta, min_value, max_value);
}

std::optional<std::string> TextOnLeaving(std::string_view text, std::int32_t min_value,
                                         std::int32_t max_value) {
  const std::int32_t value = SpinValueOf(text, min_value);
  const std::int32_t clamped = ClampValue(value, min_value, max_value);
  if (clamped == value) return std::nullopt;
  return std::to_string(clamped);
}

KeyFilter FilterKey(std::uint32_t character, bool editor_enabled) {
  constexpr std::uint32_t kBackspace = 8, kEnter = 13, kEscape = 27;
  if (character == kEnter) return KeyFilter::kRefuse;
  if (character == kBackspace || character == kEscape) return KeyFilter::kPass;
  if (character < 32) return KeyFilter::kAccept;
  if (!editor_enabled) return KeyFilter::kRefuse;
  if (character >= '0' && character <= '9') return KeyFilter::kAccept;
  if (character == '.') return KeyFilter::kPass;
  return KeyFilter::kRefuse;
}

}  // namespace kestrune
