// Ordinal numbers, in words ("Twenty First") and in digits with a suffix ("21st").
#include <cstdint>

#include "core/number_words.h"
#include "core/string.h"

namespace {

// Index 1 to 9.
const char* const kOrdinalUnits[10] = {
    "", "First", "Second", "Third", "Fourth", "Fifth", "Sixth", "Seventh", "Eighth", "Ninth",
};

// Index 1 to 9: the tens digit.
const char* const kOrdinalTens[10] = {
    "",         "Tenth",    "Twentieth",  "Thirtieth", "Fortieth",
    "Fiftieth", "Sixtieth", "Seventieth", "Eightieth", "Ninetieth",
};

// The cardinal words of a whole number and a space, or nothing for zero: the part spoken before
// the ordinal word.
void AppendLeadingWords(String& out, int64_t whole) {
  if (whole == 0) return;
  out.Append(NumberToWords(double(whole), kWordsWhole));
  out.AppendChar(' ');
}

}  // namespace

String OrdinalWords(int n) {
  String out;
  // Widened so that the most negative int has a magnitude.
  int64_t magnitude = n;
  if (magnitude < 0) {
    out.Append("Negative ");
    magnitude = -magnitude;
  }
  const int lastTwo = int(magnitude % 100);
  if (lastTwo == 12) {
    AppendLeadingWords(out, magnitude - 12);
    out.Append("Twelfth");
    return out;
  }
  if (lastTwo == 0 || (lastTwo >= 10 && lastTwo <= 19)) {
    // "Tenth", "Eleventh", "Thirteenth", "One Hundredth", "Zeroth": the cardinal and "th".
    out.Append(NumberToWords(double(magnitude), kWordsWhole));
    out.Append("th");
    return out;
  }
  const int units = lastTwo % 10;
  if (units == 0) {
    AppendLeadingWords(out, magnitude / 100 * 100);
    out.Append(kOrdinalTens[lastTwo / 10]);
  } else {
    AppendLeadingWords(out, magnitude - units);
    out.Append(kOrdinalUnits[units]);
  }
  return out;
}

String ShortOrdinal(int n) {
  String out = String::FromInt64(n);
  const int64_t magnitude = n < 0 ? -int64_t(n) : int64_t(n);
  const int lastTwo = int(magnitude % 100);
  const int units = lastTwo % 10;
  // Eleven, twelve and thirteen take "th" in every hundred: 11th, 112th, 213th.
  if (lastTwo >= 11 && lastTwo <= 13) {
    out.Append("th");
  } else if (units == 1) {
    out.Append("st");
  } else if (units == 2) {
    out.Append("nd");
  } else if (units == 3) {
    out.Append("rd");
  } else {
    out.Append("th");
  }
  return out;
}
