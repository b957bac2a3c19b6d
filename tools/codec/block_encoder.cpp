#include "tools/codec/block_encoder.h"

#include <climits>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "archive/decompressor.h"
#include "tools/codec/fast_parse.h"
#include "tools/codec/lazy_parse.h"
#include "tools/codec/optimal_parse.h"
#include "tools/codec/token_writer.h"

namespace {

// Levels 2 .. 6: longer chains and more lookahead as the level rises. Longer chains than these
// make a lazy parse slower than the optimal parse and still larger.
constexpr codec::LazyParseSettings kLazyLevels[] = {
    {4, 32, 0}, {8, 64, 1}, {16, 64, 1}, {32, 128, 1}, {64, 128, 2},
};
constexpr int kLastLazyLevel = 6;

// Levels 7 .. 9. Level 7 weighs decoding time; 8 and 9 weigh size alone, 9 searching deepest.
constexpr codec::OptimalParseSettings kOptimalLevels[] = {
    {48, 128, codec::kDecodeTimeCharges},
    {8, 64, codec::kSizeOnly},
    {48, 273, codec::kSizeOnly},
};

void Parse(const uint8_t* data, int64_t size, int level, codec::TokenWriter& tokens) {
  if (level == kFastestLevel) {
    codec::ParseFast(data, size, tokens);
  } else if (level <= kLastLazyLevel) {
    codec::ParseLazy(data, size, kLazyLevels[level - 2], tokens);
  } else {
    codec::ParseOptimal(data, size, kOptimalLevels[level - kLastLazyLevel - 1], tokens);
  }
}

void PutU32(std::vector<uint8_t>& out, uint32_t value) {
  for (int i = 0; i < 4; ++i) out.push_back(uint8_t(value >> (8 * i)));
}

}  // namespace

String EncodeBlock(const char* data, int size, int level) {
  if (size < 0 || (data == nullptr && size > 0)) size = 0;
  if (level < kFastestLevel) level = kFastestLevel;
  if (level > kSmallestLevel) level = kSmallestLevel;
  const uint8_t* bytes = reinterpret_cast<const uint8_t*>(data);

  std::vector<uint8_t> block;
  // Literals cost 8 bits a byte and every parse only picks tokens that save bits, so the
  // stream stays near the input's size.
  block.reserve(size_t(size) + size_t(size) / 64 + 64);
  PutU32(block, kBlockMagic);
  PutU32(block, uint32_t(size));
  codec::TokenWriter tokens(bytes, size, block);
  Parse(bytes, size, level, tokens);
  tokens.Finish();
  if (block.size() > size_t(INT_MAX)) return String();
  return String(reinterpret_cast<const char*>(block.data()), int(block.size()));
}
