// The block encoder against both decoders: every level round-trips every input, the tokens it
// writes are ones the format allows (no overlapping copies), the smallest level does not lose to
// the fastest, and the output depends on nothing but the input and the level.
#include "tools/codec/block_encoder.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "archive/decompressor.h"
#include "tests/native/block_test_encoder.h"
#include "tests/tools/block_token_walker.h"

namespace {

std::string Encode(const std::string& input, int level) {
  String block = EncodeBlock(input.data(), int(input.size()), level);
  return std::string(block.CStr(), size_t(block.Length()));
}

// Bytes from a fixed linear congruential generator: the same on every run.
std::string RandomBytes(size_t count, uint32_t seed) {
  std::string bytes(count, '\0');
  for (char& c : bytes) {
    seed = seed * 1103515245u + 12345u;
    c = char(seed >> 23);
  }
  return bytes;
}

std::string Repeat(const std::string& piece, size_t times) {
  std::string out;
  for (size_t i = 0; i < times; ++i) out += piece;
  return out;
}

// Text-like data: words from a small vocabulary in a pseudo-random order, so that matches of
// many lengths and distances occur.
std::string Prose(size_t count, uint32_t seed) {
  static const char* const kWords[] = {"install", "the ",     "file ",  "Windows", "registry ",
                                       "key",     "shortcut", " of ",   "program", "\r\n",
                                       "DLL ",    "version ", "system", "32",      "folder "};
  std::string out;
  while (out.size() < count) {
    seed = seed * 1103515245u + 12345u;
    out += kWords[(seed >> 16) % (sizeof(kWords) / sizeof(kWords[0]))];
  }
  out.resize(count);
  return out;
}

// Literal runs whose counts sit on the edges of the count field's widths (4, 16, 64, 256 ...),
// each between two byte runs so that it stays one run.
std::string LiteralRunEdges() {
  std::string out;
  uint32_t seed = 7;
  for (size_t count : {1, 2, 3, 4, 5, 15, 16, 17, 63, 64, 65, 255, 256, 257, 1023, 1024, 1025}) {
    out += RandomBytes(count, seed++);
    out += std::string(5, 'z');
  }
  return out;
}

// Byte runs whose counts sit on the edges of the run-count widths (3 + 2, 4, 8, ...).
std::string ByteRunEdges() {
  std::string out;
  for (size_t count : {3, 4, 5, 6, 7, 10, 11, 18, 19, 34, 35, 66, 67, 130, 131, 1026, 1027,
                       65538, 65539}) {
    out += std::string(count, char(count));
    out += "|";
  }
  return out;
}

// Copies of lengths on the length field's edges, each repeating a random piece once.
std::string CopyLengthEdges() {
  std::string out;
  uint32_t seed = 99;
  for (size_t length : {4, 5, 7, 8, 11, 12, 19, 20, 35, 36, 67, 68, 131, 132, 4099, 4100}) {
    const std::string piece = RandomBytes(length, seed++);
    out += piece + "#" + piece + "%";
  }
  return out;
}

struct Input {
  const char* name;
  std::string bytes;
};

const std::vector<Input>& Inputs() {
  static const std::vector<Input> inputs = [] {
    const std::string farPiece = Prose(3000, 5);
    return std::vector<Input>{
        {"empty", ""},
        {"one byte", "A"},
        {"three bytes", "abc"},
        {"four equal bytes", "xxxx"},
        {"example text", "abcxxxxxabcx"},
        {"short sentence", "the quick brown fox jumps over the lazy dog, the quick brown cat"},
        {"period 1", std::string(100000, 'x')},
        {"period 2", Repeat("ab", 5000)},
        {"period 3", Repeat("abc", 5000)},
        {"period 4", Repeat("abcd", 5000)},
        {"period 5", Repeat("abcde", 3001)},
        {"zeros then text", std::string(70000, '\0') + Prose(5000, 1)},
        {"random 100 KiB", RandomBytes(100000, 42)},
        {"random then its copy", RandomBytes(40000, 3) + RandomBytes(40000, 3)},
        {"prose 300 KiB", Prose(300000, 11)},
        {"far repeat", farPiece + RandomBytes(200000, 8) + farPiece},
        {"literal run edges", LiteralRunEdges()},
        {"byte run edges", ByteRunEdges()},
        {"copy length edges", CopyLengthEdges()},
        {"distance edges", RandomBytes(4096 + 4, 17) + RandomBytes(8, 17) +
                               RandomBytes(16384, 18) + RandomBytes(4096 + 4, 17)},
    };
  }();
  return inputs;
}

void ExpectDecodesTo(const std::string& block, const std::string& input) {
  std::vector<uint8_t> reference(input.size() + 1, 0xA5), fast(input.size() + 1, 0x5A);
  const uint8_t* blockBytes = reinterpret_cast<const uint8_t*>(block.data());
  ASSERT_TRUE(DecompressReference(blockBytes, int(block.size()), reference.data(), int(input.size())));
  ASSERT_TRUE(DecompressFast(blockBytes, int(block.size()), fast.data(), int(input.size())));
  EXPECT_TRUE(input == std::string(reference.begin(), reference.end() - 1)) << "reference decoder";
  EXPECT_TRUE(input == std::string(fast.begin(), fast.end() - 1)) << "fast decoder";
  EXPECT_EQ(0xA5, reference[input.size()]) << "reference decoder wrote past the size";
  EXPECT_EQ(0x5A, fast[input.size()]) << "fast decoder wrote past the size";
}

TEST(BlockEncoder, EveryLevelRoundTripsEveryInputThroughBothDecoders) {
  for (const Input& input : Inputs()) {
    for (int level = kFastestLevel; level <= kSmallestLevel; ++level) {
      SCOPED_TRACE(std::string(input.name) + ", level " + std::to_string(level));
      const std::string block = Encode(input.bytes, level);
      ASSERT_GE(block.size(), 8u);
      uint32_t claimed;
      std::memcpy(&claimed, block.data() + 4, 4);
      EXPECT_EQ(input.bytes.size(), claimed);
      ExpectDecodesTo(block, input.bytes);
    }
  }
}

TEST(BlockEncoder, TokensAreWellFormedWithoutOverlapOrUnmergedLiterals) {
  for (const Input& input : Inputs()) {
    for (int level = kFastestLevel; level <= kSmallestLevel; ++level) {
      SCOPED_TRACE(std::string(input.name) + ", level " + std::to_string(level));
      TokenCounts counts;
      std::string error;
      EXPECT_TRUE(WalkBlockTokens(Encode(input.bytes, level), counts, error)) << error;
      EXPECT_EQ(0, counts.adjacentLiteralRuns);
    }
  }
}

// The fastest level charges each token a little for its decoding time, the smallest nothing, so
// the smallest level may lose to it only where an optimal parse is cut into segments (a token
// or two); on data of any size it must win.
TEST(BlockEncoder, SmallestLevelIsNeverMuchLargerThanFastest) {
  for (const Input& input : Inputs()) {
    SCOPED_TRACE(input.name);
    const size_t fastest = Encode(input.bytes, kFastestLevel).size();
    EXPECT_LE(Encode(input.bytes, kSmallestLevel).size(), fastest + 8);
  }
}

// Level 7 weighs decoding time and kSmallestLevel size alone, over the same kind of parse: the
// smallest level is never larger, and level 7 never needs more tokens or more copies from beyond
// the decoder's caches.
TEST(BlockEncoder, DecodeWeighedLevelTradesSizeForFewerTokens) {
  const std::string inputs[] = {
      Prose(300000, 11),
      Prose(200000, 3) + RandomBytes(5000, 4) + Prose(100000, 3),
      Prose(40000, 5) + RandomBytes(1200000, 8) + Prose(40000, 5),
  };
  for (size_t i = 0; i < sizeof(inputs) / sizeof(inputs[0]); ++i) {
    SCOPED_TRACE(i);
    const std::string smallest = Encode(inputs[i], kSmallestLevel);
    const std::string weighed = Encode(inputs[i], 7);
    EXPECT_LE(smallest.size(), weighed.size());
    TokenCounts smallestCounts, weighedCounts;
    std::string error;
    ASSERT_TRUE(WalkBlockTokens(smallest, smallestCounts, error)) << error;
    ASSERT_TRUE(WalkBlockTokens(weighed, weighedCounts, error)) << error;
    EXPECT_LE(weighedCounts.literalRuns + weighedCounts.byteRuns + weighedCounts.copies,
              smallestCounts.literalRuns + smallestCounts.byteRuns + smallestCounts.copies);
  }
}

TEST(BlockEncoder, SmallestLevelBeatsFastestOnLargeInputs) {
  const std::string inputs[] = {
      Prose(300000, 11),
      Prose(200000, 3) + RandomBytes(5000, 4) + Prose(100000, 3),
      Prose(3000, 5) + RandomBytes(200000, 8) + Prose(3000, 5),
  };
  for (size_t i = 0; i < sizeof(inputs) / sizeof(inputs[0]); ++i) {
    SCOPED_TRACE(i);
    EXPECT_LT(Encode(inputs[i], kSmallestLevel).size(), Encode(inputs[i], kFastestLevel).size());
  }
}

TEST(BlockEncoder, SameInputAndLevelGiveTheSameBytes) {
  const std::string input = Prose(200000, 3) + RandomBytes(5000, 4) + Prose(100000, 3);
  for (int level = kFastestLevel; level <= kSmallestLevel; ++level) {
    SCOPED_TRACE(level);
    EXPECT_EQ(Encode(input, level), Encode(input, level));
  }
}

TEST(BlockEncoder, LevelsOutsideTheRangeAreClamped) {
  const std::string input = Prose(50000, 9);
  EXPECT_EQ(Encode(input, kFastestLevel), Encode(input, 0));
  EXPECT_EQ(Encode(input, kFastestLevel), Encode(input, -5));
  EXPECT_EQ(Encode(input, kSmallestLevel), Encode(input, kSmallestLevel + 1));
  EXPECT_EQ(Encode(input, kSmallestLevel), Encode(input, 1000));
}

TEST(BlockEncoder, EmptyInputIsTheHeaderAlone) {
  const std::string expected("\xA1\x2B\xC7\x9E\0\0\0\0", 8);
  for (int level = kFastestLevel; level <= kSmallestLevel; ++level) {
    SCOPED_TRACE(level);
    String block = EncodeBlock(nullptr, 0, level);
    EXPECT_EQ(expected, std::string(block.CStr(), size_t(block.Length())));
  }
}

// Compression that any working parse reaches: each case's block must be below a bound that a
// parse sending the bytes as literals (or missing the repeat) cannot meet.
TEST(BlockEncoder, RepetitionIsFoundAtEveryLevel) {
  const std::string piece = RandomBytes(2000, 77);
  struct Case {
    const char* name;
    std::string input;
    size_t maxBlock;
    int fromLevel;
  } cases[] = {
      {"one byte a million times", std::string(1000000, '\x90'), 16, kFastestLevel},
      {"random piece twice", piece + piece, 2000 + 40, kFastestLevel},
      {"random piece 50 times", Repeat(piece, 50), 2000 + 400, kFastestLevel},
      // Only the searching levels keep positions this far back through unrelated data.
      {"repeat 300 KiB apart", piece + RandomBytes(300000, 1) + piece, 302000 + 60, 2},
      // A copy from beyond the decoder's cache is charged for its decoding time at some levels,
      // but a long one still saves far more than that.
      {"repeat 1.5 MiB apart", piece + RandomBytes(1500000, 2) + piece, 1502000 + 60,
       kSmallestLevel},
  };
  for (const Case& c : cases) {
    for (int level = c.fromLevel; level <= kSmallestLevel; ++level) {
      SCOPED_TRACE(std::string(c.name) + ", level " + std::to_string(level));
      EXPECT_LE(Encode(c.input, level).size(), c.maxBlock);
    }
  }
}

// Random bytes cannot be compressed; the encoder must not expand them beyond the literal runs'
// headers.
TEST(BlockEncoder, IncompressibleInputGrowsByAFewBytesOnly) {
  const std::string input = RandomBytes(1 << 20, 2024);
  for (int level = kFastestLevel; level <= kSmallestLevel; ++level) {
    SCOPED_TRACE(level);
    EXPECT_LE(Encode(input, level).size(), input.size() + 8 + 16);
  }
}

// The walker is the judge of the no-overlap rule, so it must itself reject such a block.
TEST(BlockTokenWalker, RejectsMalformedBlocks) {
  struct Case {
    const char* name;
    std::vector<uint8_t> block;
    const char* error;
  } cases[] = {
      {"overlapping copy", BlockWriter(12).Literal("abcdefgh").Copy(5, 4).Block(), "overlapping copy"},
      {"copy before start", BlockWriter(12).Literal("abcdefgh").Copy(4, 9).Block(), "copy before the start"},
      {"overshoot", BlockWriter(6).Literal("abc").ByteRun('x', 4).Block(), "token past the claimed size"},
      {"cut short", BlockWriter(20).Literal("abc").Block(), "literal bytes past the end"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TokenCounts counts;
    std::string error;
    EXPECT_FALSE(WalkBlockTokens(std::string(c.block.begin(), c.block.end()), counts, error));
    EXPECT_NE(std::string::npos, error.find(c.error)) << error;
  }
  TokenCounts counts;
  std::string error;
  const std::vector<uint8_t> good = BlockWriter(12).Literal("abc").ByteRun('x', 5).Copy(4, 8).Block();
  EXPECT_TRUE(WalkBlockTokens(std::string(good.begin(), good.end()), counts, error)) << error;
  EXPECT_EQ(1, counts.literalRuns);
  EXPECT_EQ(1, counts.byteRuns);
  EXPECT_EQ(1, counts.copies);
}

}  // namespace
