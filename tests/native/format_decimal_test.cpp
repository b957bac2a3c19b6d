// FormatDecimal: fixed decimals, the trimmed form, rounding of values stored just off a
// decimal, very large values and decimals, and values that are not numbers.
#include <gtest/gtest.h>

#include <cfloat>
#include <climits>
#include <limits>
#include <string>

#include "core/number_words.h"
#include "core/string.h"

namespace {

std::string Text(const String& s) { return std::string(s.CStr(), size_t(s.Length())); }

struct DecimalCase {
  double value;
  int decimals;
  const char* expected;
};

TEST(FormatDecimal, FixedDecimalsRoundTheStoredValue) {
  const DecimalCase cases[] = {
      {1, 0, "1"},
      {2.5, 0, "2"},  // ties to even
      {3.5, 0, "4"},
      {-0.5, 0, "-0"},
      {3.14159, 3, "3.142"},
      {0.125, 2, "0.12"},
      {2.675, 2, "2.67"},  // stored as 2.67499999999999982...
      {1.005, 2, "1.00"},  // stored as 1.00499999999999989...
      {-1234.5678, 1, "-1234.6"},
      {0, 4, "0.0000"},
      {1e20, 0, "100000000000000000000"},
      {0.1, 20, "0.10000000000000000555"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.value << " with " << c.decimals);
    EXPECT_EQ(Text(FormatDecimal(c.value, c.decimals)), c.expected);
  }
}

TEST(FormatDecimal, NegativeDecimalsTrimTrailingZerosAndTheBarePoint) {
  const DecimalCase cases[] = {
      {2.5, -1, "2.5"},
      {3.0, -1, "3"},
      {0, -1, "0"},
      {100, -1, "100"},
      {-2.5, -1, "-2.5"},
      {10.01, -1, "10.01"},
      {0.1234567, -1, "0.123457"},
      {1.0000001, -1, "1"},
      {0.0000015, -1, "0.000002"},
      {0.0000005, -1, "0"},  // stored just below 5e-7
      {-1e-9, -1, "-0"},
      {1e20, -7, "100000000000000000000"},
      {123.456, INT_MIN, "123.456"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.value << " with " << c.decimals);
    EXPECT_EQ(Text(FormatDecimal(c.value, c.decimals)), c.expected);
  }
}

TEST(FormatDecimal, TheLargestValueComesOutWhole) {
  const std::string text = Text(FormatDecimal(DBL_MAX, 2));
  ASSERT_EQ(text.size(), 309u + 3u);
  EXPECT_EQ(text.substr(0, 6), "179769");
  EXPECT_EQ(text.substr(text.size() - 3), ".00");
  EXPECT_EQ(Text(FormatDecimal(-DBL_MAX, -1)).size(), 1u + 309u);
}

TEST(FormatDecimal, DecimalsBeyondTheMaximumAreCapped) {
  const std::string expected = "1." + std::string(kMaxDecimals, '0');
  EXPECT_EQ(Text(FormatDecimal(1, kMaxDecimals)), expected);
  EXPECT_EQ(Text(FormatDecimal(1, kMaxDecimals + 1)), expected);
  EXPECT_EQ(Text(FormatDecimal(1, INT_MAX)), expected);
}

TEST(FormatDecimal, NonFiniteValuesHaveOneSpelling) {
  for (int decimals : {-1, 0, 2, INT_MAX}) {
    SCOPED_TRACE(decimals);
    EXPECT_EQ(Text(FormatDecimal(std::numeric_limits<double>::quiet_NaN(), decimals)), "nan");
    EXPECT_EQ(Text(FormatDecimal(-std::numeric_limits<double>::quiet_NaN(), decimals)), "nan");
    EXPECT_EQ(Text(FormatDecimal(std::numeric_limits<double>::infinity(), decimals)), "inf");
    EXPECT_EQ(Text(FormatDecimal(-std::numeric_limits<double>::infinity(), decimals)), "-inf");
  }
}

}  // namespace
