// The reference decoder: one bit at a time, in the order of the format. It defines what every
// block decodes to; the fast decoder must agree with it on every input.
#include <cstdint>

#include "archive/bit_reader.h"
#include "archive/decompressor.h"

namespace {

// Field widths never exceed this; wider fields keep only their first 32 bits.
constexpr int64_t kMaxFieldBits = 32;

// A variable-width number: k prefix 1 bits ended by a 0 bit, then a field of
// base + step * k bits. A prefix running into the end of the block ends there; the field then
// cannot be read.
bool ReadNumber(BitReader& in, int base, int step, uint32_t& value) {
  if (in.Remaining() < 2) return false;
  int64_t width = base;
  while (in.ReadBit() == 1) {
    if (width < kMaxFieldBits) width += step;
  }
  if (width > kMaxFieldBits) width = kMaxFieldBits;
  return in.ReadBits(int(width), value);
}

// Prefix 0: count - 1 as N(2, 2), then count bytes of 8 bits each.
bool DecodeLiteralRun(BitReader& in, ByteWriter& out) {
  uint32_t countLessOne;
  if (!ReadNumber(in, 2, 2, countLessOne)) return false;
  const int64_t count = int64_t(countLessOne) + 1;
  if (count * 8 > in.Remaining()) return false;
  if (!out.Fits(count)) return false;
  for (int64_t i = 0; i < count; ++i) {
    uint32_t byte;
    if (!in.ReadBits(8, byte) || !out.PutByte(uint8_t(byte))) return false;
  }
  return true;
}

// Prefix 1 1: the byte as 8 bits, then count - 3 as N(1, 1).
bool DecodeByteRun(BitReader& in, ByteWriter& out) {
  uint32_t byte, countLessThree;
  if (!in.ReadBits(8, byte)) return false;
  if (!ReadNumber(in, 1, 1, countLessThree)) return false;
  const int64_t count = int64_t(countLessThree) + 3;
  if (!out.Fits(count)) return false;
  for (int64_t i = 0; i < count; ++i) out.PutByte(uint8_t(byte));
  return true;
}

// Prefix 1 0: length - 4 as N(2, 1), then distance - 4 as N(12, 2). The source must lie wholly
// in the output before the token.
bool DecodeCopy(BitReader& in, ByteWriter& out) {
  uint32_t lengthLessFour, distanceLessFour;
  if (!ReadNumber(in, 2, 1, lengthLessFour)) return false;
  if (!ReadNumber(in, 12, 2, distanceLessFour)) return false;
  return out.CopyFromBack(int64_t(distanceLessFour) + 4, int64_t(lengthLessFour) + 4);
}

}  // namespace

bool DecompressReference(const uint8_t* block, int blockSize, uint8_t* output, int outputSize) {
  int uncompressedSize;
  if (!ReadBlockHeader(block, blockSize, uncompressedSize)) return false;
  if (uncompressedSize != outputSize) return false;
  BitReader in(block, blockSize, int64_t(kBlockHeaderSize) * 8);
  ByteWriter out(output, outputSize);
  while (!out.IsFull()) {
    bool decoded;
    if (in.ReadBit() == 0) {
      decoded = DecodeLiteralRun(in, out);
    } else if (in.ReadBit() == 1) {
      decoded = DecodeByteRun(in, out);
    } else {
      decoded = DecodeCopy(in, out);
    }
    if (!decoded) return false;
  }
  return true;
}
