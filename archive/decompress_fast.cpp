// The decoder that Decompress runs. While at least 8 bytes of the block remain past the bit
// position, each token header is decoded from one 64-bit load of the stream (57 or more valid
// bits), in batches whose copy sources are prefetched before the batch is written:
// the unary prefixes are counted with one count-trailing-zeros each, literal runs are one move
// when the stream is byte-aligned and 8 bytes per two loads otherwise, byte runs are one fill
// and copies move 16 bytes at a time when the output has room for the overrun. A token whose
// fields do not fit in the window (extreme counts) and every token of the last 8 bytes are
// decoded bit by bit through the bounds-checked cursors instead, so that the results, success
// and failure, are exactly those of the reference decoder.
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "archive/bit_reader.h"
#include "archive/decompressor.h"

namespace {

constexpr int kMaxFieldBits = 32;
// A window loaded at bit position p holds at least this many bits of the stream.
constexpr int kWindowBits = 57;
// Copies and literal runs may write this far past their end when the output has room.
constexpr int64_t kOverrun = 16;

uint64_t Load64(const uint8_t* p) {
  uint64_t value;
  std::memcpy(&value, p, 8);  // little-endian hosts only (x86, x86-64)
  return value;
}

void Store64(uint8_t* p, uint64_t value) { std::memcpy(p, &value, 8); }

// 16 bytes from source to target through a register: the two may overlap.
void Move16(uint8_t* target, const uint8_t* source) {
  uint8_t chunk[16];
  std::memcpy(chunk, source, 16);
  std::memcpy(target, chunk, 16);
}

int Min(int a, int b) { return a < b ? a : b; }

// Number of 1 bits at the bottom of bits; the top bit of bits must be 0 (every window here has
// been shifted right at least once).
int CountLowOnes(uint64_t bits) { return __builtin_ctzll(~bits); }

uint64_t LowBits(uint64_t bits, int width) { return bits & ((uint64_t(1) << width) - 1); }

// The slow path: a number read bit by bit, for fields that reach past the window.
bool ReadNumberBitwise(BitReader& in, int base, int step, uint32_t& value) {
  if (in.Remaining() < 2) return false;
  int width = base;
  while (in.ReadBit() == 1) {
    if (width < kMaxFieldBits) width += step;
  }
  return in.ReadBits(Min(width, kMaxFieldBits), value);
}

bool DecodeTokenBitwise(BitReader& in, ByteWriter& out) {
  if (in.ReadBit() == 0) {
    uint32_t countLessOne;
    if (!ReadNumberBitwise(in, 2, 2, countLessOne)) return false;
    const int64_t count = int64_t(countLessOne) + 1;
    if (count * 8 > in.Remaining()) return false;
    uint8_t* target = out.Reserve(count);
    return target != nullptr && in.ReadBytes(target, count);
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

// The fast loop. Tokens are decoded in batches: first the headers of up to kBatch tokens are
// read and checked, and the sources of their copies are prefetched (a copy may reach anywhere
// back in a large output, far outside the cache); then the batch is written out in order.
class FastDecoder {
 public:
  // Starts at bitPosition in the block with the first `written` output bytes in place.
  FastDecoder(const uint8_t* block, int blockSize, uint8_t* output, int outputSize,
              int64_t bitPosition, int written)
      : block_(block),
        blockEnd_(block + blockSize),
        blockSize_(blockSize),
        bitLimit_(int64_t(blockSize) * 8),
        output_(output),
        outputEnd_(output + outputSize),
        op_(output + written),
        bitPosition_(bitPosition) {}

  enum class Step { kDone, kFailed, kSlow };

  // Decodes tokens while the window load stays inside the block; returns kSlow where the
  // careful path must take over, with BitPosition and OutputPosition at that token.
  Step Run() {
    for (;;) {
      const Step step = ReadBatch();
      WriteBatch();
      if (step != Step::kDone || op_ >= outputEnd_) return step;
    }
  }

  int64_t BitPosition() const { return bitPosition_; }
  int OutputPosition() const { return int(op_ - output_); }

 private:
  static constexpr int kBatch = 32;
  enum Kind : uint8_t { kLiteral, kByteRun, kCopy };
  struct Token {
    Kind kind;
    uint8_t detail;          // literal: bit shift of the source; byte run: the byte
    uint64_t length;
    const uint8_t* source;   // literal: in the block; copy: in the output
  };

  // N(base, step) at the bottom of bits, where `valid` bits are known: false when the number
  // reaches past them.
  static bool TakeNumber(uint64_t bits, int valid, int base, int step, uint64_t& value, int& used) {
    const int ones = CountLowOnes(bits);
    if (ones >= valid) return false;
    const int width = Min(base + step * ones, kMaxFieldBits);
    used = ones + 1 + width;
    if (used > valid) return false;
    value = LowBits(bits >> (ones + 1), width);
    return true;
  }

  // Reads and checks up to kBatch tokens, moving the bit position past each one accepted;
  // kDone when the batch is full or the output reached.
  Step ReadBatch() {
    count_ = 0;
    uint8_t* cursor = op_;
    while (count_ < kBatch && cursor < outputEnd_) {
      const int64_t byte = bitPosition_ >> 3;
      if (byte + 8 > blockSize_) return Step::kSlow;
      const uint64_t window = Load64(block_ + byte) >> (bitPosition_ & 7);
      Token& token = batch_[count_];
      const uint64_t room = uint64_t(outputEnd_ - cursor);
      if ((window & 1) == 0) {
        uint64_t countLessOne;
        int used;
        if (!TakeNumber(window >> 1, kWindowBits - 1, 2, 2, countLessOne, used)) return Step::kSlow;
        const int64_t start = bitPosition_ + 1 + used;
        token.length = countLessOne + 1;
        if (token.length * 8 > uint64_t(bitLimit_ - start) || token.length > room) {
          return Step::kFailed;
        }
        token.kind = kLiteral;
        token.detail = uint8_t(start & 7);
        token.source = block_ + (start >> 3);
        bitPosition_ = start + int64_t(token.length) * 8;
      } else if ((window & 2) != 0) {
        uint64_t countLessThree;
        int used;
        if (!TakeNumber(window >> 10, kWindowBits - 10, 1, 1, countLessThree, used)) {
          return Step::kSlow;
        }
        token.length = countLessThree + 3;
        if (token.length > room) return Step::kFailed;
        token.kind = kByteRun;
        token.detail = uint8_t(window >> 2);
        bitPosition_ += 10 + used;
      } else {
        const uint64_t bits = window >> 2;
        uint64_t lengthLessFour, distanceLessFour;
        int lengthUsed, distanceUsed;
        if (!TakeNumber(bits, kWindowBits - 2, 2, 1, lengthLessFour, lengthUsed) ||
            !TakeNumber(bits >> lengthUsed, kWindowBits - 2 - lengthUsed, 12, 2, distanceLessFour,
                        distanceUsed)) {
          return Step::kSlow;
        }
        token.length = lengthLessFour + 4;
        const uint64_t distance = distanceLessFour + 4;
        // The source lies wholly in the output before the token: no overlap, no reach before it.
        if (distance > uint64_t(cursor - output_) || token.length > distance || token.length > room) {
          return Step::kFailed;
        }
        token.kind = kCopy;
        token.source = cursor - distance;
        __builtin_prefetch(token.source);
        bitPosition_ += 2 + lengthUsed + distanceUsed;
      }
      cursor += token.length;
      ++count_;
    }
    return Step::kDone;
  }

  void WriteBatch() {
    for (int i = 0; i < count_; ++i) {
      const Token& token = batch_[i];
      switch (token.kind) {
        case kLiteral: WriteLiterals(token.source, token.detail, token.length); break;
        case kByteRun: WriteRun(token.detail, token.length); break;
        case kCopy: WriteCopy(token.source, token.length); break;
      }
      op_ += token.length;
    }
  }

  // The run's bits span count + 1 block bytes when shift is not 0.
  void WriteLiterals(const uint8_t* source, int shift, uint64_t count) {
    uint8_t* target = op_;
    const uint64_t outputRoom = uint64_t(outputEnd_ - target);
    const uint64_t blockRoom = uint64_t(blockEnd_ - source);
    if (shift == 0) {
      if (count <= uint64_t(kOverrun) && outputRoom >= uint64_t(kOverrun) &&
          blockRoom >= uint64_t(kOverrun)) {
        Move16(target, source);
      } else {
        std::memcpy(target, source, size_t(count));
      }
      return;
    }
    // Each step makes 8 output bytes from two overlapping loads; the loads need 9 bytes and
    // the store 8, overrunning by up to 7.
    if (outputRoom >= count + 8 && blockRoom >= count + 9) {
      for (uint64_t done = 0; done < count; done += 8) {
        Store64(target + done, (Load64(source + done) >> shift) |
                                   (Load64(source + done + 1) << (8 - shift)));
      }
      return;
    }
    for (uint64_t i = 0; i < count; ++i) {
      target[i] = uint8_t((source[i] >> shift) | (source[i + 1] << (8 - shift)));
    }
  }

  void WriteRun(uint8_t value, uint64_t count) {
    if (count <= uint64_t(kOverrun) && outputEnd_ - op_ >= kOverrun) {
      std::memset(op_, value, size_t(kOverrun));
    } else {
      std::memset(op_, value, size_t(count));
    }
  }

  void WriteCopy(const uint8_t* source, uint64_t length) {
    uint8_t* target = op_;
    if (uint64_t(outputEnd_ - target) >= length + kOverrun) {
      // Each 16-byte load reads only bytes before its store's start (distance >= length, and
      // distance >= 16 whenever a second load follows); what lands past the copy's end is
      // rewritten by the tokens after it.
      for (uint64_t done = 0; done < length; done += kOverrun) Move16(target + done, source + done);
    } else {
      std::memcpy(target, source, size_t(length));
    }
  }

  const uint8_t* block_;
  const uint8_t* blockEnd_;
  int64_t blockSize_;
  int64_t bitLimit_;
  uint8_t* output_;
  uint8_t* outputEnd_;
  uint8_t* op_;
  int64_t bitPosition_;
  Token batch_[kBatch];
  int count_ = 0;
};

}  // namespace

bool DecompressFast(const uint8_t* block, int blockSize, uint8_t* output, int outputSize) {
  int uncompressedSize;
  if (!ReadBlockHeader(block, blockSize, uncompressedSize)) return false;
  if (uncompressedSize != outputSize) return false;
  int64_t bitPosition = int64_t(kBlockHeaderSize) * 8;
  int written = 0;
  for (;;) {
    FastDecoder fast(block, blockSize, output, outputSize, bitPosition, written);
    switch (fast.Run()) {
      case FastDecoder::Step::kDone: return true;
      case FastDecoder::Step::kFailed: return false;
      case FastDecoder::Step::kSlow: break;
    }
    // The last bytes of the block or an extreme field: one token through the checked cursors,
    // then the fast loop again (which hands straight back while the end is near).
    BitReader in(block, blockSize, fast.BitPosition());
    ByteWriter out(output, outputSize, fast.OutputPosition());
    if (!DecodeTokenBitwise(in, out)) return false;
    if (out.IsFull()) return true;
    bitPosition = in.Position();
    written = out.Position();
  }
}
