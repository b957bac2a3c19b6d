// ParseNumber: sign, digits, the whitespace and comma flags, wrapping and cursor rules.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "core/date_time.h"

using namespace std::string_literals;

namespace {

TEST(ParseNumber, ReadsAtTheCursorByFlags) {
  const struct {
    std::string text;
    int start;
    int flags;
    int32_t expected;
    int end;
  } cases[] = {
      {"123", 0, 0, 123, 3},
      {"123abc", 0, 0, 123, 3},
      {"ab12", 2, 0, 12, 4},
      {"007", 0, 0, 7, 3},
      {"-45x", 0, 0, -45, 3},
      {"+45", 0, 0, 45, 3},
      {"-45", 0, kNumberUnsigned, 0, 0},
      {"  123", 0, 0, 0, 0},
      {"  123", 0, kNumberSkipLeadingSpace, 123, 5},
      {" \t-8", 0, kNumberSkipLeadingSpace, -8, 4},
      {"- 8", 0, kNumberSkipLeadingSpace, 0, 0},
      {"12  x", 0, 0, 12, 2},
      {"12  x", 0, kNumberSkipTrailingSpace, 12, 4},
      {"12,7", 0, kNumberSkipComma, 12, 3},
      {"12,,7", 0, kNumberSkipComma, 12, 3},
      {"12 ,7", 0, kNumberSkipComma, 12, 2},
      {"12 , 7", 0, kNumberSkipComma | kNumberSkipTrailingSpace, 12, 5},
      {"12,7", 0, 0, 12, 2},
      {"2147483647", 0, 0, INT32_MAX, 10},
      {"2147483648", 0, 0, INT32_MIN, 10},  // no overflow check: wraps modulo 2^32
      {"-2147483648", 0, 0, INT32_MIN, 11},
      {"4294967297", 0, 0, 1, 10},
      {"1\0" "2"s, 0, 0, 1, 1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text + " from " + std::to_string(c.start) + " flags " +
                 std::to_string(c.flags));
    const String text(c.text.data(), int(c.text.size()));
    int pos = c.start;
    EXPECT_EQ(ParseNumber(text, pos, c.flags), c.expected);
    EXPECT_EQ(pos, c.end);
  }
}

TEST(ParseNumber, WithoutDigitsTheCursorStays) {
  const struct {
    const char* text;
    int start;
    int flags;
    int32_t expected;
  } cases[] = {
      {"", 0, 0, 0},
      {"x", 0, 0, 0},
      {"-", 0, 0, 0},
      {"+x", 0, 0, 0},
      {"   ", 0, kNumberSkipLeadingSpace, 0},
      {"   ", 0, kNumberSkipLeadingSpace | kNumberMissingIsMin, INT32_MIN},
      {"abc", 0, kNumberMissingIsMin, INT32_MIN},
      {"12", 2, 0, 0},
      {"12", 3, kNumberMissingIsMin, INT32_MIN},
      {"12", -1, kNumberMissingIsMin, INT32_MIN},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.text) + " from " + std::to_string(c.start));
    int pos = c.start;
    EXPECT_EQ(ParseNumber(c.text, pos, c.flags), c.expected);
    EXPECT_EQ(pos, c.start);
  }
}

TEST(ParseNumber, ReadsSuccessiveNumbers) {
  const String text = "10, 20 ,30";
  int pos = 0;
  const int flags = kNumberSkipLeadingSpace | kNumberSkipTrailingSpace | kNumberSkipComma;
  EXPECT_EQ(ParseNumber(text, pos, flags), 10);
  EXPECT_EQ(ParseNumber(text, pos, flags), 20);
  EXPECT_EQ(ParseNumber(text, pos, flags), 30);
  EXPECT_EQ(pos, text.Length());
  EXPECT_EQ(ParseNumber(text, pos, flags | kNumberMissingIsMin), INT32_MIN);
  EXPECT_EQ(pos, text.Length());
}

}  // namespace
