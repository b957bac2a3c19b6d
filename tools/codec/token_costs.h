// The exact size in bits of each token of the block format, for the parsers to choose between
// tokens. The field widths mirror the decoder: N(base, step) is k one bits, a zero bit and a
// field of min(base + step * k, 32) bits, and the writer always uses the fewest ones that hold
// the value.
#pragma once

#include <cstdint>

namespace codec {

// Shortest copy, nearest copy source and shortest byte run the format can express.
inline constexpr int kMinCopyLength = 4;
inline constexpr int kMinCopyDistance = 4;
inline constexpr int kMinByteRun = 3;

// Bits needed to write value (0 needs 0).
inline int BitLength(uint32_t value) { return value == 0 ? 0 : 32 - __builtin_clz(value); }

// The number of prefix ones with which N(base, step) holds value.
inline int PrefixOnes(int base, int step, uint32_t value) {
  const int needed = BitLength(value);
  return needed <= base ? 0 : (needed - base + step - 1) / step;
}

inline int FieldWidth(int base, int step, int ones) {
  const int width = base + step * ones;
  return width > 32 ? 32 : width;
}

inline int NumberBits(int base, int step, uint32_t value) {
  const int ones = PrefixOnes(base, step, value);
  return ones + 1 + FieldWidth(base, step, ones);
}

// Prefix bit, count - 1 as N(2, 2), then the bytes.
inline int64_t LiteralRunBits(int64_t count) {
  return 1 + NumberBits(2, 2, uint32_t(count - 1)) + 8 * count;
}

// The part of a literal run's cost that is not its bytes.
inline int LiteralHeaderBits(int64_t count) { return 1 + NumberBits(2, 2, uint32_t(count - 1)); }

// Prefix 1 1, the byte, count - 3 as N(1, 1).
inline int ByteRunBits(int64_t count) { return 10 + NumberBits(1, 1, uint32_t(count - 3)); }

// Prefix 1 0, length - 4 as N(2, 1), distance - 4 as N(12, 2).
inline int CopyLengthBits(int64_t length) { return NumberBits(2, 1, uint32_t(length - 4)); }
inline int CopyDistanceBits(int64_t distance) { return NumberBits(12, 2, uint32_t(distance - 4)); }
inline int CopyBits(int64_t length, int64_t distance) {
  return 2 + CopyLengthBits(length) + CopyDistanceBits(distance);
}

// A parse may weigh decoding time beside size, in bits of stream, for blocks that are decoded
// far more often than they are made. Each token costs the decoder about as much as a few bytes
// of output, and a copy from beyond the processor's second-level cache stalls it on main
// memory. So a token can be charged tokenBits on top of its size, and a copy from farther back
// than kNearDistance farCopyBits more: a slightly larger parse that decodes faster wins, while a
// parse that is much smaller still does. The charges steer the choice only; the bits written are
// always the exact sizes above.
inline constexpr int64_t kNearDistance = int64_t(1) << 20;

struct DecodeCharges {
  int tokenBits;    // per copy or byte run
  int farCopyBits;  // more per copy from beyond kNearDistance

  int Copy(int64_t distance) const {
    return tokenBits + (distance > kNearDistance ? farCopyBits : 0);
  }
  int ByteRun() const { return tokenBits; }
};

// Size alone: the smallest blocks.
inline constexpr DecodeCharges kSizeOnly = {0, 0};
// What the middle levels and the fast-decoding optimal level charge.
inline constexpr DecodeCharges kDecodeTimeCharges = {24, 24};
// A greedy parse cannot trade a short copy now for a better token later, so the fastest level
// charges tokens lightly: its size stays nearly that of a greedy parse by size alone.
inline constexpr DecodeCharges kGreedyCharges = {8, 24};

}  // namespace codec
