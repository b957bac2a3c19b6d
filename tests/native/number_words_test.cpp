// NumberToWords: whole parts around every scale boundary, the four fraction styles, year style,
// values a hair either side of a boundary, and input that cannot be spoken.
//
// The expected texts follow the rules step by step in double arithmetic: a scale quotient is the
// truncated product by 0.000001 or 0.001; the fraction left is formatted with "%.0f" or "%.3f",
// which round the exact binary value to nearest, ties to even.
#include "core/number_words.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <limits>
#include <string>

#include "core/string.h"

namespace {

struct WordsCase {
  double value;
  const char* expected;
};

std::string Words(double value, int style) {
  const String words = NumberToWords(value, style);
  return std::string(words.CStr(), size_t(words.Length()));
}

void ExpectWords(int style, const WordsCase* cases, size_t count) {
  for (size_t i = 0; i < count; ++i) {
    SCOPED_TRACE(testing::Message()
                 << "style " << style << ", value " << testing::PrintToString(cases[i].value)
                 << " (" << std::hexfloat << cases[i].value << ")");
    EXPECT_EQ(Words(cases[i].value, style), cases[i].expected);
  }
}

template <size_t N>
void ExpectWords(int style, const WordsCase (&cases)[N]) {
  ExpectWords(style, cases, N);
}

// The double just below a whole number.
double Below(double whole) { return std::nextafter(whole, 0.0); }

TEST(NumberToWords, WholeNumbersAroundEveryScaleBoundary) {
  const WordsCase cases[] = {
      {0, "Zero"},
      {1, "One"},
      {7, "Seven"},
      {10, "Ten"},
      {12, "Twelve"},
      {19, "Nineteen"},
      {20, "Twenty"},
      {21, "Twenty One"},
      {30, "Thirty"},
      {45, "Forty Five"},
      {99, "Ninety Nine"},
      {100, "One Hundred"},
      {101, "One Hundred One"},
      {110, "One Hundred Ten"},
      {115, "One Hundred Fifteen"},
      {120, "One Hundred Twenty"},
      {999, "Nine Hundred Ninety Nine"},
      {1000, "One Thousand"},
      {1001, "One Thousand One"},
      {1010, "One Thousand Ten"},
      {1100, "One Thousand One Hundred"},
      {12345, "Twelve Thousand Three Hundred Forty Five"},
      {20000, "Twenty Thousand"},
      {100000, "One Hundred Thousand"},
      {999999, "Nine Hundred Ninety Nine Thousand Nine Hundred Ninety Nine"},
      {1000000, "One Million"},
      {1000001, "One Million One"},
      {1001000, "One Million One Thousand"},
      {1234567, "One Million Two Hundred Thirty Four Thousand Five Hundred Sixty Seven"},
      {999999999,
       "Nine Hundred Ninety Nine Million Nine Hundred Ninety Nine Thousand Nine Hundred Ninety "
       "Nine"},
      // Millions of millions: the quotient itself is spoken with its own scale words.
      {1000000000, "One Thousand Million"},
      {1000000000000, "One Million Million"},
      {1000005000003, "One Million Five Million Three"},
      {2147483647,
       "Two Thousand One Hundred Forty Seven Million Four Hundred Eighty Three Thousand Six "
       "Hundred Forty Seven"},
      {999999999999999,
       "Nine Hundred Ninety Nine Million Nine Hundred Ninety Nine Thousand Nine Hundred Ninety "
       "Nine Million Nine Hundred Ninety Nine Thousand Nine Hundred Ninety Nine"},
  };
  ExpectWords(kWordsWhole, cases);
}

TEST(NumberToWords, WholeStyleDropsTheFractionAndNegativesSayNegative) {
  const WordsCase cases[] = {
      {12.99, "Twelve"},
      {0.5, "Zero"},
      {-7, "Negative Seven"},
      {-1000000, "Negative One Million"},
      {-0.5, "Negative Zero"},
      {-0.0, "Zero"},
      {-999.75, "Negative Nine Hundred Ninety Nine"},
  };
  ExpectWords(kWordsWhole, cases);
}

TEST(NumberToWords, ValuesAHairBelowABoundaryFollowTheDoubleProducts) {
  const WordsCase cases[] = {
      {Below(20), "Nineteen"},
      {Below(100), "Ninety Nine"},
      {Below(1000), "Nine Hundred Ninety Nine"},
      // 1999.9999999999998 * 0.001 stays below 2.
      {Below(2000), "One Thousand Nine Hundred Ninety Nine"},
      // 64999.99999999999 * 0.001 rounds to exactly 65: the whole is spoken rounded up.
      {Below(65000), "Sixty Five Thousand"},
      {Below(1000000), "Nine Hundred Ninety Nine Thousand Nine Hundred Ninety Nine"},
      {Below(1000000000),
       "Nine Hundred Ninety Nine Million Nine Hundred Ninety Nine Thousand Nine Hundred Ninety "
       "Nine"},
  };
  ExpectWords(kWordsWhole, cases);
}

TEST(NumberToWords, ChequeStyleGivesHundredthsOverOneHundred) {
  const WordsCase cases[] = {
      {12, "Twelve and No/100"},
      {0, "Zero and No/100"},
      {12.34, "Twelve and 34/100"},
      {12.5, "Twelve and 50/100"},
      {0.01, "Zero and 1/100"},
      {1234.56, "One Thousand Two Hundred Thirty Four and 56/100"},
      {-12.34, "Negative Twelve and 34/100"},
      {1000000.25, "One Million and 25/100"},
      // 12.5 and 37.5 hundredths are ties: rounded to even.
      {0.125, "Zero and 12/100"},
      {0.375, "Zero and 38/100"},
      // 2.675 is stored as 2.67499999999999982..., 1.005 as 1.00499999999999989...
      {2.675, "Two and 67/100"},
      {1.005, "One and 0/100"},
      {1.015, "One and 1/100"},
      {0.994, "Zero and 99/100"},
      {0.996, "Zero and 100/100"},
      {Below(2000), "One Thousand Nine Hundred Ninety Nine and 100/100"},
      // The whole was rounded up to 65,000: nothing is left over, not "-0/100".
      {Below(65000), "Sixty Five Thousand and No/100"},
      {std::numeric_limits<double>::denorm_min(), "Zero and 0/100"},
  };
  ExpectWords(kWordsCheque, cases);
}

TEST(NumberToWords, EighthsStyleNamesEighthsAndOtherwiseThousandths) {
  const WordsCase cases[] = {
      {12, "Twelve"},
      {0.125, "Zero and One Eighth"},
      {3.25, "Three and One Fourth"},
      {0.375, "Zero and Three Eighths"},
      {12.5, "Twelve and One Half"},
      {5.625, "Five and Five Eighths"},
      {0.75, "Zero and Three Fourths"},
      {0.875, "Zero and Seven Eighths"},
      {-3.5, "Negative Three and One Half"},
      {1000000.5, "One Million and One Half"},
      // Within 0.00001 of an eighth counts as the eighth; 0.00002 away does not.
      {12.125004, "Twelve and One Eighth"},
      {12.12502, "Twelve and 125/1000"},
      {2.675, "Two and 675/1000"},
      {1.005, "One and 5/1000"},
      {12.34, "Twelve and 340/1000"},
      // A fraction within 0.00001 of zero is not spoken; one just beyond is, even as 0.
      {7.000005, "Seven"},
      {7.0004, "Seven and 0/1000"},
      {0.9996, "Zero and 1000/1000"},
      {Below(65000), "Sixty Five Thousand"},
      {std::numeric_limits<double>::denorm_min(), "Zero"},
      // The largest value spoken; a double there has eighths as its finest step.
      {Below(1e15),
       "Nine Hundred Ninety Nine Million Nine Hundred Ninety Nine Thousand Nine Hundred Ninety "
       "Nine Million Nine Hundred Ninety Nine Thousand Nine Hundred Ninety Nine and Seven "
       "Eighths"},
  };
  ExpectWords(kWordsEighths, cases);
}

TEST(NumberToWords, DigitStyleSpeaksThreeDecimalsUpToTheLastNonZero) {
  const WordsCase cases[] = {
      {12, "Twelve Point Zero"},
      {0, "Zero Point Zero"},
      {12.5, "Twelve Point Five"},
      {0.125, "Zero Point One Two Five"},
      {3.1, "Three Point One"},
      {-12.75, "Negative Twelve Point Seven Five"},
      {1000000.25, "One Million Point Two Five"},
      // 2.675 is stored below 2.675 but still rounds to .675 at three decimals.
      {2.675, "Two Point Six Seven Five"},
      {1.005, "One Point Zero Zero Five"},
      {3.05, "Three Point Zero Five"},
      {0.0005, "Zero Point Zero Zero One"},
      {0.0015, "Zero Point Zero Zero Two"},
      {1.0005, "One Point Zero"},
      {0.0004, "Zero Point Zero"},
      {std::numeric_limits<double>::denorm_min(), "Zero Point Zero"},
      // A fraction that rounds to a whole at three decimals carries into the whole part.
      {12.9996, "Thirteen Point Zero"},
      {-12.9996, "Negative Thirteen Point Zero"},
      {99.9996, "One Hundred Point Zero"},
      {999999.9996, "One Million Point Zero"},
      {Below(2000), "Two Thousand Point Zero"},
      {Below(65000), "Sixty Five Thousand Point Zero"},
      {12.9994, "Twelve Point Nine Nine Nine"},
  };
  ExpectWords(kWordsDigitByDigit, cases);
}

TEST(NumberToWords, YearStyleSpeaksPairs) {
  const WordsCase cases[] = {
      {1999, "Nineteen Ninety Nine"},
      {1905, "Nineteen Oh Five"},
      {2010, "Twenty Ten"},
      {1066, "Ten Sixty Six"},
      {1010, "Ten Ten"},
      {1776, "Seventeen Seventy Six"},
      {9999, "Ninety Nine Ninety Nine"},
      {101, "One Oh One"},
      {110, "One Ten"},
      {1999.7, "Nineteen Ninety Nine"},
      // 1999.9999999999998 * 0.01 stays below 20.
      {Below(2000), "Nineteen Ninety Nine"},
      // Whole centuries.
      {1900, "Nineteen Hundred"},
      {2100, "Twenty One Hundred"},
      {1100, "Eleven Hundred"},
      {200, "Two Hundred"},
      // Last three digits below 10, and values outside 101 to 9999: plain numbers.
      {2003, "Two Thousand Three"},
      {2000, "Two Thousand"},
      {1000, "One Thousand"},
      {1009, "One Thousand Nine"},
      {100, "One Hundred"},
      {99, "Ninety Nine"},
      {10000, "Ten Thousand"},
      {12005, "Twelve Thousand Five"},
      {-1999, "Negative One Thousand Nine Hundred Ninety Nine"},
      {0, "Zero"},
  };
  ExpectWords(kWordsYear, cases);
}

TEST(NumberToWords, YearStyleAddsNoFractionOutsideTheYearRange) {
  EXPECT_EQ(Words(12.5, kWordsYear), "Twelve");
  EXPECT_EQ(Words(2003.75, kWordsYear), "Two Thousand Three");
}

TEST(NumberToWords, UnknownStylesGiveTheWholePartOnly) {
  for (int style : {4, 7, -2, 1000}) {
    SCOPED_TRACE(style);
    EXPECT_EQ(Words(12.5, style), "Twelve");
    EXPECT_EQ(Words(-2010.25, style), "Negative Two Thousand Ten");
  }
}

TEST(NumberToWords, UnspeakableValuesGiveAnEmptyText) {
  const double values[] = {
      std::numeric_limits<double>::quiet_NaN(),
      -std::numeric_limits<double>::quiet_NaN(),
      std::numeric_limits<double>::infinity(),
      -std::numeric_limits<double>::infinity(),
      1e15,
      -1e15,
      1e300,
      -DBL_MAX,
      DBL_MAX,
  };
  for (double value : values) {
    for (int style : {kWordsDigitByDigit, kWordsWhole, kWordsCheque, kWordsEighths, kWordsYear}) {
      SCOPED_TRACE(testing::Message() << "value " << value << ", style " << style);
      const String words = NumberToWords(value, style);
      EXPECT_EQ(words.Length(), 0);
      EXPECT_STREQ(words.CStr(), "");
    }
  }
}

TEST(NumberToWords, NegativeLimitIsSpokenJustInside) {
  EXPECT_EQ(Words(-Below(1e15), kWordsDigitByDigit),
            "Negative Nine Hundred Ninety Nine Million Nine Hundred Ninety Nine Thousand Nine "
            "Hundred Ninety Nine Million Nine Hundred Ninety Nine Thousand Nine Hundred Ninety "
            "Nine Point Eight Seven Five");
}

}  // namespace
