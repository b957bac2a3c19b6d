// Walks the tokens of an encoded block without decoding through the engine, so that tests can
// check properties of the encoder's output that a decoder would hide: every copy within the
// output written so far and not overlapping its destination, no token past the claimed size, and
// the mix of tokens the encoder chose.
#pragma once

#include <cstdint>
#include <string>

struct TokenCounts {
  int64_t literalRuns = 0;
  int64_t byteRuns = 0;
  int64_t copies = 0;
  int64_t adjacentLiteralRuns = 0;  // a literal run right after another: a missed merge
};

// True when the block is a well-formed encoder output: the header's magic, tokens that cover
// exactly the claimed size, copies with 4 <= length <= distance <= bytes produced so far, byte
// runs of 3 or more, and at most 7 zero bits of padding after the last token. On false, error
// says what was wrong and where.
inline bool WalkBlockTokens(const std::string& block, TokenCounts& counts, std::string& error) {
  const int64_t limit = int64_t(block.size()) * 8;
  int64_t bit = 0;
  auto take = [&](int n, uint64_t& value) {
    if (bit + n > limit) return false;
    value = 0;
    for (int i = 0; i < n; ++i, ++bit) {
      value |= uint64_t((uint8_t(block[size_t(bit >> 3)]) >> (bit & 7)) & 1) << i;
    }
    return true;
  };
  auto number = [&](int base, int step, uint64_t& value) {
    int width = base;
    uint64_t one;
    for (;;) {
      if (!take(1, one)) return false;
      if (one == 0) break;
      width += step;
    }
    return width <= 32 && take(width, value);
  };
  auto fail = [&](const std::string& what, int64_t at) {
    error = what + " at output byte " + std::to_string(at);
    return false;
  };

  counts = TokenCounts();
  if (block.size() < 8) return fail("short header", 0);
  uint64_t magic, claimed;
  take(32, magic);
  take(32, claimed);
  if (magic != 0x9EC72BA1u) return fail("wrong magic", 0);
  int64_t produced = 0;
  bool lastWasLiteral = false;
  while (produced < int64_t(claimed)) {
    uint64_t first, second, value, byte;
    if (!take(1, first)) return fail("stream ends", produced);
    if (first == 0) {
      if (!number(2, 2, value)) return fail("bad literal count", produced);
      const int64_t count = int64_t(value) + 1;
      if (bit + count * 8 > limit) return fail("literal bytes past the end", produced);
      bit += count * 8;
      produced += count;
      ++counts.literalRuns;
      if (lastWasLiteral) ++counts.adjacentLiteralRuns;
      lastWasLiteral = true;
    } else {
      if (!take(1, second)) return fail("stream ends", produced);
      lastWasLiteral = false;
      if (second == 1) {
        if (!take(8, byte) || !number(1, 1, value)) return fail("bad byte run", produced);
        produced += int64_t(value) + 3;
        ++counts.byteRuns;
      } else {
        uint64_t lengthLessFour, distanceLessFour;
        if (!number(2, 1, lengthLessFour) || !number(12, 2, distanceLessFour)) {
          return fail("bad copy fields", produced);
        }
        const int64_t length = int64_t(lengthLessFour) + 4;
        const int64_t distance = int64_t(distanceLessFour) + 4;
        if (distance < length) return fail("overlapping copy", produced);
        if (distance > produced) return fail("copy before the start", produced);
        produced += length;
        ++counts.copies;
      }
    }
    if (produced > int64_t(claimed)) return fail("token past the claimed size", produced);
  }
  if (limit - bit >= 8) return fail("whole bytes after the last token", produced);
  for (; bit < limit; ++bit) {
    if ((uint8_t(block[size_t(bit >> 3)]) >> (bit & 7)) & 1) return fail("padding not zero", produced);
  }
  return true;
}
