#include "controls/spin_rules.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <string>

namespace kestrune {
namespace {

constexpr std::int32_t kMax32 = INT32_MAX;
constexpr std::int32_t kMin32 = INT32_MIN;

TEST(SpinRules, ClampValue) {
  struct Case {
    std::int32_t min_value, max_value, value, expected;
  };
  const Case cases[] = {
      // No bounds at all: anything goes, negative values included.
      {0, 0, -5, -5},
      {0, 0, 0, 0},
      {0, 0, kMax32, kMax32},
      {0, 0, kMin32, kMin32},
      {1, 10, 0, 1},
      {1, 10, 1, 1},
      {1, 10, 10, 10},
      {1, 10, 11, 10},
      {1, 10, -7, 1},
      {0, 10, -1, 0},
      {0, 10, 5, 5},
      {0, 10, 11, 10},
      // A MaxValue of 0 alone: no upper bound.
      {5, 0, 4, 5},
      {5, 0, 5, 5},
      {5, 0, kMax32, kMax32},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message()
                 << "bounds " << c.min_value << ".." << c.max_value << ", value " << c.value);
    EXPECT_EQ(ClampValue(c.value, c.min_value, c.max_value), c.expected);
  }
}

TEST(SpinRules, ValueReadFromText) {
  struct Case {
    const char* text;
    std::int32_t min_value, expected;
  };
  const Case cases[] = {
      {"", 0, 0},           {"", 5, 5},    {"12", 0, 12},   {"abc", 0, 0},
      {"abc", 3, 3},        {"007", 0, 7}, {"-3", 0, -3},   {"-3", 1, -3},  // reading never clamps
      {"1.", 0, 0},         {"1.", 4, 4},  {"12abc", 9, 9}, {"+8", 0, 8},
      {"  5", 0, 5},        {"5 ", 2, 2},  {"$10", 0, 16},  {"2147483647", 0, kMax32},
      {"2147483648", 6, 6},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string("text '") + c.text + "', MinValue " + std::to_string(c.min_value));
    EXPECT_EQ(SpinValueOf(c.text, c.min_value), c.expected);
  }
}

TEST(SpinRules, WrittenValueIsTheClampedDecimal) {
  EXPECT_EQ(SpinValueText(7, 0, 0), "7");
  EXPECT_EQ(SpinValueText(-42, 0, 0), "-42");
  EXPECT_EQ(SpinValueText(0, 0, 0), "0");
  EXPECT_EQ(SpinValueText(-42, 1, 10), "1");
  EXPECT_EQ(SpinValueText(42, 1, 10), "10");
  // Past the 32-bit range the value stops at its end instead of wrapping round.
  EXPECT_EQ(SpinValueText(std::int64_t{kMax32} + 1, 0, 0), "2147483647");
  EXPECT_EQ(SpinValueText(std::int64_t{kMin32} - 1, 0, 0), "-2147483648");
}

TEST(SpinRules, StepResults) {
  struct Case {
    const char* text;
    std::int64_t delta;
    std::int32_t min_value, max_value;
    const char* expected;
  };
  const Case cases[] = {
      // Empty or letters step from MinValue: 1 up and -1 down with no bounds.
      {"", 1, 0, 0, "1"},
      {"", -1, 0, 0, "-1"},
      {"abc", 1, 0, 0, "1"},
      {"abc", -1, 0, 0, "-1"},
      {"007", 1, 0, 0, "8"},
      {"1.", 1, 0, 0, "1"},
      {"-1", 1, 0, 0, "0"},
      {"", 5, 0, 0, "5"},
      {"", 1, 3, 10, "4"},
      {"", -1, 3, 10, "3"},
      {"10", 1, 3, 10, "10"},
      {"2147483647", 1, 0, 0, "2147483647"},
      {"-2147483648", -1, 0, 0, "-2147483648"},
      // Several wheel notches of a large increment.
      {"0", 3 * std::int64_t{kMax32}, 0, 0, "2147483647"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "text '" << c.text << "' + " << c.delta << ", bounds "
                                    << c.min_value << ".." << c.max_value);
    EXPECT_EQ(SteppedText(c.text, c.delta, c.min_value, c.max_value), c.expected);
  }
}

TEST(SpinRules, LeavingTheFieldRewritesOnlyOutOfBoundsValues) {
  struct Case {
    const char* text;
    std::int32_t min_value, max_value;
    std::optional<std::string> written;
  };
  const Case cases[] = {
      {"007", 0, 0, std::nullopt}, {"1.", 0, 0, std::nullopt},   {"-5", 0, 0, std::nullopt},
      {"", 0, 0, std::nullopt},    {"abc", 1, 10, std::nullopt}, {"007", 1, 10, std::nullopt},
      {"11", 1, 10, "10"},         {"-5", 1, 10, "1"},           {"0", 1, 10, "1"},
      {"+20", 0, 10, "10"},        {"-1", 0, 10, "0"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message()
                 << "text '" << c.text << "', bounds " << c.min_value << ".." << c.max_value);
    EXPECT_EQ(TextOnLeaving(c.text, c.min_value, c.max_value), c.written);
  }
}

TEST(SpinRules, FilterKey) {
  struct Case {
    std::uint32_t character;
    KeyFilter editor_enabled, editor_disabled;
  };
  using enum KeyFilter;
  const Case cases[] = {
      {'0', kAccept, kRefuse},    {'5', kAccept, kRefuse},    {'9', kAccept, kRefuse},
      {'\r', kRefuse, kRefuse},   {'\b', kPass, kPass},       {27, kPass, kPass},
      {'.', kPass, kRefuse},      {'-', kRefuse, kRefuse},    {'+', kRefuse, kRefuse},
      {',', kRefuse, kRefuse},    {' ', kRefuse, kRefuse},    {'a', kRefuse, kRefuse},
      {'Z', kRefuse, kRefuse},    {0x0436, kRefuse, kRefuse},  // a Cyrillic letter
      {0x0660, kRefuse, kRefuse},                              // a digit of another script
      {3, kAccept, kAccept},                                   // Ctrl+C
      {22, kAccept, kAccept},                                  // Ctrl+V
      {24, kAccept, kAccept},                                  // Ctrl+X
      {'\t', kAccept, kAccept},   {127, kRefuse, kRefuse},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "character " << c.character);
    EXPECT_EQ(FilterKey(c.character, true), c.editor_enabled);
    EXPECT_EQ(FilterKey(c.character, false), c.editor_disabled);
  }
}

}  // namespace
}  // namespace kestrune
