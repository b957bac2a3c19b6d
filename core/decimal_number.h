// Decimal text to double, rounded correctly (to nearest, ties to even) for any number of digits,
// without the C runtime's strtod and the same on every system.
#pragma once

// The double nearest to the number in text[0, length): an optional sign, digits, and optionally
// a '.' and more digits, with at least one digit in all (the caller has checked the form).
// Too large a number gives infinity, too small a zero, each with the number's sign.
double DecimalToDouble(const char* text, int length);
