// The spin edit's value rules and key filter, apart from any window: how its text reads as a
// value, what a step or leaving the field writes, and what becomes of each typed character.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace kestrune {

// Both bounds 0 means no bound at all; a MaxValue of 0 alone means no upper bound.
std::int32_t ClampValue(std::int32_t value, std::int32_t min_value, std::int32_t max_value);

// The value the text stands for: MinValue when it is empty or no integer. The text is read as the
// supervisor reads the delay field, so stepping and clamping work on the number it will use.
std::int32_t SpinValueOf(std::string_view text, std::int32_t min_value);

// The text written for `value`: the decimal form of the clamped value. Values beyond the signed
// 32-bit range stop at its ends rather than wrap round.
std::string SpinValueText(std::int64_t value, std::int32_t min_value, std::int32_t max_value);

// The text after adding `delta` to the value the text stands for.
std::string SteppedText(std::string_view text, std::int64_t delta, std::int32_t min_value,
                        std::int32_t max_value);

// The text written back when the operator leaves the field: only when clamping changes the value,
// so text within the bounds stays exactly as typed.
std::optional<std::string> TextOnLeaving(std::string_view text, std::int32_t min_value,
                                         std::int32_t max_value);

enum class KeyFilter {
  kAccept,  // goes to the edit
  kPass,    // not part of a number, yet goes to the edit unchanged and without a beep
  kRefuse,  // dropped, with the platform's default beep
};

// What becomes of a typed character (a UTF-16 code unit).
KeyFilter FilterKey(std::uint32_t character, bool editor_enabled);

}  // namespace kestrune
