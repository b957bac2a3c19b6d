#include "core/big_number.h"

BigNumber::BigNumber(uint64_t value) : used_(0) {
  limbs_[0] = uint32_t(value);
  limbs_[1] = uint32_t(value >> 32);
  used_ = 2;
  Trim();
}

void BigNumber::Trim() {
  while (used_ > 0 && limbs_[used_ - 1] == 0) --used_;
}

int BigNumber::BitLength() const {
  if (used_ == 0) return 0;
  return 32 * (used_ - 1) + (32 - __builtin_clz(limbs_[used_ - 1]));
}

bool BigNumber::Bit(int index) const {
  const int limb = index / 32;
  return index >= 0 && limb < used_ && ((limbs_[limb] >> (index % 32)) & 1) != 0;
}

bool BigNumber::AnyBitBelow(int index) const {
  if (index <= 0) return false;
  const int whole = index / 32 < used_ ? index / 32 : used_;
  for (int i = 0; i < whole; ++i) {
    if (limbs_[i] != 0) return true;
  }
  return whole < used_ && index % 32 != 0 && (limbs_[whole] & ((1u << (index % 32)) - 1)) != 0;
}

bool BigNumber::MultiplyAdd(uint32_t factor, uint32_t addend) {
  uint64_t carry = addend;
  for (int i = 0; i < used_; ++i) {
    const uint64_t product = uint64_t(limbs_[i]) * factor + carry;
    limbs_[i] = uint32_t(product);
    carry = product >> 32;
  }
  if (carry != 0) {
    if (used_ == kBigNumberLimbs) return false;
    limbs_[used_++] = uint32_t(carry);
  }
  Trim();
  return true;
}

bool BigNumber::MultiplyByPowerOfTen(int exponent) {
  for (; exponent >= 9; exponent -= 9) {
    if (!MultiplyAdd(1000000000u)) return false;
  }
  uint32_t rest = 1;
  for (; exponent > 0; --exponent) rest *= 10;
  return MultiplyAdd(rest);
}

bool BigNumber::ShiftLeft(int bits) {
  if (used_ == 0 || bits == 0) return true;
  const int length = BitLength() + bits;
  if (length > kBigNumberBits) return false;
  const int limbShift = bits / 32;
  const int bitShift = bits % 32;
  const int newUsed = (length + 31) / 32;
  // From the top down, each limb is made of two old limbs at or below it, not yet overwritten.
  for (int j = newUsed - 1; j >= 0; --j) {
    const int source = j - limbShift;
    const uint32_t high = source >= 0 && source < used_ ? limbs_[source] : 0;
    const uint32_t low = source >= 1 && source - 1 < used_ ? limbs_[source - 1] : 0;
    limbs_[j] = bitShift == 0 ? high : (high << bitShift) | (low >> (32 - bitShift));
  }
  used_ = newUsed;
  return true;
}

void BigNumber::ShiftRight(int bits) {
  const int limbShift = bits / 32;
  const int bitShift = bits % 32;
  if (limbShift >= used_) {
    used_ = 0;
    return;
  }
  const int kept = used_ - limbShift;
  for (int i = 0; i < kept; ++i) {
    uint64_t wide = limbs_[i + limbShift];
    if (i + limbShift + 1 < used_) wide |= uint64_t(limbs_[i + limbShift + 1]) << 32;
    limbs_[i] = uint32_t(wide >> bitShift);
  }
  used_ = kept;
  Trim();
}

void BigNumber::Subtract(const BigNumber& other) {
  int64_t borrow = 0;
  for (int i = 0; i < used_; ++i) {
    int64_t difference = int64_t(limbs_[i]) - borrow - (i < other.used_ ? other.limbs_[i] : 0);
    borrow = difference < 0 ? 1 : 0;
    limbs_[i] = uint32_t(difference + (borrow << 32));
  }
  Trim();
}

uint32_t BigNumber::DivideByBillion() {
  uint64_t remainder = 0;
  for (int i = used_ - 1; i >= 0; --i) {
    const uint64_t current = (remainder << 32) | limbs_[i];
    limbs_[i] = uint32_t(current / 1000000000u);
    remainder = current % 1000000000u;
  }
  Trim();
  return uint32_t(remainder);
}

int Compare(const BigNumber& a, const BigNumber& b) {
  if (a.used_ != b.used_) return a.used_ < b.used_ ? -1 : 1;
  for (int i = a.used_ - 1; i >= 0; --i) {
    if (a.limbs_[i] != b.limbs_[i]) return a.limbs_[i] < b.limbs_[i] ? -1 : 1;
  }
  return 0;
}
