#include "core/decimal_number.h"

#include <cstdint>
#include <cstring>

#include "core/big_number.h"

namespace {

// Significant digits kept: 768 decide the rounding of every double; those after them count only
// as "something non-zero follows".
constexpr int kKeptDigits = 800;
// The quotient of the exact division is taken with 55 or 56 bits: 53 for the double, the rest
// for rounding (plus the remainder as a last bit).
constexpr int kQuotientBits = 55;

double FromBits(uint64_t bits) {
  double value;
  std::memcpy(&value, &bits, sizeof value);
  return value;
}

// The bits of the double nearest to q * 2^-scale, q being an integer of kQuotientBits or one
// more bits and `inexact` saying whether anything non-zero lies below q.
uint64_t NearestDouble(uint64_t q, int scale, bool inexact) {
  const int qLength = 64 - __builtin_clzll(q);
  const int exponent = qLength - 1 - scale;  // the value lies in [2^exponent, 2^(exponent + 1))
  const bool subnormal = exponent < -1022;
  // Bits of q below the double's last place: below 2^-1074 for a subnormal.
  const int drop = subnormal ? scale - 1074 : qLength - 53;
  uint64_t mantissa = drop < 64 ? q >> drop : 0;
  const bool half = drop >= 1 && drop <= 64 && ((q >> (drop - 1)) & 1) != 0;
  const bool below =
      inexact || (drop >= 2 && (drop > 64 ? q != 0 : (q & ((uint64_t(1) << (drop - 1)) - 1)) != 0));
  if (half && (below || (mantissa & 1) != 0)) ++mantissa;
  // A subnormal that rounds up to 2^52 is the smallest normal double, which these bits are.
  if (subnormal) return mantissa;
  int biased = drop - scale + 1075;
  if (mantissa == uint64_t(1) << 53) {
    mantissa >>= 1;
    ++biased;
  }
  if (biased >= 0x7FF) return uint64_t(0x7FF) << 52;
  return (uint64_t(biased) << 52) | (mantissa - (uint64_t(1) << 52));
}

}  // namespace

double DecimalToDouble(const char* text, int length) {
  int pos = 0;
  const bool negative = pos < length && text[pos] == '-';
  if (pos < length && (text[pos] == '-' || text[pos] == '+')) ++pos;
  const uint64_t sign = negative ? uint64_t(1) << 63 : 0;

  // The number is digits * 10^exponent10.
  BigNumber digits;
  int kept = 0;
  int exponent10 = 0;
  bool inexact = false;
  bool fraction = false;
  for (; pos < length; ++pos) {
    const char ch = text[pos];
    if (ch == '.') {
      fraction = true;
      continue;
    }
    if (kept == 0 && ch == '0') {
      if (fraction) --exponent10;
      continue;
    }
    if (kept < kKeptDigits) {
      digits.MultiplyAdd(10, uint32_t(ch - '0'));
      ++kept;
      if (fraction) --exponent10;
    } else {
      inexact = inexact || ch != '0';
      if (!fraction) ++exponent10;
    }
  }
  if (kept == 0) return FromBits(sign);
  if (inexact) {
    // A digit 1 after the kept ones stands for the non-zero rest: the same rounding, exactly.
    digits.MultiplyAdd(10, 1);
    --exponent10;
  }
  // The number lies in [10^order, 10^(order + 1)).
  const int order = kept - 1 + exponent10 + (inexact ? 1 : 0);
  if (order > 308) return FromBits(sign | (uint64_t(0x7FF) << 52));
  if (order < -324) return FromBits(sign);

  BigNumber numerator = digits;
  BigNumber denominator(1);
  if (exponent10 >= 0) {
    numerator.MultiplyByPowerOfTen(exponent10);
  } else {
    denominator.MultiplyByPowerOfTen(-exponent10);
  }
  // Scaled so that the quotient has kQuotientBits or one more bits.
  const int scale = kQuotientBits - (numerator.BitLength() - denominator.BitLength());
  if (scale > 0) {
    numerator.ShiftLeft(scale);
  } else {
    denominator.ShiftLeft(-scale);
  }
  // Long division, one quotient bit at a time from the highest it can have.
  BigNumber step = denominator;
  step.ShiftLeft(kQuotientBits);
  uint64_t q = 0;
  for (int bit = kQuotientBits; bit >= 0; --bit) {
    if (Compare(numerator, step) >= 0) {
      numerator.Subtract(step);
      q |= uint64_t(1) << bit;
    }
    step.ShiftRight(1);
  }
  return FromBits(sign | NearestDouble(q, scale, !numerator.IsZero()));
}
