// Rounding an intermediate result to double precision, for the rules that are defined in double
// arithmetic exactly as written (the calendar factors, the title's pixel height).
#pragma once

#include <cfloat>

// On x87 (the 32-bit engine, without SSE math) intermediates keep extended precision unless
// stored, and a product that lands on a whole number in double precision can come out just below
// it and truncate one lower; the volatile store forces the rounding there. Elsewhere it is v.
inline double RoundToDouble(double v) {
#if FLT_EVAL_METHOD != 0
  volatile double stored = v;
  return stored;
#else
  return v;
#endif
}
