// The decoder that Decompress runs. Each token is decoded from one 64-bit window of the stream
// (a single load); literal runs move many bytes at a time, byte runs are one fill and copies one
// move. A token whose fields do not fit in the window's valid bits - only near the end of the
// block or with extreme counts - is decoded bit by bit instead, so that the results, success and
// failure, are exactly those of the reference decoder.
#include <cstdint>

#include "archive/bit_reader.h"
#include "archive/decompressor.h"

namespace {

constexpr int kMaxFieldBits = 32;
// Peek guarantees this many valid bits whenever the block holds them.
constexpr int kWindowBits = 57;

int Min(int a, int b) { return a < b ? a : b; }

// Number of 1 bits at the bottom of bits; bits must have a 0 somewhere (all windows here have
// been shifted right, so their top bit is 0).
int CountLowOnes(uint64_t bits) { return __builtin_ctzll(~bits); }

uint32_t LowBits(uint64_t bits, int width) {
  return uint32_t(bits & ((uint64_t(1) << width) - 1));
}

// A number N(base, step) at the bottom of bits: sets value and the bits it takes. A prefix too
// long for the window reports more bits than any window holds, and no value.
void TakeNumber(uint64_t bits, int base, int step, uint32_t& value, int& used) {
  const int ones = CountLowOnes(bits);
  if (ones >= kWindowBits) {
    value = 0;
    used = 64;
    return;
  }
  const int width = Min(base + step * ones, kMaxFieldBits);
  value = LowBits(bits >> (ones + 1), width);
  used = ones + 1 + width;
}

// The slow path: the same number, read bit by bit, for fields that reach past the window.
bool ReadNumberBitwise(BitReader& in, int base, int step, uint32_t& value) {
  if (in.Remaining() < 2) return false;
  int width = base;
  while (in.ReadBit() == 1) {
    if (width < kMaxFieldBits) width += step;
  }
  return in.ReadBits(Min(width, kMaxFieldBits), value);
}

bool FinishLiteralRun(BitReader& in, ByteWriter& out, uint32_t countLessOne) {
  const int64_t count = int64_t(countLessOne) + 1;
  if (count * 8 > in.Remaining()) return false;
  uint8_t* target = out.Reserve(count);
  return target != nullptr && in.ReadBytes(target, count);
}

bool DecodeTokenBitwise(BitReader& in, ByteWriter& out) {
  if (in.ReadBit() == 0) {
    uint32_t countLessOne;
    return ReadNumberBitwise(in, 2, 2, countLessOne) && FinishLiteralRun(in, out, countLessOne);
  }
  if (in.ReadBit() == 1) {
    uint32_t byte, countLessThree;
    return in.ReadBits(8, byte) && ReadNumberBitwise(in, 1, 1, countLessThree) &&
           out.Fill(uint8_t(byte), int64_t(countLessThree) + 3);
  }
  uint32_t lengthLessFour, distanceLessFour;
  return ReadNumberBitwise(in, 2, 1, lengthLessFour) &&
         ReadNumberBitwise(in, 12, 2, distanceLessFour) &&
         out.CopyFromBack(int64_t(distanceLessFour) + 4, int64_t(lengthLessFour) + 4);
}

// One token from the window; kSlow, with nothing consumed, when its fields pass the valid bits.
enum class Step { kDone, kFailed, kSlow };

Step DecodeTokenFromWindow(BitReader& in, ByteWriter& out) {
  const uint64_t window = in.Peek();
  const int valid = in.Remaining() < kWindowBits ? int(in.Remaining()) : kWindowBits;
  if ((window & 1) == 0) {
    uint32_t countLessOne;
    int used;
    TakeNumber(window >> 1, 2, 2, countLessOne, used);
    if (1 + used > valid) return Step::kSlow;
    in.Skip(1 + used);
    return FinishLiteralRun(in, out, countLessOne) ? Step::kDone : Step::kFailed;
  }
  if ((window & 2) != 0) {
    const uint8_t byte = uint8_t(window >> 2);
    uint32_t countLessThree;
    int used;
    TakeNumber(window >> 10, 1, 1, countLessThree, used);
    if (10 + used > valid) return Step::kSlow;
    in.Skip(10 + used);
    return out.Fill(byte, int64_t(countLessThree) + 3) ? Step::kDone : Step::kFailed;
  }
  uint32_t lengthLessFour, distanceLessFour;
  int lengthUsed, distanceUsed;
  TakeNumber(window >> 2, 2, 1, lengthLessFour, lengthUsed);
  if (2 + lengthUsed > valid) return Step::kSlow;
  TakeNumber(window >> (2 + lengthUsed), 12, 2, distanceLessFour, distanceUsed);
  if (2 + lengthUsed + distanceUsed > valid) return Step::kSlow;
  in.Skip(2 + lengthUsed + distanceUsed);
  return out.CopyFromBack(int64_t(distanceLessFour) + 4, int64_t(lengthLessFour) + 4)
             ? Step::kDone
             : Step::kFailed;
}

}  // namespace

bool DecompressFast(const uint8_t* block, int blockSize, uint8_t* output, int outputSize) {
  int uncompressedSize;
  if (!ReadBlockHeader(block, blockSize, uncompressedSize)) return false;
  if (uncompressedSize != outputSize) return false;
  BitReader in(block, blockSize, int64_t(kBlockHeaderSize) * 8);
  ByteWriter out(output, outputSize);
  while (!out.IsFull()) {
    switch (DecodeTokenFromWindow(in, out)) {
      case Step::kDone: break;
      case Step::kFailed: return false;
      case Step::kSlow:
        if (!DecodeTokenBitwise(in, out)) return false;
        break;
    }
  }
  return true;
}
