// A test-only encoder for compressed blocks: a bit writer with one method per token, and a
// greedy compressor over it that emits literal runs, byte runs and non-overlapping copies.
#pragma once

#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

#include "archive/decompressor.h"
#include "core/little_endian.h"

class BlockWriter {
 public:
  // Starts a block whose header claims uncompressedSize bytes.
  explicit BlockWriter(int32_t uncompressedSize) {
    Bits(kBlockMagic, 32);
    Bits(uint32_t(uncompressedSize), 32);
  }

  // n bits of value, least significant first.
  BlockWriter& Bits(uint64_t value, int n) {
    for (int i = 0; i < n; ++i) Bit(unsigned(value >> i) & 1u);
    return *this;
  }
  BlockWriter& Bit(unsigned bit) {
    if (bitCount_ % 8 == 0) bytes_.push_back(0);
    if (bit) bytes_.back() = uint8_t(bytes_.back() | (1u << (bitCount_ % 8)));
    ++bitCount_;
    return *this;
  }
  // N(base, step) with the fewest prefix ones that hold value (< 2^32); extraOnes adds longer prefixes
  // (still valid: the field is just wider).
  BlockWriter& Number(int base, int step, uint64_t value, int extraOnes = 0) {
    int ones = 0;
    while (ones < 64 && (value >> Width(base, step, ones)) != 0) ++ones;
    ones += extraOnes;
    for (int i = 0; i < ones; ++i) Bit(1);
    Bit(0);
    return Bits(value, Width(base, step, ones));
  }

  BlockWriter& Literal(const std::string& bytes) {
    Bit(0).Number(2, 2, bytes.size() - 1);
    for (unsigned char c : bytes) Bits(c, 8);
    return *this;
  }
  BlockWriter& ByteRun(char byte, uint64_t count) {
    return Bit(1).Bit(1).Bits(uint8_t(byte), 8).Number(1, 1, count - 3);
  }
  BlockWriter& Copy(uint64_t length, uint64_t distance) {
    return Bit(1).Bit(0).Number(2, 1, length - 4).Number(12, 2, distance - 4);
  }

  int64_t BitCount() const { return bitCount_; }
  const std::vector<uint8_t>& Block() const { return bytes_; }

 private:
  static int Width(int base, int step, int ones) {
    int width = base + step * ones;
    return width > 32 ? 32 : width;
  }

  std::vector<uint8_t> bytes_;
  int64_t bitCount_ = 0;
};

// Compresses data greedily: byte runs of 3 or more, copies of 4 or more found through a table
// of the last position of each 4-byte sequence, literal runs for the rest.
inline std::vector<uint8_t> EncodeBlock(const std::string& data) {
  BlockWriter writer(int32_t(data.size()));
  const size_t size = data.size();
  std::unordered_map<uint32_t, size_t> lastSeen;
  auto key = [&](size_t i) { return LoadU32(&data[i]); };
  std::string pending;
  auto flush = [&] {
    if (!pending.empty()) writer.Literal(pending);
    pending.clear();
  };
  size_t i = 0;
  while (i < size) {
    size_t run = 1;
    while (i + run < size && data[i + run] == data[i]) ++run;
    if (run >= 3) {
      flush();
      writer.ByteRun(data[i], run);
      i += run;
      continue;
    }
    if (i + 4 <= size) {
      auto found = lastSeen.find(key(i));
      const bool seen = found != lastSeen.end();
      const size_t source = seen ? found->second : 0;
      lastSeen[key(i)] = i;
      if (seen && i - source >= 4) {
        const size_t distance = i - source;
        size_t length = 0;
        while (i + length < size && length < distance && data[source + length] == data[i + length]) {
          ++length;
        }
        if (length >= 4) {
          flush();
          writer.Copy(length, distance);
          i += length;
          continue;
        }
      }
    }
    pending.push_back(data[i]);
    ++i;
  }
  flush();
  return writer.Block();
}
