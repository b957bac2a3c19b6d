// The two bounds-checked cursors of the block decoders: BitReader over the compressed block and
// ByteWriter over the output buffer. Every check that keeps a decoder inside its buffers lives
// here, so token code cannot read or write out of bounds even when it miscounts.
#pragma once

#include <cstdint>
#include <cstring>

// Reads the block as a bit stream: bit p is bit (p mod 8) of byte (p div 8), least significant
// first; a field's first bit is its least significant.
class BitReader {
 public:
  BitReader(const uint8_t* data, int size, int64_t startBit)
      : data_(data), limit_(size > 0 ? int64_t(size) * 8 : 0), position_(startBit) {
    if (position_ > limit_) position_ = limit_;
  }

  int64_t Position() const { return position_; }
  int64_t Remaining() const { return limit_ - position_; }
  bool IsByteAligned() const { return (position_ & 7) == 0; }

  // One bit; past the end it is 0 and the position does not move.
  unsigned ReadBit() {
    if (position_ >= limit_) return 0;
    unsigned bit = (data_[position_ >> 3] >> (position_ & 7)) & 1u;
    ++position_;
    return bit;
  }

  // A field of n bits, 1 <= n <= 32. Fails, consuming nothing, when it would run past the end.
  bool ReadBits(int n, uint32_t& value) {
    if (n < 1 || n > 32 || n > Remaining()) return false;
    uint64_t field = 0;
    for (int i = 0; i < n; ++i) field |= uint64_t(ReadBit()) << i;
    value = uint32_t(field);
    return true;
  }

  // The next bits as one number, next bit least significant, from a single 8-byte load where the
  // block allows it. At least min(57, Remaining()) of them are valid; the bits after the end of
  // the block are zeros. Does not move.
  uint64_t Peek() const {
    const int64_t byte = position_ >> 3;
    const int shift = int(position_ & 7);
    const int64_t bytesLeft = (limit_ >> 3) - byte;
    uint64_t window = 0;
    if (bytesLeft >= 8) {
      std::memcpy(&window, data_ + byte, 8);  // little-endian hosts only (x86, x86-64)
    } else {
      for (int64_t i = 0; i < bytesLeft; ++i) window |= uint64_t(data_[byte + i]) << (8 * i);
    }
    return window >> shift;
  }

  // Moves past n bits that the caller has taken from Peek. Fails, moving nothing, when fewer
  // than n remain.
  bool Skip(int n) {
    if (n < 0 || n > Remaining()) return false;
    position_ += n;
    return true;
  }

  // Copies count bytes (count * 8 bits) of the stream to out: one move when byte-aligned,
  // otherwise seven bytes per 8-byte load and shift. Fails, moving nothing, when fewer bits remain.
  bool ReadBytes(uint8_t* out, int64_t count) {
    if (count < 0 || count > Remaining() / 8) return false;
    const uint8_t* in = data_ + (position_ >> 3);
    const int shift = int(position_ & 7);
    position_ += count * 8;
    if (shift == 0) {
      std::memcpy(out, in, size_t(count));
      return true;
    }
    // An unaligned run spans count + 1 block bytes, all inside the block; the 8-byte loads stay
    // at least one byte short of that end.
    const uint8_t* inEnd = in + count + 1;
    while (count >= 7 && inEnd - in >= 8) {
      uint64_t window;
      std::memcpy(&window, in, 8);
      window >>= shift;
      std::memcpy(out, &window, 7);
      in += 7;
      out += 7;
      count -= 7;
    }
    for (; count > 0; --count, ++in, ++out) {
      *out = uint8_t((in[0] >> shift) | (in[1] << (8 - shift)));
    }
    return true;
  }

 private:
  const uint8_t* data_;
  int64_t limit_;     // in bits
  int64_t position_;  // in bits
};

// Appends to an output buffer of fixed capacity. Each operation fails, writing nothing, when it
// would carry the output past the capacity.
class ByteWriter {
 public:
  ByteWriter(uint8_t* data, int capacity) : data_(data), capacity_(capacity > 0 ? capacity : 0) {}
  // Continues an output of which the first `position` bytes (0 <= position <= capacity) are
  // already written; copies may reach back into them.
  ByteWriter(uint8_t* data, int capacity, int position) : ByteWriter(data, capacity) {
    position_ = position < 0 ? 0 : position > capacity_ ? capacity_ : position;
  }

  int Position() const { return position_; }
  bool IsFull() const { return position_ >= capacity_; }
  bool Fits(int64_t n) const { return n >= 0 && n <= int64_t(capacity_) - position_; }

  bool PutByte(uint8_t value) {
    if (!Fits(1)) return false;
    data_[position_++] = value;
    return true;
  }

  // Room for n bytes, for the caller to fill at once; null when they do not fit.
  uint8_t* Reserve(int64_t n) {
    if (!Fits(n)) return nullptr;
    uint8_t* start = data_ + position_;
    position_ += int(n);
    return start;
  }

  bool Fill(uint8_t value, int64_t n) {
    uint8_t* target = Reserve(n);
    if (target == nullptr) return false;
    std::memset(target, value, size_t(n));
    return true;
  }

  // Appends length bytes starting distance bytes back. The source must lie wholly in the output
  // written so far, so it never overlaps the destination.
  bool CopyFromBack(int64_t distance, int64_t length) {
    const int64_t source = int64_t(position_) - distance;
    if (distance < 0 || source < 0 || length < 0 || source + length > position_) return false;
    uint8_t* target = Reserve(length);
    if (target == nullptr) return false;
    std::memcpy(target, data_ + source, size_t(length));
    return true;
  }

 private:
  uint8_t* data_;
  int capacity_;
  int position_ = 0;
};
