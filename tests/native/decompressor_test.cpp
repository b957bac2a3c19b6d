#include "archive/decompressor.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "core/memory.h"
#include "core/string.h"
#include "tests/native/allocation_failure_test_support.h"
#include "tests/native/block_test_encoder.h"

namespace {

using Block = std::vector<uint8_t>;
using Decoder = bool (*)(const uint8_t*, int, uint8_t*, int);

const uint8_t kExampleBlock[] = {0xA1, 0x2B, 0xC7, 0x9E, 0x0C, 0x00, 0x00, 0x00,
                                 0x18, 0x26, 0x36, 0x36, 0x5E, 0x06, 0x04, 0x00};

Block ExampleBlock() { return Block(std::begin(kExampleBlock), std::end(kExampleBlock)); }

struct Result {
  bool ok;
  std::string output;
};

// Runs one decoder over block with an output buffer of the header's size (guarded by a byte
// after it, which must survive).
Result RunDecoder(Decoder decode, const Block& block) {
  int size = 0;
  const uint8_t* data = block.empty() ? nullptr : block.data();
  if (!ReadBlockHeader(data, int(block.size()), size)) size = 0;
  std::vector<uint8_t> output(size_t(size) + 1, 0xEE);
  bool ok = decode(data, int(block.size()), output.data(), size);
  EXPECT_EQ(output[size_t(size)], 0xEE) << "wrote past the output";
  return {ok, ok ? std::string(output.begin(), output.begin() + size) : std::string()};
}

// Runs Decompress over a MemAllocate'd copy of block.
Result RunDecompress(const Block& block) {
  char* input = static_cast<char*>(MemAllocate(block.size()));
  if (!block.empty()) std::memcpy(input, block.data(), block.size());
  char* data = input;
  int size = int(block.size());
  const bool ok = Decompress(data, size);
  Result result{ok, {}};
  if (ok) {
    EXPECT_NE(data, input);
    if (size == 0) {
      EXPECT_EQ(data, nullptr);
    } else {
      EXPECT_EQ(data[size], '\0');
      result.output.assign(data, size_t(size));
    }
    MemFree(data);
  } else {
    EXPECT_EQ(data, input);
    EXPECT_EQ(size, int(block.size()));
  }
  // The block stays the caller's, untouched, either way.
  EXPECT_TRUE(block.empty() || std::memcmp(input, block.data(), block.size()) == 0);
  MemFree(input);
  return result;
}

// Both decoders and Decompress must give the same result; returns it.
Result DecodeAll(const Block& block) {
  const Result reference = RunDecoder(DecompressReference, block);
  const Result fast = RunDecoder(DecompressFast, block);
  const Result whole = RunDecompress(block);
  EXPECT_EQ(fast.ok, reference.ok);
  EXPECT_EQ(fast.output, reference.output);
  EXPECT_EQ(whole.ok, reference.ok);
  EXPECT_EQ(whole.output, reference.output);
  return reference;
}

Block WithSize(Block block, int32_t size) {
  std::memcpy(block.data() + 4, &size, 4);
  return block;
}

// The block of a writer that ends on a byte boundary, so that no padding bits follow.
Block ByteAligned(const BlockWriter& writer) {
  EXPECT_EQ(writer.BitCount() % 8, 0);
  return writer.Block();
}

Block WithZeros(Block block, size_t count) {
  block.insert(block.end(), count, 0);
  return block;
}

TEST(DecompressTest, ExampleBlockDecodes) {
  Result result = DecodeAll(ExampleBlock());
  EXPECT_TRUE(result.ok);
  EXPECT_EQ(result.output, "abcxxxxxabcx");
}

TEST(DecompressTest, EncoderWritesTheExampleBlock) {
  BlockWriter writer(12);
  writer.Literal("abc").ByteRun('x', 5).Copy(4, 8);
  EXPECT_EQ(writer.Block(), ExampleBlock());
}

struct GoodCase {
  const char* name;
  Block block;
  std::string expected;
};

// A literal run whose bytes start on a byte boundary (where they appear unchanged in the block):
// one extra prefix bit makes its header 16 bits long.
Block AlignedLiteralBlock(const std::string& bytes) {
  BlockWriter writer(int32_t(bytes.size()));
  writer.Bit(0).Number(2, 2, bytes.size() - 1, 1);
  EXPECT_EQ(writer.BitCount() % 8, 0);
  for (unsigned char c : bytes) writer.Bits(c, 8);
  return writer.Block();
}

TEST(DecompressTest, WellFormedBlocks) {
  const std::string hundred = [] {
    std::string s;
    for (int i = 0; i < 100; ++i) s += char(i * 7 + 3);
    return s;
  }();
  const GoodCase cases[] = {
      {"header only, size 0", BlockWriter(0).Block(), ""},
      {"size 0 ignores a stream", BlockWriter(0).Literal("abc").Block(), ""},
      {"trailing bits ignored", BlockWriter(3).Literal("abc").Bits(0xFFFFFFFF, 32).Block(), "abc"},
      {"trailing byte run ignored", BlockWriter(1).Literal("z").ByteRun('q', 9).Block(), "z"},
      {"zero bytes are one-byte literal runs", WithZeros(BlockWriter(5).Block(), 8),
       std::string(5, '\0')},
      {"single literal byte", BlockWriter(1).Literal("A").Block(), "A"},
      {"byte-aligned literal run", AlignedLiteralBlock(hundred), hundred},
      {"unaligned literal run of 100", BlockWriter(100).Literal(hundred).Block(), hundred},
      {"byte run of 3", BlockWriter(3).ByteRun('\x00', 3).Block(), std::string(3, '\0')},
      {"byte run beyond one fill piece", BlockWriter(2500).ByteRun('k', 2500).Block(),
       std::string(2500, 'k')},
      {"copy with distance equal to length", BlockWriter(8).Literal("wxyz").Copy(4, 4).Block(),
       "wxyzwxyz"},
      {"copy from the very start", BlockWriter(14).Literal("0123456789").Copy(4, 10).Block(),
       "01234567890123"},
      {"copies chained", BlockWriter(16).Literal("abcd").Copy(4, 4).Copy(8, 8).Block(),
       "abcdabcdabcdabcd"},
      {"needlessly wide numbers", BlockWriter(9).Bit(0).Number(2, 2, 3, 3).Bits('a', 8)
           .Bits('b', 8).Bits('c', 8).Bits('d', 8).Bit(1).Bit(1).Bits('e', 8)
           .Number(1, 1, 2, 5).Block(), "abcdeeeee"},
      {"width capped at 32 bits", BlockWriter(7).Bit(1).Bit(1).Bits('m', 8).Number(1, 1, 4, 40)
           .Block(), "mmmmmmm"},
      {"prefix longer than a 64-bit window", BlockWriter(7).Bit(1).Bit(1).Bits('m', 8)
           .Number(1, 1, 4, 70).Block(), "mmmmmmm"},
      {"copy with a wide distance field", BlockWriter(8).Literal("pqrs").Bit(1).Bit(0)
           .Number(2, 1, 0).Number(12, 2, 0, 12).Block(), "pqrspqrs"},
  };
  for (const GoodCase& c : cases) {
    SCOPED_TRACE(c.name);
    Result result = DecodeAll(c.block);
    EXPECT_TRUE(result.ok);
    EXPECT_EQ(result.output, c.expected);
  }
}

struct BadCase {
  const char* name;
  Block block;
};

TEST(DecompressTest, MalformedBlocksFail) {
  const Block example = ExampleBlock();
  Block wrongMagic = example;
  wrongMagic[3] = 0x9F;
  const BadCase cases[] = {
      {"empty block", {}},
      {"shorter than the header", Block(example.begin(), example.begin() + 7)},
      {"wrong magic", wrongMagic},
      {"negative size", WithSize(example, -1)},
      {"most negative size", WithSize(BlockWriter(0).Block(), INT32_MIN)},
      {"header only, size 1", BlockWriter(1).Block()},
      {"stream ends in a literal run", Block(example.begin(), example.begin() + 9)},
      {"literal run longer than the stream", BlockWriter(5).Bit(0).Number(2, 2, 4).Bits('a', 8)
                                                 .Bits('b', 8).Block()},
      {"stream ends before the size", WithSize(example, 13)},
      {"size one short of the output", WithSize(example, 11)},
      {"literal run overshoots", BlockWriter(2).Literal("abc").Block()},
      {"byte run overshoots", BlockWriter(4).ByteRun('x', 5).Block()},
      {"copy overshoots", BlockWriter(7).Literal("abcd").Copy(4, 4).Block()},
      {"copy before any output", BlockWriter(4).Copy(4, 4).Block()},
      {"copy distance beyond the output", BlockWriter(9).Literal("abcd").Copy(4, 5).Block()},
      {"overlapping copy", BlockWriter(10).Literal("abcd").Copy(6, 4).Block()},
      {"number prefix runs into the end", BlockWriter(3).Bit(0).Bits(0xFFFF, 16).Block()},
      {"prefix longer than a window, then the end", BlockWriter(3).Bit(0).Bits(~0ull, 64)
                                                        .Bits(~0ull, 64).Block()},
      {"number field runs past the end", BlockWriter(3).Bit(0).Bit(1).Bit(0).Bits(1, 2).Block()},
      {"byte run without its byte", BlockWriter(3).Bit(1).Bit(1).Bits(0x55, 6).Block()},
      {"byte run without its count", ByteAligned(BlockWriter(4).Bit(0).Number(2, 2, 0, 6)
                                                     .Bits('a', 8).Bit(1).Bit(1).Bits('q', 8))},
      {"copy without its distance", BlockWriter(8).Literal("abcd").Bit(1).Bit(0).Number(2, 1, 0)
                                        .Bit(0).Bits(0, 4).Block()},
      {"zero bytes, one token short", WithZeros(BlockWriter(6).Block(), 8)},
      {"huge literal count", BlockWriter(100).Bit(0).Number(2, 2, 0xFFFFFFFF).Block()},
      {"huge byte run", BlockWriter(100).ByteRun('a', 0xFFFFFFFFull + 3).Block()},
      {"huge copy", BlockWriter(100).Literal("abcd").Copy(0xFFFFFFFFull + 4, 4).Block()},
  };
  for (const BadCase& c : cases) {
    SCOPED_TRACE(c.name);
    Result result = DecodeAll(c.block);
    EXPECT_FALSE(result.ok);
  }
}

TEST(DecompressTest, NullDataFails) {
  char* data = nullptr;
  int size = 16;
  EXPECT_FALSE(Decompress(data, size));
  EXPECT_EQ(data, nullptr);
  EXPECT_EQ(size, 16);
  EXPECT_FALSE(DecompressReference(nullptr, 16, nullptr, 0));
  EXPECT_FALSE(DecompressFast(nullptr, 16, nullptr, 0));
}

TEST(DecompressTest, DecodersRejectAnOutputSizeOtherThanTheHeaders) {
  const Block block = ExampleBlock();
  uint8_t output[16];
  for (Decoder decode : {DecompressReference, DecompressFast}) {
    EXPECT_FALSE(decode(block.data(), int(block.size()), output, 11));
    EXPECT_FALSE(decode(block.data(), int(block.size()), output, 13));
  }
}

TEST(DecompressStringTest, AdoptsTheOutput) {
  String text(reinterpret_cast<const char*>(kExampleBlock), int(sizeof kExampleBlock));
  ASSERT_TRUE(DecompressString(text));
  EXPECT_EQ(text.Length(), 12);
  EXPECT_STREQ(text.CStr(), "abcxxxxxabcx");
}

TEST(DecompressStringTest, EmptyOutputLeavesAnEmptyString) {
  const Block block = BlockWriter(0).Literal("ignored").Block();
  String text(reinterpret_cast<const char*>(block.data()), int(block.size()));
  ASSERT_TRUE(DecompressString(text));
  EXPECT_EQ(text.Length(), 0);
  EXPECT_FALSE(text.HasBuffer());
}

TEST(DecompressStringTest, FailureLeavesTheStringUnchanged) {
  const Block block = WithSize(ExampleBlock(), 13);
  const String original(reinterpret_cast<const char*>(block.data()), int(block.size()));
  String text = original;
  EXPECT_FALSE(DecompressString(text));
  EXPECT_TRUE(text.Equals(original));
  String empty;
  EXPECT_FALSE(DecompressString(empty));
  EXPECT_EQ(empty.Length(), 0);
}

// Data shapes for round trips, each of a given size.
std::string RandomBytes(size_t size, uint32_t seed) {
  std::mt19937 random(seed);
  std::string s(size, '\0');
  for (char& c : s) c = char(random());
  return s;
}
std::string Repetitive(size_t size, uint32_t seed) {
  std::mt19937 random(seed);
  std::string s;
  while (s.size() < size) {
    const size_t kind = random() % 3;
    if (kind == 0 || s.size() < 8) s += char('a' + random() % 4);
    if (kind == 1) s.append(3 + random() % 300, char(random()));
    if (kind == 2 && s.size() >= 8) {
      const size_t distance = 4 + random() % (s.size() - 4);
      const size_t length = 1 + random() % distance;
      s += s.substr(s.size() - distance, length);
    }
  }
  s.resize(size);
  return s;
}
std::string Text(size_t size, uint32_t seed) {
  static const char* const kWords[] = {"the ", "installer ", "copies ", "files ", "to ",
                                       "C:\\Program Files\\", "setup", ".exe\r\n", "and "};
  std::mt19937 random(seed);
  std::string s;
  while (s.size() < size) s += kWords[random() % (sizeof kWords / sizeof *kWords)];
  s.resize(size);
  return s;
}
std::string SameByte(size_t size, uint32_t) { return std::string(size, '\xA5'); }

TEST(DecompressRoundTripTest, EveryShapeAndSizeComesBack) {
  struct Shape {
    const char* name;
    std::string (*make)(size_t, uint32_t);
  };
  const Shape shapes[] = {{"random", RandomBytes}, {"repetitive", Repetitive}, {"text", Text},
                          {"same byte", SameByte}};
  const size_t sizes[] = {0, 1, 2, 3, 4, 5, 7, 8, 9, 15, 16, 17, 63, 64, 65, 255, 1000, 1024,
                          1025, 4095, 4096, 4100, 65536, 100000};
  for (const Shape& shape : shapes) {
    for (size_t size : sizes) {
      SCOPED_TRACE(std::string(shape.name) + " of " + std::to_string(size));
      const std::string data = shape.make(size, uint32_t(size));
      Result result = DecodeAll(EncodeBlock(data));
      EXPECT_TRUE(result.ok);
      EXPECT_EQ(result.output, data);
    }
  }
}

// One token of a hand-made stream, for placing token shapes where the fast decoder's main loop
// meets them: amid a long block, and right before the output's end.
struct Token {
  enum Kind { kLiterals, kRun, kCopy } kind;
  uint64_t length;    // literal count, run count or copy length
  uint64_t distance;  // of a copy
};

// Writes head (64 varied literal bytes, so that copies have sources), the tokens, then tail more
// literal bytes; the header claims what the tokens produce plus claimExtra.
Block TokenBlock(const std::vector<Token>& tokens, size_t tail, int64_t claimExtra = 0) {
  const std::string head = RandomBytes(64, 5);
  int64_t size = int64_t(head.size() + tail) + claimExtra;
  for (const Token& token : tokens) size += int64_t(token.length);
  BlockWriter writer{int32_t(size)};
  writer.Literal(head);
  uint32_t seed = 1;
  for (const Token& token : tokens) {
    if (token.kind == Token::kLiterals) writer.Literal(RandomBytes(token.length, seed++));
    if (token.kind == Token::kRun) writer.ByteRun(char(seed++), token.length);
    if (token.kind == Token::kCopy) writer.Copy(token.length, token.distance);
  }
  for (size_t done = 0; done < tail; done += 64) {
    writer.Literal(RandomBytes(tail - done < 64 ? tail - done : 64, seed++));
  }
  return writer.Block();
}

TEST(DecompressAgreementTest, TokenShapesAmidTheBlockAndAtItsEnd) {
  using T = Token;
  struct Case {
    const char* name;
    std::vector<Token> tokens;
    bool ok;
  } cases[] = {
      {"literal runs of 1 .. 4",
       {{T::kLiterals, 1, 0}, {T::kCopy, 4, 8}, {T::kLiterals, 4, 0}, {T::kCopy, 5, 20}},
       true},
      {"literal runs of 15, 16, 17",
       {{T::kLiterals, 15, 0},
        {T::kCopy, 7, 7},
        {T::kLiterals, 16, 0},
        {T::kCopy, 9, 30},
        {T::kLiterals, 17, 0},
        {T::kRun, 3, 0}},
       true},
      {"a literal run after a literal run",
       {{T::kLiterals, 3, 0}, {T::kLiterals, 2, 0}, {T::kLiterals, 30, 0}, {T::kCopy, 4, 4}},
       true},
      {"literals then a byte run",
       {{T::kLiterals, 2, 0},
        {T::kRun, 16, 0},
        {T::kRun, 17, 0},
        {T::kLiterals, 1, 0},
        {T::kRun, 300, 0}},
       true},
      {"copies of 4 .. 48 at their own distance",
       {{T::kCopy, 4, 4},
        {T::kCopy, 16, 16},
        {T::kCopy, 31, 31},
        {T::kCopy, 32, 32},
        {T::kCopy, 33, 33},
        {T::kCopy, 48, 48},
        {T::kCopy, 17, 100}},
       true},
      {"a long literal run", {{T::kLiterals, 70, 0}, {T::kLiterals, 1000, 0}}, true},
      {"copy overlapping its output", {{T::kLiterals, 2, 0}, {T::kCopy, 9, 8}}, false},
      {"copy before the start", {{T::kLiterals, 2, 0}, {T::kCopy, 4, 67}}, false},
      {"copy from exactly the start", {{T::kLiterals, 2, 0}, {T::kCopy, 4, 66}}, true},
  };
  for (const Case& c : cases) {
    for (size_t tail : {size_t(0), size_t(5), size_t(40), size_t(200)}) {
      SCOPED_TRACE(std::string(c.name) + ", tail " + std::to_string(tail));
      const Result result = DecodeAll(TokenBlock(c.tokens, tail));
      EXPECT_EQ(result.ok, c.ok);
    }
  }
  // Tokens that carry the output past its claimed size, with the end near and far.
  for (int64_t shortBy : {1, 3, 20, 40}) {
    SCOPED_TRACE("claimed size short by " + std::to_string(shortBy));
    EXPECT_FALSE(DecodeAll(TokenBlock({{T::kLiterals, 2, 0}, {T::kRun, 60, 0}}, 0, -shortBy)).ok);
    EXPECT_FALSE(DecodeAll(TokenBlock({{T::kLiterals, 9, 0}, {T::kCopy, 60, 64}}, 0, -shortBy)).ok);
    EXPECT_FALSE(
        DecodeAll(TokenBlock({{T::kCopy, 50, 50}, {T::kLiterals, 12, 0}}, 0, -shortBy)).ok);
  }
}

// Tokens with needlessly long prefixes after a literal run at every bit alignment, where the
// fast decoder's 64-bit buffer holds the token's whole start: a copy of 14 bytes whose length has
// 21 prefix ones (more than the fast decoder counts) and a byte run of 20 whose count has 26
// (the token is 64 bits long). Each must decode as the reference decodes it.
TEST(DecompressAgreementTest, TokensWithPrefixesThatFillTheFastDecodersBuffer) {
  struct Case {
    const char* name;
    std::function<void(BlockWriter&)> write;
    std::string output;
  } cases[] = {
      {"copy", [](BlockWriter& w) { w.Bit(1).Bit(0).Number(2, 1, 14 - 4, 19).Number(12, 2, 100); },
       std::string(14, 'a')},
      {"byte run", [](BlockWriter& w) { w.Bit(1).Bit(1).Bits('r', 8).Number(1, 1, 20 - 3, 22); },
       std::string(20, 'r')},
  };
  const std::string tail(200, 't');  // output room after the token, as within a block
  for (const Case& c : cases) {
    for (int byteRunExtraOnes = 0; byteRunExtraOnes < 4; ++byteRunExtraOnes) {
      for (const std::string literal : {"x", "xxxxx"}) {
        SCOPED_TRACE(std::string(c.name) + ", " + std::to_string(byteRunExtraOnes) +
                     " extra ones, literal of " + std::to_string(literal.size()));
        BlockWriter writer(int32_t(500 + literal.size() + c.output.size() + tail.size()));
        writer.Bit(1).Bit(1).Bits('a', 8).Number(1, 1, 500 - 3, byteRunExtraOnes).Literal(literal);
        c.write(writer);
        writer.Literal(tail);
        const Result result = DecodeAll(writer.Block());
        EXPECT_TRUE(result.ok);
        EXPECT_EQ(result.output.substr(500 + literal.size()), c.output + tail);
      }
    }
  }
}

// A long literal run followed by only a few bytes of block that make many bytes of output, at
// every bit alignment: the fast decoder takes the run and must then see that the end is near.
TEST(DecompressAgreementTest, LongLiteralRunCloseToTheEndOfTheBlock) {
  const std::string run = RandomBytes(1000, 7);
  for (int byteRunExtraOnes = 0; byteRunExtraOnes < 4; ++byteRunExtraOnes) {
    for (const std::string literal : {"x", "xxxxx"}) {
      SCOPED_TRACE(std::to_string(byteRunExtraOnes) + " extra ones, literal of " +
                   std::to_string(literal.size()));
      BlockWriter writer(int32_t(20 + literal.size() + run.size() + 20 + 12));
      writer.Bit(1).Bit(1).Bits('a', 8).Number(1, 1, 20 - 3, byteRunExtraOnes).Literal(literal);
      writer.Literal(run).ByteRun('b', 20).Copy(12, 1000);
      const Result result = DecodeAll(writer.Block());
      EXPECT_TRUE(result.ok);
      EXPECT_EQ(result.output.substr(20 + literal.size(), run.size()), run);
    }
  }
}

// The encoder's last byte holds the end of the last field, so every cut of its block loses
// needed bits and must fail; both decoders agree on each.
TEST(DecompressAgreementTest, TruncatedBlocks) {
  const std::string data = Repetitive(600, 7) + RandomBytes(100, 8) + Text(300, 9);
  const Block block = EncodeBlock(data);
  for (size_t cut = 0; cut <= block.size(); ++cut) {
    SCOPED_TRACE("cut at " + std::to_string(cut));
    Result result = DecodeAll(Block(block.begin(), block.begin() + cut));
    EXPECT_EQ(result.ok, cut == block.size());
    if (cut == block.size()) {
      EXPECT_EQ(result.output, data);
    }
  }
}

TEST(DecompressAgreementTest, DamagedBlocks) {
  const std::string data = Repetitive(3000, 11) + Text(2000, 12);
  const Block block = EncodeBlock(data);
  std::mt19937 random(1234);
  int failures = 0;
  for (int trial = 0; trial < 3000; ++trial) {
    Block damaged = block;
    const int flips = 1 + int(random() % 4);
    for (int i = 0; i < flips; ++i) {
      const size_t bit = 64 + random() % ((damaged.size() - 8) * 8);
      damaged[bit / 8] = uint8_t(damaged[bit / 8] ^ (1u << (bit % 8)));
    }
    SCOPED_TRACE("trial " + std::to_string(trial));
    if (!DecodeAll(damaged).ok) ++failures;
  }
  // Most damage is caught by some check; every case was compared above.
  EXPECT_GT(failures, 0);
}

// A damaged size must fail the decoding, not end the process: the request for it is made with
// the out-of-memory handler off. Sizes above 256 MB cannot be allocated here.
class DecompressAllocationTest : public AllocationFailureTest {
 protected:
  DecompressAllocationTest() : AllocationFailureTest("max_allocation_size_mb=256") {}
};

TEST_F(DecompressAllocationTest, UnallocatableSizeFailsCleanly) {
  EXPECT_EXIT(
      {
        Block block = BlockWriter(0x7FFFFFF0).Literal("abc").ByteRun('x', 100).Block();
        char* input = reinterpret_cast<char*>(block.data());
        char* data = input;
        int size = int(block.size());
        const bool ok = Decompress(data, size);
        std::exit(!ok && data == input && size == int(block.size()) ? 0 : 2);
      },
      ::testing::ExitedWithCode(0), "");
}

TEST_F(DecompressAllocationTest, UnallocatableSizeLeavesTheStringUnchanged) {
  EXPECT_EXIT(
      {
        Block block = BlockWriter(0x7FFFFFF0).Literal("abc").Block();
        String text(reinterpret_cast<const char*>(block.data()), int(block.size()));
        const bool ok = DecompressString(text);
        std::exit(!ok && text.Length() == int(block.size()) ? 0 : 2);
      },
      ::testing::ExitedWithCode(0), "");
}

}  // namespace
