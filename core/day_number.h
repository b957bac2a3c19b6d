// The day-number arithmetic of Date, shared by its conversions in both directions.
#pragma once

#include <cstdint>

#include "core/double_rounding.h"

namespace day_number {

// The calendar conversions multiply by fixed double factors and truncate; where a product lands
// just below a whole number decides the day, so every product is rounded to double precision
// exactly as written. Truncation toward zero of a product of doubles; the callers' operands stay
// far inside the range of int64_t (|product| < 2^50).
inline int64_t TruncProduct(double a, double b) {
  return int64_t(RoundToDouble(RoundToDouble(a) * b));
}

}  // namespace day_number
