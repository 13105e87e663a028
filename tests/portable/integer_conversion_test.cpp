#include "base/integer_conversion.h"

#include <gtest/gtest.h>

#include <optional>

#include "base/exceptions.h"

namespace kestrune {
namespace {

struct Case {
  const char* text;
  std::optional<std::int32_t> value;
};

// nullopt: the text is not a valid integer.
const Case kCases[] = {
    {"60", 60},
    {"0", 0},
    {"007", 7},
    {"+15", 15},
    {"-1", -1},
    {"2147483647", 2147483647},
    {"-2147483648", INT32_MIN},
    {"2147483648", std::nullopt},
    {"-2147483649", std::nullopt},
    {"99999999999999999999", std::nullopt},
    {"$1F", 31},
    {"$ff", 255},
    {"x1f", 31},
    {"X1F", 31},
    {"0x1F", 31},
    {"0Xff", 255},
    {"$FFFFFFFF", -1},
    {"0x80000000", INT32_MIN},
    {"$100000000", std::nullopt},
    {"-$10", std::nullopt},
    {"+0x10", std::nullopt},
    {"$", std::nullopt},
    {"0x", std::nullopt},
    {"$1G", std::nullopt},
    {"   42", 42},
    {"  -7", -7},
    {"42 ", std::nullopt},
    {"42\t", std::nullopt},
    {"4 2", std::nullopt},
    {"12abc", std::nullopt},
    {"1.5", std::nullopt},
    {"abc", std::nullopt},
    {"", std::nullopt},
    {"   ", std::nullopt},
    {"+", std::nullopt},
    {"-", std::nullopt},
    {"- 1", std::nullopt},
};

TEST(IntegerConversion, FollowsTheDelayRules) {
  for (const Case& c : kCases) {
    SCOPED_TRACE(std::string("text: '") + c.text + "'");
    EXPECT_EQ(TryStrToInt(c.text), c.value);
    if (c.value) {
      EXPECT_EQ(StrToInt(c.text), *c.value);
    } else {
      try {
        StrToInt(c.text);
        ADD_FAILURE() << "no failure raised";
      } catch (const EConvertError& failure) {
        EXPECT_EQ(failure.Message(), std::string("'") + c.text + "' is not a valid integer value");
      }
    }
  }
}

}  // namespace
}  // namespace kestrune
