#include "tools/codec/bit_writer.h"

#include <cstring>

void BitWriter::PutBytes(const uint8_t* bytes, int64_t count) {
  if (pendingBits_ % 8 == 0) {
    // Aligned: flush the whole pending bytes, then the run is one move.
    while (pendingBits_ > 0) {
      out_.push_back(uint8_t(pending_));
      pending_ >>= 8;
      pendingBits_ -= 8;
    }
    out_.insert(out_.end(), bytes, bytes + count);
    return;
  }
  for (; count >= 4; count -= 4, bytes += 4) {
    uint32_t word;
    std::memcpy(&word, bytes, 4);  // little-endian hosts: the first byte is the lowest
    PutBits(word, 32);
  }
  for (; count > 0; --count, ++bytes) PutBits(*bytes, 8);
}

void BitWriter::Finish() {
  while (pendingBits_ > 0) {
    out_.push_back(uint8_t(pending_));
    pending_ >>= 8;
    pendingBits_ = pendingBits_ > 8 ? pendingBits_ - 8 : 0;
  }
}
