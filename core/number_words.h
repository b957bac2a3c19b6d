// Numbers as English words, ordinals, byte sizes and fixed-point texts. Words are capitalised and
// separated by single spaces ("One Hundred Twenty Three"). Each function returns a new String for
// any input; out-of-range and non-finite values give the results stated below.
#pragma once

#include <cstdint>

#include "core/string.h"

// Styles of NumberToWords.
constexpr int kWordsDigitByDigit = -1;  // "Twelve Point Five"; decimals spoken digit by digit
constexpr int kWordsWhole = 0;          // whole part only: "Twelve"
constexpr int kWordsCheque = 1;         // hundredths over 100: "Twelve and 34/100", "and No/100"
constexpr int kWordsEighths = 2;        // "Twelve and One Half"; otherwise "and 340/1000"
constexpr int kWordsYear = 3;  // "Nineteen Ninety Nine", "Nineteen Oh Five", "Nineteen Hundred"

// Below this magnitude every whole-number step of NumberToWords is exact in a double.
constexpr double kWordsLimit = 1e15;

// The value in words; whole parts are taken by truncation toward zero. Any other style number
// gives the whole part only. A NaN, an infinity or a value whose magnitude is kWordsLimit or more
// cannot be spoken exactly and gives an empty String.
String NumberToWords(double value, int style);

// n as an ordinal in words: "First", "Twenty First", "One Hundred Twelfth", "Negative Third".
String OrdinalWords(int n);

// n in digits with its English suffix: "1st", "2nd", "3rd", "11th", "22nd", "111th", "-1st". The
// suffix follows the magnitude's last two digits, so 111 and negatives read as English does
// rather than as a remainder by 10 would give ("111st", "-1th").
String ShortOrdinal(int n);

// A byte count with a unit of powers of 1,024: "1023 bytes", "1.50 KB", "1.00 GB", "2.00 TB".
String SizeText(int64_t bytes);

// Most decimals FormatDecimal writes: far beyond a double's 17 significant digits, and it keeps
// a careless count from asking for a text of gigabytes.
constexpr int kMaxDecimals = 100;

// The value in fixed-point notation with that many decimals (at most kMaxDecimals); decimals < 0
// means six decimals with trailing zeros, and then a bare decimal point, removed ("2.5", "3").
// A NaN gives "nan" and infinities "inf" and "-inf", whatever the decimals.
String FormatDecimal(double value, int decimals);
