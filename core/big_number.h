// A non-negative integer of up to kBigNumberBits bits, for exact conversions between doubles and
// decimal text: enough for a double's whole range times the powers of ten those conversions
// need. Operations that would pass the capacity leave the number unchanged and return false.
#pragma once

#include <cstdint>

constexpr int kBigNumberLimbs = 200;
constexpr int kBigNumberBits = 32 * kBigNumberLimbs;

class BigNumber {
 public:
  explicit BigNumber(uint64_t value = 0);

  bool IsZero() const { return used_ == 0; }
  int BitLength() const;
  bool Bit(int index) const;
  // True when any bit below `index` is set.
  bool AnyBitBelow(int index) const;

  bool MultiplyAdd(uint32_t factor, uint32_t addend = 0);
  bool MultiplyByPowerOfTen(int exponent);
  bool ShiftLeft(int bits);
  void ShiftRight(int bits);
  // Requires other <= *this.
  void Subtract(const BigNumber& other);
  // Divides by 10^9 and returns the remainder.
  uint32_t DivideByBillion();

  friend int Compare(const BigNumber& a, const BigNumber& b);

 private:
  void Trim();

  uint32_t limbs_[kBigNumberLimbs];
  int used_;  // limbs in use; the top one is non-zero
};
