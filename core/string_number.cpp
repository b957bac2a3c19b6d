// String: decimal numbers in texts, the byte scrambler, and the small numeric helpers kept with
// the text type (random numbers, rounding up).
#include <climits>
#include <cstdint>
#include <cstdlib>

#include "core/string.h"
#include "core/string_chars.h"

using string_chars::IsDigit;

namespace {

// An optional sign and the decimal digits behind it, read from text[pos]; thousands separators
// are skipped when skipCommas is set. The magnitude wraps modulo 2^64 (callers that need no
// overflow check simply truncate it); saturated tells whether it ever exceeded limit.
struct DecimalRead {
  bool negative = false;
  uint64_t magnitude = 0;
  bool saturated = false;
  int end = 0;
};

DecimalRead ReadDecimal(const char* text, int length, int pos, bool skipCommas, uint64_t limit) {
  DecimalRead result;
  auto skip = [&] {
    while (skipCommas && pos < length && text[pos] == ',') ++pos;
  };
  skip();
  if (pos < length && (text[pos] == '+' || text[pos] == '-')) {
    result.negative = text[pos] == '-';
    ++pos;
  }
  skip();
  while (pos < length && IsDigit(text[pos])) {
    result.magnitude = result.magnitude * 10 + uint64_t(text[pos] - '0');
    if (result.magnitude > limit) result.saturated = true;
    ++pos;
    skip();
  }
  result.end = pos;
  return result;
}

}  // namespace

String String::FromInt64(int64_t value) {
  char digits[24];
  int n = 0;
  uint64_t magnitude = value < 0 ? 0 - uint64_t(value) : uint64_t(value);
  do {
    digits[n++] = char('0' + magnitude % 10);
    magnitude /= 10;
  } while (magnitude != 0);
  if (value < 0) digits[n++] = '-';
  String text;
  char* out = text.Grow(n);
  for (int i = 0; i < n; ++i) out[i] = digits[n - 1 - i];
  return text;
}

int String::ToInt() const {
  int start = FindNumberStart(0);
  if (start < 0) return 0;
  // Like the standard conversion, a value beyond 32 bits saturates at the nearest limit.
  DecimalRead read = ReadDecimal(text_, length_, start, true, uint64_t(INT_MAX) + 1);
  if (read.negative) {
    return read.saturated ? INT_MIN : int(int64_t(0) - int64_t(read.magnitude));
  }
  return (read.saturated || read.magnitude > uint64_t(INT_MAX)) ? INT_MAX : int(read.magnitude);
}

int64_t String::ToInt64() const {
  int start = FindNumberStart(0);
  if (start < 0) return 0;
  DecimalRead read = ReadDecimal(text_, length_, start, true, UINT64_MAX);
  uint64_t value = read.negative ? 0 - read.magnitude : read.magnitude;
  return int64_t(value);
}

int String::ParseIntAt(int& pos) const {
  if (pos < 0 || pos >= length_) return INT_MIN;
  DecimalRead read = ReadDecimal(text_, length_, pos, false, UINT64_MAX);
  pos = read.end;
  uint32_t value = uint32_t(read.magnitude);
  if (read.negative) value = 0 - value;
  return int32_t(value);
}

void String::XorWith(uint32_t key) {
  // Whole groups take the key as a little-endian word; the 1 to 3 bytes left over take its low,
  // second and third byte. Both come down to key byte (i mod 4) for byte i.
  for (int i = 0; i < length_; ++i) text_[i] = char(text_[i] ^ char((key >> (8 * (i & 3))) & 0xFF));
}

int Random(int n) {
  uint32_t high = uint32_t(std::rand());
  uint32_t low = uint32_t(std::rand());
  int value = int(((high << 16) + low) & 0x7FFFFFFFu);
  if (n < 2) return 0;
  if (n == String::kAll) return value;
  return value % n;
}

int RoundUpToMultiple(int v, int m) {
  if (m < 2) return v;
  int remainder = v % m;
  if (remainder == 0) return v;
  // Computed without signed overflow: past the largest int the result wraps.
  uint32_t base = uint32_t(v) - uint32_t(remainder);
  if (remainder > 0) base += uint32_t(m);
  return int32_t(base);
}
