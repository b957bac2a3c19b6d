// OrdinalWords and ShortOrdinal: every irregular ordinal, tens, hundreds and scale words, the
// teens in every hundred, negatives and the ends of the int range.
#include <gtest/gtest.h>

#include <climits>
#include <string>

#include "core/number_words.h"
#include "core/string.h"

namespace {

struct OrdinalCase {
  int n;
  const char* expected;
};

std::string Text(const String& s) { return std::string(s.CStr(), size_t(s.Length())); }

TEST(OrdinalWords, SpeaksTheLastWordAsAnOrdinal) {
  const OrdinalCase cases[] = {
      {0, "Zeroth"},
      {1, "First"},
      {2, "Second"},
      {3, "Third"},
      {4, "Fourth"},
      {5, "Fifth"},
      {8, "Eighth"},
      {9, "Ninth"},
      {10, "Tenth"},
      {11, "Eleventh"},
      {12, "Twelfth"},
      {13, "Thirteenth"},
      {15, "Fifteenth"},
      {19, "Nineteenth"},
      {20, "Twentieth"},
      {21, "Twenty First"},
      {22, "Twenty Second"},
      {23, "Twenty Third"},
      {30, "Thirtieth"},
      {31, "Thirty First"},
      {40, "Fortieth"},
      {50, "Fiftieth"},
      {70, "Seventieth"},
      {80, "Eightieth"},
      {90, "Ninetieth"},
      {99, "Ninety Ninth"},
      {100, "One Hundredth"},
      {101, "One Hundred First"},
      {110, "One Hundred Tenth"},
      {111, "One Hundred Eleventh"},
      {112, "One Hundred Twelfth"},
      {120, "One Hundred Twentieth"},
      {230, "Two Hundred Thirtieth"},
      {999, "Nine Hundred Ninety Ninth"},
      {1000, "One Thousandth"},
      {1012, "One Thousand Twelfth"},
      {1230, "One Thousand Two Hundred Thirtieth"},
      {1000000, "One Millionth"},
      {1000001, "One Million First"},
      {2000000, "Two Millionth"},
      {INT_MAX,
       "Two Thousand One Hundred Forty Seven Million Four Hundred Eighty Three Thousand Six "
       "Hundred Forty Seventh"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.n);
    EXPECT_EQ(Text(OrdinalWords(c.n)), c.expected);
  }
}

TEST(OrdinalWords, NegativesSayNegative) {
  const OrdinalCase cases[] = {
      {-1, "Negative First"},
      {-3, "Negative Third"},
      {-12, "Negative Twelfth"},
      {-30, "Negative Thirtieth"},
      {-100, "Negative One Hundredth"},
      {INT_MIN,
       "Negative Two Thousand One Hundred Forty Seven Million Four Hundred Eighty Three Thousand "
       "Six Hundred Forty Eighth"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.n);
    EXPECT_EQ(Text(OrdinalWords(c.n)), c.expected);
  }
}

TEST(ShortOrdinal, EveryDayOfTheMonth) {
  const char* const expected[32] = {
      "0th",  "1st",  "2nd",  "3rd",  "4th",  "5th",  "6th",  "7th",  "8th",  "9th",  "10th",
      "11th", "12th", "13th", "14th", "15th", "16th", "17th", "18th", "19th", "20th", "21st",
      "22nd", "23rd", "24th", "25th", "26th", "27th", "28th", "29th", "30th", "31st",
  };
  for (int day = 0; day < 32; ++day) {
    SCOPED_TRACE(day);
    EXPECT_EQ(Text(ShortOrdinal(day)), expected[day]);
  }
}

TEST(ShortOrdinal, TeensTakeThInEveryHundredAndNegativesKeepTheirSign) {
  const OrdinalCase cases[] = {
      {100, "100th"},
      {101, "101st"},
      {102, "102nd"},
      {111, "111th"},
      {112, "112th"},
      {113, "113th"},
      {122, "122nd"},
      {1003, "1003rd"},
      {-1, "-1st"},
      {-2, "-2nd"},
      {-11, "-11th"},
      {-23, "-23rd"},
      {INT_MAX, "2147483647th"},
      {INT_MIN, "-2147483648th"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.n);
    EXPECT_EQ(Text(ShortOrdinal(c.n)), c.expected);
  }
}

}  // namespace
