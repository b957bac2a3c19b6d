// Value: the readers into truth values, integers, floating numbers and calendar values.
#include <cfloat>
#include <cstdint>
#include <limits>

#include "core/decimal_number.h"
#include "core/string_chars.h"
#include "core/value.h"

using string_chars::IsDigit;

namespace {

// 2^63 as a double: the first value above the 64-bit signed range (the range's lower end, -2^63,
// is itself a double).
constexpr double kTwoTo63 = 9223372036854775808.0;

// Truncation toward zero that is defined for every double: converting a double outside the
// target range is undefined behaviour in C++, so the limits are taken explicitly.
int64_t TruncateToInt64(double value) {
  if (value != value) return 0;  // NaN has no whole part
  if (value >= kTwoTo63) return INT64_MAX;
  if (value < -kTwoTo63) return INT64_MIN;
  return int64_t(value);
}

// The low bits, by modular conversion (no overflow is possible).
int8_t Low8(int64_t v) { return int8_t(uint8_t(uint64_t(v))); }
uint8_t LowU8(int64_t v) { return uint8_t(uint64_t(v)); }
int16_t Low16(int64_t v) { return int16_t(uint16_t(uint64_t(v))); }
int32_t Low32(int64_t v) { return int32_t(uint32_t(uint64_t(v))); }

// A double narrowed to float without undefined behaviour: beyond the largest float the result
// is the infinity of the value's sign.
float NarrowToFloat(double value) {
  if (value > double(FLT_MAX)) return std::numeric_limits<float>::infinity();
  if (value < -double(FLT_MAX)) return -std::numeric_limits<float>::infinity();
  return float(value);  // NaN stays NaN
}

// An optional sign and the decimal digits after it, at the start of the counted text; the value
// wraps modulo 2^64 (there is no overflow check). No digits give 0.
int64_t ParseInt64Prefix(const String& text) {
  const char* chars = text.CStr();
  const int length = text.Length();
  int pos = 0;
  bool negative = false;
  if (pos < length && (chars[pos] == '+' || chars[pos] == '-')) {
    negative = chars[pos] == '-';
    ++pos;
  }
  uint64_t magnitude = 0;
  while (pos < length && IsDigit(chars[pos])) {
    magnitude = magnitude * 10u + uint64_t(chars[pos++] - '0');
  }
  return int64_t(negative ? 0u - magnitude : magnitude);
}

// An optional sign, digits, and an optional '.' with fraction digits at the start of the counted
// text, with at least one digit before or after the point; converted to the nearest double. Texts
// in the engine use the C locale's '.' as the decimal point.
double ParseDecimalPrefix(const String& text) {
  const char* chars = text.CStr();
  const int length = text.Length();
  int pos = 0;
  if (pos < length && (chars[pos] == '+' || chars[pos] == '-')) ++pos;
  int digits = 0;
  for (; pos < length && IsDigit(chars[pos]); ++pos) ++digits;
  if (pos < length && chars[pos] == '.') {
    ++pos;
    for (; pos < length && IsDigit(chars[pos]); ++pos) ++digits;
  }
  if (digits == 0) return 0.0;
  return DecimalToDouble(chars, pos);
}

}  // namespace

int64_t Value::WholeNumber() const {
  if (storage_ == kIntegerStorage) return integer_;
  if (storage_ == kRealStorage) return TruncateToInt64(real_);
  return 0;
}

int32_t Value::LeadingTextNumber() const {
  int pos = 0;
  return ParseNumber(text_, pos, 0);
}

bool Value::ToBool() const {
  switch (storage_) {
    case kIntegerStorage:
      return integer_ != 0;
    case kRealStorage:
      return real_ != 0.0;
    case kTextStorage:
      return text_.ToBool();
    case kCalendarStorage:
      if (type_ == kDate) return calendar_.date.IsValid();
      if (type_ == kDateTime) return calendar_.date.IsValid() && calendar_.time.IsValid();
      if (type_ == kTime) return calendar_.time.IsValid();
      return false;
    default:
      return false;
  }
}

int8_t Value::ToInt8() const {
  // A text reads as its first character's code, not as a number.
  if (storage_ == kTextStorage) return int8_t(text_.FirstChar());
  return Low8(WholeNumber());
}

uint8_t Value::ToUInt8() const {
  if (storage_ == kTextStorage) return LowU8(LeadingTextNumber());
  return LowU8(WholeNumber());
}

int16_t Value::ToInt16() const {
  if (storage_ == kTextStorage) return Low16(LeadingTextNumber());
  return Low16(WholeNumber());
}

int32_t Value::ToInt32() const {
  if (storage_ == kTextStorage) return LeadingTextNumber();
  if (storage_ == kCalendarStorage) return calendar_.date.dayNumber;
  return Low32(WholeNumber());
}

int64_t Value::ToInt64() const {
  if (storage_ == kTextStorage) return ParseInt64Prefix(text_);
  if (storage_ == kCalendarStorage) return calendar_.date.dayNumber;
  return WholeNumber();
}

float Value::ToFloat() const {
  switch (storage_) {
    case kIntegerStorage:
      return float(integer_);
    case kRealStorage:
      return NarrowToFloat(real_);
    case kTextStorage:
      return float(LeadingTextNumber());
    default:
      return 0.0f;
  }
}

double Value::ToDouble() const {
  switch (storage_) {
    case kIntegerStorage:
      return double(integer_);
    case kRealStorage:
      return real_;
    case kTextStorage:
      return ParseDecimalPrefix(text_);
    default:
      return 0.0;
  }
}

Date Value::ToDate() const {
  Date date;
  if (storage_ == kTextStorage) {
    date.ParseExpanded(text_, false);  // a failure leaves the empty date
  } else if (storage_ == kCalendarStorage) {
    date = calendar_.date;
  } else if (storage_ == kIntegerStorage &&
             (type_ == kInt32 || type_ == kUInt32 || type_ == kInt64)) {
    date.SetDayNumber(Low32(integer_));
  }
  return date;
}

DateTime Value::ToDateTime() const {
  DateTime dateTime;
  if (storage_ == kTextStorage) {
    dateTime.Parse(text_, false);  // the parts not found stay empty
  } else if (storage_ == kCalendarStorage) {
    dateTime = calendar_;
  }
  return dateTime;
}

Time Value::ToTime() const {
  Time time;
  if (storage_ == kTextStorage) {
    time.Parse(text_);  // a text that is no time leaves the empty time
  } else if (storage_ == kCalendarStorage) {
    time = calendar_.time;
  }
  return time;
}
