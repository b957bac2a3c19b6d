// The decoder that Decompress runs. While at least 32 bytes of the block remain past the bit
// position and 48 bytes of output room past the output position, each token header is decoded
// from a 64-bit buffer of the stream, topped up with whole bytes at each step (56 or more bits)
// and loaded afresh after a literal run (57 or more): a short literal run's header from a table,
// a unary prefix and its field with one count-trailing-zeros, one shift and one mask.
// Literal runs move 8 bytes per two loads and a shift, copies 32 bytes at once and then 16 at a
// time, writing past their end where the tokens after them write again. A token whose fields do
// not fit in the window (extreme counts), every token near either end and every malformed token
// are decoded bit by bit through the bounds-checked cursors instead, so that the results, success
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
// With this many ones, a copy's length field ends at bit 2 + 51 of the window and the shortest
// distance (13 bits) passes the 64 bits that a window can hold at most.
constexpr int kMostLengthOnes = 24;
// Copies and literal runs may write this far past their end when the output has room.
constexpr int64_t kOverrun = 16;
// The fast loop needs this many block bytes from a step's first window: a short literal run
// (header and bytes at most 17 bytes) and the window after it.
constexpr int64_t kBlockSlack = 32;

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

// The first seven bits of a token, when it is a literal run with at most one prefix one: the
// run's count (1 .. 16) and, above it, its header's length (4 or 7 bits). 0 for a token that is
// not a literal run; kLongLiteralHeader for a run with a longer prefix.
constexpr uint8_t kLongLiteralHeader = 0xFF;
struct ShortLiteralHeaders {
  uint8_t entries[128] = {};
  constexpr ShortLiteralHeaders() {
    for (int bits = 0; bits < 128; ++bits) {
      if ((bits & 1) != 0) continue;
      if ((bits & 2) == 0) {
        entries[bits] = uint8_t((4 << 5) | (((bits >> 2) & 3) + 1));
      } else if ((bits & 4) == 0) {
        entries[bits] = uint8_t((7 << 5) | (((bits >> 3) & 15) + 1));
      } else {
        entries[bits] = kLongLiteralHeader;
      }
    }
  }
  constexpr uint8_t operator[](uint64_t bits) const { return entries[bits]; }
};
constexpr ShortLiteralHeaders kShortLiteralHeaders;

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

