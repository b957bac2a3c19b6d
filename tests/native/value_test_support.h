// Helpers shared by the Value tests: one-line makers for values of each kind, so that tables of
// cases can list a value as an expression, and a byte-exact view of texts.
#pragma once

#include <cstdint>
#include <string>

#include "core/value.h"

namespace value_test {

inline std::string Bytes(const String& s) { return std::string(s.CStr(), size_t(s.Length())); }

inline Value Int64(int64_t v) {
  Value value;
  value.SetInt64(v);
  return value;
}

inline Value Int32(int32_t v) {
  Value value;
  value.SetInt32(v);
  return value;
}

inline Value Real(double v) {
  Value value;
  value.SetDouble(v);
  return value;
}

// A text of exactly these bytes (a std::string literal with ...s may carry NULs).
inline Value Text(const std::string& bytes) {
  Value value;
  value.SetText(bytes.data(), int(bytes.size()));
  return value;
}

inline Value DateValue(int month, int day, int year) {
  Value value;
  value.SetDate(month, day, year);
  return value;
}

inline Value DateTimeValue(int month, int day, int year, int hour, int minute, int second) {
  Value value;
  value.SetDateTime(month, day, year, hour, minute, second);
  return value;
}

inline Value TimeValue(int hour, int minute, int second) {
  Value value;
  value.SetTime(hour, minute, second);
  return value;
}

// A value of the kind given by a setter applied to a fresh Value: Made([](Value& v) { ... }).
template <class Setter>
Value Made(Setter set) {
  Value value;
  set(value);
  return value;
}

}  // namespace value_test
