// The integer syntax shared by every number read from text.

#include <gtest/gtest.h>

#include <optional>

#include "platform/IntegerText.h"

namespace quastor {
namespace {

struct Case {
  const char* text;
  std::optional<std::int32_t> value;
};

TEST(IntegerText, WholeSyntaxTable) {
  const Case cases[] = {
      // decimal, blanks and signs
      {"0", 0},
      {"20", 20},
      {"007", 7},
      {"  42", 42},
      {"\t5", 5},
      {"+12", 12},
      {"-12", -12},
      {"  -3", -3},
      {"- 3", std::nullopt},
      {"+-3", std::nullopt},
      {"--3", std::nullopt},
      // nothing may follow, not even a blank
      {"42 ", std::nullopt},
      {"4 2", std::nullopt},
      {"12a", std::nullopt},
      {"1.0", std::nullopt},
      // empty and sign-only text
      {"", std::nullopt},
      {"   ", std::nullopt},
      {"+", std::nullopt},
      {"-", std::nullopt},
      // every hexadecimal prefix, both cases of digits
      {"$1F", 31},
      {"$1f", 31},
      {"x1F", 31},
      {"X1f", 31},
      {"0x1F", 31},
      {"0X1f", 31},
      {"-$10", -16},
      {"+0x10", 16},
      {"  $FF", 255},
      // prefixes without digits, digits that are not hexadecimal
      {"$", std::nullopt},
      {"0x", std::nullopt},
      {"x", std::nullopt},
      {"$G", std::nullopt},
      {"0x1G", std::nullopt},
      {"1F", std::nullopt},
      {"0 x1", std::nullopt},
      // eight hexadecimal digits are a 32-bit pattern; nine significant digits overflow
      {"$7FFFFFFF", 2147483647},
      {"$80000000", -2147483647 - 1},
      {"$FFFFFFFF", -1},
      {"0xFFFFFFFE", -2},
      {"$000000001", 1},
      {"$100000000", std::nullopt},
      {"-$80000000", -2147483647 - 1},
      {"-$1", -1},
      // decimal range of a signed 32-bit integer
      {"2147483647", 2147483647},
      {"2147483648", std::nullopt},
      {"-2147483648", -2147483647 - 1},
      {"-2147483649", std::nullopt},
      {"99999999999999999999", std::nullopt},
      {"00000000002147483647", 2147483647},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ReadInteger(c.text), c.value) << "text: '" << c.text << "'";
  }
}

TEST(IntegerText, StrictReadingNamesTheText) {
  const auto bad = StrictInteger("12 ");
  ASSERT_FALSE(bad.ok());
  EXPECT_EQ(bad.error(), "'12 ' is not a valid integer value");
  const auto good = StrictInteger("$14");
  ASSERT_TRUE(good.ok());
  EXPECT_EQ(*good, 20);
}

TEST(IntegerText, LenientReadingGivesMinusOne) {
  EXPECT_EQ(LenientInteger("abc"), -1);
  EXPECT_EQ(LenientInteger(""), -1);
  EXPECT_EQ(LenientInteger("125"), 125);
  EXPECT_EQ(LenientInteger("-1"), -1);  // -1 that reads is still -1
}

}  // namespace
}  // namespace quastor
