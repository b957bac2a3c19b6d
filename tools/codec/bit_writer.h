// Writes the block's bit stream: bit p goes to bit (p mod 8) of byte (p div 8), least significant
// first, and a field's least significant bit is written first, so that the decoder's BitReader
// reads back exactly what was put here.
#pragma once

#include <cstdint>
#include <vector>

class BitWriter {
 public:
  // Appends to out, which may already hold whole bytes (the block header).
  explicit BitWriter(std::vector<uint8_t>& out) : out_(out) {}

  // The low n bits of value, 0 <= n <= 32; the bits above n must be 0.
  void PutBits(uint32_t value, int n) {
    pending_ |= uint64_t(value) << pendingBits_;
    pendingBits_ += n;
    if (pendingBits_ >= 32) {
      const uint32_t word = uint32_t(pending_);
      out_.push_back(uint8_t(word));
      out_.push_back(uint8_t(word >> 8));
      out_.push_back(uint8_t(word >> 16));
      out_.push_back(uint8_t(word >> 24));
      pending_ >>= 32;
      pendingBits_ -= 32;
    }
  }

  // count bytes as 8-bit fields; one block move when the stream is byte-aligned.
  void PutBytes(const uint8_t* bytes, int64_t count);

  // Pads the last byte with 0 bits and writes it. The writer must not be used afterwards.
  void Finish();

  // Bits written so far after the bytes the output held at the start.
  int64_t BitCount() const { return int64_t(out_.size()) * 8 + pendingBits_; }

 private:
  std::vector<uint8_t>& out_;
  uint64_t pending_ = 0;  // bits not yet in out_, the next one lowest
  int pendingBits_ = 0;   // always below 32 between calls
};
