// The decoder that Decompress runs. While at least 24 bytes of the block remain past the bit
// position, each token header is decoded from one 64-bit load of the stream (57 or more valid
// bits), in batches whose copy sources are prefetched before the batch is written: the unary
// prefixes are counted with one count-trailing-zeros each; each window is decoded both as a
// literal run and as a copy, the kind choosing between the two, because the kinds come in no
// predictable order; short literal runs are unpacked (8 bytes per two loads) into a staging area
// as they are read, so that they and copies are written alike, 32 bytes at once when the output
// has room for the overrun. A token whose fields do not fit in the window (extreme counts), every
// token of the last 24 bytes and every malformed token are decoded bit by bit through the
// bounds-checked cursors instead, so that the results, success and failure, are exactly those of
// the reference decoder.
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
// The fast loop needs this many block bytes from the window's start.
constexpr int64_t kBlockSlack = 24;

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
// read and checked, the sources of their copies prefetched (a copy may reach anywhere back in a
// large output, far outside the cache) and their short literal runs unpacked; then the batch is
// written out in order.
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
  // Literal runs up to this long are unpacked into the staging area while the batch is read, so
  // that writing them is the same 16-byte move as a copy.
  static constexpr uint64_t kStagedLiterals = 32;
  enum Kind : uint8_t {
    kMove,      // length bytes from source (output or staging area), with overrun
    kExact,     // length bytes from source, exactly: the output end is near
    kByteRun,   // length copies of detail
    kLiteral,   // a long literal run straight from the block, source bit shift in detail
  };
  struct Token {
    Kind kind;
    uint8_t detail;
    uint64_t length;
    const uint8_t* source;
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

  // A move token, or an exact one when the 32 bytes of overrun would pass the output's end.
  static Kind MoveKind(uint64_t length, uint64_t room) {
    return length + 2 * uint64_t(kOverrun) <= room ? kMove : kExact;
  }

  // Reads and checks up to kBatch tokens, moving the bit position past each one accepted;
  // kDone when the batch is full or the output reached, kSlow at the first token that the
  // careful path must decode (an extreme field, the block's end near, or an error, which the
  // careful path then reports exactly as the reference does).
  //
  // Literal runs and copies come in no predictable order, so each window is decoded both ways
  // and the token's kind selects between the results; byte runs are rare and branch early.
  Step ReadBatch() {
    count_ = 0;
    uint8_t* cursor = op_;
    uint8_t* staged = staging_;
    while (count_ < kBatch && cursor < outputEnd_) {
      const int64_t byte = bitPosition_ >> 3;
      // Every load below stays within 24 bytes of the window's start.
      if (byte + kBlockSlack > blockSize_) return Step::kSlow;
      const uint64_t window = Load64(block_ + byte) >> (bitPosition_ & 7);
      Token& token = batch_[count_];
      const uint64_t room = uint64_t(outputEnd_ - cursor);
      if ((window & 3) == 3) {
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
        cursor += token.length;
        ++count_;
        continue;
      }
      // As a literal run: prefix 0, count - 1 as N(2, 2), then the bytes.
      const int literalOnes = CountLowOnes(window >> 1);
      const int literalWidth = Min(2 + 2 * literalOnes, kMaxFieldBits);
      const int literalHeader = Min(2 + literalOnes + literalWidth, kWindowBits);
      const uint64_t literalCount = LowBits(window >> Min(2 + literalOnes, 63), literalWidth) + 1;
      const int64_t literalStart = bitPosition_ + literalHeader;
      const uint8_t* literalSource = block_ + (literalStart >> 3);
      const int shift = int(literalStart & 7);
      // Its first 8 bytes, unpacked whether or not the token is a literal run.
      Store64(staged, (Load64(literalSource) >> shift) | (Load64(literalSource + 1) << (8 - shift)));

      // As a copy: prefix 1 0, length - 4 as N(2, 1), distance - 4 as N(12, 2).
      const uint64_t bits = window >> 2;
      const int lengthOnes = CountLowOnes(bits);
      const int lengthWidth = Min(2 + lengthOnes, kMaxFieldBits);
      const int lengthUsed = Min(lengthOnes + 1 + lengthWidth, kWindowBits);
      const uint64_t copyLength = LowBits(bits >> Min(lengthOnes + 1, 63), lengthWidth) + 4;
      const uint64_t distanceBits = bits >> lengthUsed;
      const int distanceOnes = CountLowOnes(distanceBits);
      const int distanceWidth = Min(12 + 2 * distanceOnes, kMaxFieldBits);
      const uint64_t distance =
          LowBits(distanceBits >> Min(distanceOnes + 1, 63), distanceWidth) + 4;
      const int copyUsed = 2 + lengthUsed + distanceOnes + 1 + distanceWidth;

      const bool literal = (window & 1) == 0;
      const uint64_t length = literal ? literalCount : copyLength;
      const bool literalBad = 2 + literalOnes + literalWidth > kWindowBits ||
                              literalCount * 8 > uint64_t(bitLimit_ - literalStart);
      const bool copyBad = copyUsed > kWindowBits || distance > uint64_t(cursor - output_) ||
                           copyLength > distance;
      if ((literal ? literalBad : copyBad) || length > room) return Step::kSlow;

      token.length = length;
      if (literal) {
        if (length > 8) {
          // Longer runs: the rest unpacked too, or, when very long, written from the block.
          if (length <= kStagedLiterals && uint64_t(blockEnd_ - literalSource) >= length + 16) {
            for (uint64_t done = 8; done < length; done += 8) {
              Store64(staged + done, (Load64(literalSource + done) >> shift) |
                                         (Load64(literalSource + done + 1) << (8 - shift)));
            }
          } else {
            token.kind = kLiteral;
            token.detail = uint8_t(shift);
            token.source = literalSource;
            bitPosition_ = literalStart + int64_t(length) * 8;
            cursor += length;
            ++count_;
            continue;
          }
        }
        token.source = staged;
        staged += length;
        bitPosition_ = literalStart + int64_t(length) * 8;
      } else {
        token.source = cursor - distance;
        __builtin_prefetch(token.source);
        bitPosition_ += copyUsed;
      }
      token.kind = MoveKind(length, room);
      cursor += length;
      ++count_;
    }
    return Step::kDone;
  }

  void WriteBatch() {
    for (int i = 0; i < count_; ++i) {
      const Token& token = batch_[i];
      if (__builtin_expect(token.kind == kMove, 1)) {
        WriteMove(token.source, token.length);
      } else {
        switch (token.kind) {
          case kMove: break;
          case kExact: std::memcpy(op_, token.source, size_t(token.length)); break;
          case kByteRun: WriteRun(token.detail, token.length); break;
          case kLiteral: WriteLiterals(token.source, token.detail, token.length); break;
        }
      }
      op_ += token.length;
    }
  }

  // Copies and staged literals alike: 32 bytes at once, then 16 at a time. Each 16-byte load
  // reads only bytes before its store's start that matter (a copy's distance is at least its
  // length, and at least 16 whenever a second load follows); what lands past the end is
  // rewritten by the tokens after it. The caller made sure of 32 bytes of room past the end.
  void WriteMove(const uint8_t* source, uint64_t length) {
    uint8_t* target = op_;
    Move16(target, source);
    Move16(target + 16, source + 16);
    for (uint64_t done = 32; done < length; done += kOverrun) Move16(target + done, source + done);
  }

  // A long run straight from the block. Its bits span count + 1 block bytes when shift is not 0.
  void WriteLiterals(const uint8_t* source, int shift, uint64_t count) {
    uint8_t* target = op_;
    const uint64_t outputRoom = uint64_t(outputEnd_ - target);
    const uint64_t blockRoom = uint64_t(blockEnd_ - source);
    if (shift == 0) {
      std::memcpy(target, source, size_t(count));
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

  const uint8_t* block_;
  const uint8_t* blockEnd_;
  int64_t blockSize_;
  int64_t bitLimit_;
  uint8_t* output_;
  uint8_t* outputEnd_;
  uint8_t* op_;
  int64_t bitPosition_;
  Token batch_[kBatch];
  // Unpacked literal runs of the batch, with room for the 8-byte stores' and 16-byte moves'
  // overrun past the last.
  uint8_t staging_[kBatch * kStagedLiterals + 2 * kOverrun];
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
