// Numbers in English words: whole parts, cheque fractions, eighths, years and spoken decimals.
//
// The scale quotients are taken with the multiplications by 0.000001, 0.001 and 0.01 in double
// precision, not with divisions or integer arithmetic: that arithmetic decides how values a hair
// below a scale boundary are spoken (64999.99999999999 gives "Sixty Five Thousand", because its
// product by 0.001 rounds up to 65), and every build must speak such values the same way.
#include "core/number_words.h"

#include <cmath>

#include "core/string.h"

namespace {

const char* const kUnitsAndTeens[20] = {
    "Zero",     "One",     "Two",     "Three",     "Four",     "Five",     "Six",
    "Seven",    "Eight",   "Nine",    "Ten",       "Eleven",   "Twelve",   "Thirteen",
    "Fourteen", "Fifteen", "Sixteen", "Seventeen", "Eighteen", "Nineteen",
};

// Index 2 to 9; 0 and 1 are spoken as units and teens.
const char* const kTens[10] = {
    "", "", "Twenty", "Thirty", "Forty", "Fifty", "Sixty", "Seventy", "Eighty", "Ninety",
};

// Eighths 1 to 7, in the order they are matched.
const char* const kEighths[7] = {
    "One Eighth",   "One Fourth",    "Three Eighths", "One Half",
    "Five Eighths", "Three Fourths", "Seven Eighths",
};

// A fraction this close to an eighth is spoken as that eighth; one this close to zero is not
// spoken at all in the eighths style.
constexpr double kEighthTolerance = 0.00001;

// Appends the words of the whole part of value (|value| < kWordsLimit) and returns what is left
// of value once the spoken whole has been taken off: its fractional part, or a value a hair
// below zero when a scale quotient rounded up to the next whole.
double AppendWhole(String& out, double value) {
  if (value < 0) {
    out.Append("Negative ");
    value = -value;
  }
  if (value >= 1000000.0) {
    const double millions = std::trunc(value * 0.000001);
    AppendWhole(out, millions);
    out.Append(" Million");
    value -= millions * 1000000.0;
    if (std::trunc(value) == 0) return value;
    out.AppendChar(' ');
  }
  if (value >= 1000.0) {
    const double thousands = std::trunc(value * 0.001);
    AppendWhole(out, thousands);
    out.Append(" Thousand");
    value -= thousands * 1000.0;
    if (std::trunc(value) == 0) return value;
    out.AppendChar(' ');
  }
  // From here on value lies in [0, 1000): the quotients above never fall short of the true ones.
  if (value >= 100.0) {
    const int hundreds = int(value) / 100;
    out.Append(kUnitsAndTeens[hundreds]);
    out.Append(" Hundred");
    value -= hundreds * 100;
    if (std::trunc(value) == 0) return value;
    out.AppendChar(' ');
  }
  if (value >= 20.0) {
    value -= 20;
    const int tens = int(value) / 10;
    out.Append(kTens[tens + 2]);
    value -= tens * 10;
    if (std::trunc(value) == 0) return value;
    out.AppendChar(' ');
  }
  out.Append(kUnitsAndTeens[int(value)]);
  return value - std::trunc(value);
}

// Years from 101 to 9999 whose last three digits are 10 or more are spoken in pairs: "Nineteen
// Ninety Nine", "Nineteen Oh Five", "Twenty Ten", and "Nineteen Hundred" for a whole century.
// Returns false for the other values, which are spoken as plain numbers ("Two Thousand Three").
bool AppendYear(String& out, double value) {
  if (!(value > 100 && value < 10000)) return false;
  const int year = int(value);
  if (year % 1000 < 10) return false;
  AppendWhole(out, std::trunc(value * 0.01));
  const int lastTwo = year % 100;
  if (lastTwo == 0) {
    out.Append(" Hundred");
    return true;
  }
  out.AppendChar(' ');
  if (lastTwo < 10) out.Append("Oh ");
  AppendWhole(out, lastTwo);
  return true;
}

// The fraction as three decimals, "0.125"; "1.000" when it rounds up to a whole.
String ThreeDecimals(double fraction) { return String::Formatted("%.3f", fraction); }

// Speaking three decimals, a fraction of .9995 or more would read as "Point Zero" after the
// unchanged whole part; the value is rounded to the next whole away from zero instead, so that
// 12.9996 reads "Thirteen Point Zero".
double CarryRoundedFraction(double value) {
  const double magnitude = std::fabs(value);
  const double whole = std::trunc(magnitude);
  if (ThreeDecimals(magnitude - whole).FirstChar() != '1') return value;
  return std::copysign(whole + 1, value);
}

void AppendCheque(String& out, double fraction) {
  if (fraction == 0) {
    out.Append(" and No/100");
    return;
  }
  out.Append(" and ");
  out.AppendFormat("%.0f/100", fraction * 100);
}

void AppendEighths(String& out, double fraction) {
  if (fraction == 0) return;
  for (int i = 0; i < 7; ++i) {
    if (std::fabs(fraction - (i + 1) * 0.125) <= kEighthTolerance) {
      out.Append(" and ");
      out.Append(kEighths[i]);
      return;
    }
  }
  if (std::fabs(fraction) > kEighthTolerance) {
    out.Append(" and ");
    out.AppendFormat("%.0f/1000", fraction * 1000);
  }
}

// " Point" and the three decimals digit by digit, up to the last one that is not zero; a whole
// number gives " Point Zero".
void AppendDigits(String& out, double fraction) {
  out.Append(" Point");
  const String text = ThreeDecimals(fraction);
  const int point = text.FindChar('.');
  int end = text.Length();
  while (end > point + 1 && text.CharAt(end - 1) == '0') --end;
  if (point < 0 || end == point + 1) {
    out.Append(" Zero");
    return;
  }
  for (int i = point + 1; i < end; ++i) {
    out.AppendChar(' ');
    out.Append(kUnitsAndTeens[text.CharAt(i) - '0']);
  }
}

}  // namespace

String NumberToWords(double value, int style) {
  String out;
  if (!(std::fabs(value) < kWordsLimit)) return out;  // NaN fails the comparison too
  if (style == kWordsYear && AppendYear(out, value)) return out;
  if (style == kWordsDigitByDigit) value = CarryRoundedFraction(value);
  const double left = AppendWhole(out, value);
  // A hair below zero means the whole part was rounded up: nothing is left to speak.
  const double fraction = left > 0 ? left : 0.0;
  switch (style) {
    case kWordsCheque:
      AppendCheque(out, fraction);
      break;
    case kWordsEighths:
      AppendEighths(out, fraction);
      break;
    case kWordsDigitByDigit:
      AppendDigits(out, fraction);
      break;
    default:
      break;
  }
  return out;
}
