// ParseNumber: the decimal reader under the date and time parsers and the numeric readers of
// Value. Bounded by the text's counted length, so a text without a terminator inside its length
// (or with NULs in it) is never read beyond its end.
#include <cstdint>

#include "core/date_time.h"
#include "core/string_chars.h"

using string_chars::IsDigit;
using string_chars::IsWhitespace;

namespace {

int SkipWhitespace(const char* text, int length, int pos) {
  while (pos < length && IsWhitespace(text[pos])) ++pos;
  return pos;
}

}  // namespace

int32_t ParseNumber(const String& text, int& pos, int flags) {
  const int32_t missing = (flags & kNumberMissingIsMin) ? INT32_MIN : 0;
  const char* chars = text.CStr();
  const int length = text.Length();
  if (pos < 0 || pos > length) return missing;

  int p = pos;
  if (flags & kNumberSkipLeadingSpace) p = SkipWhitespace(chars, length, p);
  bool negative = false;
  if (!(flags & kNumberUnsigned) && p < length && (chars[p] == '+' || chars[p] == '-')) {
    negative = chars[p] == '-';
    ++p;
  }
  if (p >= length || !IsDigit(chars[p])) return missing;

  // Unsigned arithmetic: the value wraps modulo 2^32 instead of overflowing.
  uint32_t value = 0;
  while (p < length && IsDigit(chars[p])) value = value * 10u + uint32_t(chars[p++] - '0');
  if (flags & kNumberSkipTrailingSpace) p = SkipWhitespace(chars, length, p);
  if ((flags & kNumberSkipComma) && p < length && chars[p] == ',') {
    ++p;
    if (flags & kNumberSkipTrailingSpace) p = SkipWhitespace(chars, length, p);
  }
  pos = p;
  return int32_t(negative ? 0u - value : value);
}