// The fast loop: one token after another straight into the output. Most literal runs are short
// and always followed by a copy or byte run, while after a copy either kind comes in no
// predictable order; so each step first takes a literal run of up to 16 bytes without a branch
// (its bytes are stored whether or not the token is one, and kept only when it is) and then the
// token after it, which is then nearly always a copy.
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

  // Decodes tokens while the window load stays inside the block and the output has room for the
  // stores' overrun; returns kSlow where the careful path must take over, with BitPosition and
  // OutputPosition at that token.
  Step Run() {
    uint8_t* op = op_;
    // The stream is read through a 64-bit buffer: its low bitsLeft bits are the stream from the
    // token's start up to the byte at `in`, and every bit above them is the stream too (or 0).
    // Topping it up at each step puts the load beside the chain from one token to the next
    // instead of in it: after a copy or a byte run the next header is a shift away.
    const uint8_t* in;
    uint64_t buffer;
    int bitsLeft;
    auto reload = [&](int64_t position) {
      in = block_ + (position >> 3) + 8;
      buffer = Load64(in - 8) >> (position & 7);
      bitsLeft = 64 - int(position & 7);
    };
    // Before a top-up, which needs bitsLeft below 64: the last byte loaded is counted no more
    // (its bits stay in the buffer, and the top-up loads them again).
    auto uncountLastByte = [&] {
      --in;
      bitsLeft -= 8;
    };
    // The first load, like every later one, needs the slack.
    if ((bitPosition_ >> 3) + kBlockSlack > blockSize_) {
      return op < outputEnd_ ? Step::kSlow : Step::kDone;
    }
    reload(bitPosition_);
    uncountLastByte();
    Step step = Step::kDone;
    while (op < outputEnd_) {
      int64_t position = int64_t(in - block_) * 8 - bitsLeft;
      uint64_t room = uint64_t(outputEnd_ - op);
      if ((position >> 3) + kBlockSlack > blockSize_ || room < kStepRoom + kOverrun) {
        step = Step::kSlow;
        break;
      }
      // Whole bytes in, so that all 64 bits of the buffer are the stream and 56 or more counted.
      buffer |= Load64(in) << bitsLeft;
      in += (63 - bitsLeft) >> 3;
      bitsLeft |= 56;
      uint64_t window = buffer;

      // A literal run: prefix 0, count - 1 as N(2, 2), then the bytes. Runs of up to 16 bytes
      // (at most one prefix one) are taken here, their header read from a table. Their header is
      // at most 7 bits, so the loads stay inside the slack whatever the window holds.
      const uint32_t header = kShortLiteralHeaders[window & 0x7F];
      if (header == kLongLiteralHeader) {
        if (!LongLiterals(op, position, window, room)) {
          step = Step::kSlow;
          break;
        }
        if ((position >> 3) + kBlockSlack > blockSize_) {
          // A long run can end near the end of the block, where the next load has no slack. It
          // never ends the output: it is taken here only with 8 bytes of room to spare.
          op_ = op;
          bitPosition_ = position;
          return Step::kSlow;
        }
        reload(position);
        uncountLastByte();
        continue;
      }
      const uint64_t literalCount = header & 31;  // 0: the token is not a literal run
      const int64_t literalStart = position + (header >> 5);
      const uint8_t* literalSource = block_ + (literalStart >> 3);
      const int shift = int(literalStart & 7);
      Store64(op, (Load64(literalSource) >> shift) | (Load64(literalSource + 1) << (8 - shift)));
      Store64(op + 8,
              (Load64(literalSource + 8) >> shift) | (Load64(literalSource + 9) << (8 - shift)));
      if (literalCount != 0) {
        // The run and the window after it lie within the slack, and the step's room leaves a
        // copy's room after it.
        op += literalCount;
        room -= literalCount;
        reload(literalStart + int64_t(literalCount) * 8);
        window = buffer;
        if ((window & 1) == 0) {  // a run after a run: not the encoder's, but allowed
          uncountLastByte();
          continue;
        }
      }

      if ((window & 2) != 0) {
        // A byte run: prefix 1 1, the byte, count - 3 as N(1, 1).
        const uint64_t bits = window >> 10;
        const int ones = CountLowOnes(bits);
        const int width = Min(1 + ones, kMaxFieldBits);
        const int used = 10 + ones + 1 + width;
        if (used >= bitsLeft) {  // the buffer shifts by less than 64
          step = Step::kSlow;
          break;
        }
        const uint64_t count = LowBits(bits >> (ones + 1), width) + 3;
        if (count > room) {
          step = Step::kFailed;
          break;
        }
        const uint8_t value = uint8_t(window >> 2);
        // The step's room holds the 16-byte store of a short run.
        std::memset(op, value, size_t(count <= uint64_t(kOverrun) ? kOverrun : count));
        op += count;
        buffer >>= used;
        bitsLeft -= used;
        continue;
      }

      // A copy: prefix 1 0, length - 4 as N(2, 1), distance - 4 as N(12, 2).
      // A length prefix of kMostLengthOnes or more ones leaves no room in the window for the
      // distance, so counting stops there and the check below sends the token to the careful
      // path. The shifts stay below 64: bits has its top two bits clear, and distanceBits more.
      const uint64_t bits = window >> 2;
      const int lengthOnes = Min(CountLowOnes(bits), kMostLengthOnes);
      const int lengthWidth = 2 + lengthOnes;
      const int lengthUsed = lengthOnes + 1 + lengthWidth;
      const uint64_t length = LowBits(bits >> (lengthOnes + 1), lengthWidth) + 4;
      const uint64_t distanceBits = bits >> lengthUsed;
      const int distanceOnes = CountLowOnes(distanceBits);
      const int distanceWidth = Min(12 + 2 * distanceOnes, kMaxFieldBits);
      const uint64_t distance = LowBits(distanceBits >> (distanceOnes + 1), distanceWidth) + 4;
      const int used = 2 + lengthUsed + distanceOnes + 1 + distanceWidth;
      if (used >= bitsLeft || distance > uint64_t(op - output_) || length > distance ||
          length + kStepRoom > room) {
        step = Step::kSlow;
        break;
      }
      // 32 bytes at once, then 16 at a time. Each 16-byte load reads only bytes before its
      // store's start that matter (a copy's distance is at least its length, and at least 16
      // whenever a third move follows); what lands past the end is rewritten by the tokens after
      // it.
      const uint8_t* source = op - distance;
      Move16(op, source);
      Move16(op + 16, source + 16);
      for (uint64_t done = 32; done < length; done += kOverrun) Move16(op + done, source + done);
      op += length;
      buffer >>= used;
      bitsLeft -= used;
    }
    // Every way out leaves the buffer at the token it stopped at.
    op_ = op;
    bitPosition_ = int64_t(in - block_) * 8 - bitsLeft;
    return step;
  }

  int64_t BitPosition() const { return bitPosition_; }
  int OutputPosition() const { return int(op_ - output_); }

 private:
  // A copy's first two moves need this much output room; a step starts with a short literal
  // run's 16 bytes more.
  static constexpr uint64_t kStepRoom = 2 * uint64_t(kOverrun);

  // A literal run with more than one prefix one: written here when its header fits in the window
  // and it has room for the stores' overrun; false (nothing moved) for the careful path, which
  // also reports the errors.
  bool LongLiterals(uint8_t*& op, int64_t& position, uint64_t window, uint64_t room) {
    const int ones = CountLowOnes(window >> 1);
    const int width = Min(2 + 2 * ones, kMaxFieldBits);
    if (2 + ones + width > kWindowBits) return false;
    const uint64_t count = LowBits(window >> (2 + ones), width) + 1;
    const int64_t start = position + 2 + ones + width;
    if (count * 8 > uint64_t(bitLimit_ - start) || count + 8 > room) return false;
    const uint8_t* source = block_ + (start >> 3);
    const int shift = int(start & 7);
    if (shift == 0) {
      std::memcpy(op, source, size_t(count));
    } else if (uint64_t(blockEnd_ - source) >= count + 9) {
      // Each step makes 8 output bytes from two overlapping loads; the loads need 9 bytes and
      // the store 8, overrunning by up to 7.
      for (uint64_t done = 0; done < count; done += 8) {
        Store64(op + done,
                (Load64(source + done) >> shift) | (Load64(source + done + 1) << (8 - shift)));
      }
    } else {
      return false;
    }
    op += count;
    position = start + int64_t(count) * 8;
    return true;
  }

  const uint8_t* block_;
  const uint8_t* blockEnd_;
  int64_t blockSize_;
  int64_t bitLimit_;
  uint8_t* output_;
  uint8_t* outputEnd_;
  uint8_t* op_;
  int64_t bitPosition_;
};

}  // namespace

// Out of line: this file is built for speed, and inlined into a caller that link-time
// optimisation builds for size, the loop would be compiled for size with it.
__attribute__((noinline)) bool DecompressFast(const uint8_t* block, int blockSize, uint8_t* output,
                                              int outputSize) {
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
