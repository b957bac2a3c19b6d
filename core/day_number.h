// The day-number arithmetic of Date, shared by its conversions in both directions.
#pragma once

#include <cfloat>
#include <cstdint>

namespace day_number {

// The calendar conversions multiply by fixed double factors and truncate; where a product lands
// just below a whole number decides the day, so every product must be rounded to double
// precision exactly as written. On x87 (32-bit x86 without SSE math) intermediates keep extended
// precision unless stored; the volatile store forces the rounding there.
inline double Rounded(double v) {
#if FLT_EVAL_METHOD != 0
  volatile double stored = v;
  return stored;
#else
  return v;
#endif
}

// Truncation toward zero of a product of doubles. The callers' operands stay far inside the
// range of int64_t (|product| < 2^50).
inline int64_t TruncProduct(double a, double b) { return int64_t(Rounded(Rounded(a) * b)); }

}  // namespace day_number
