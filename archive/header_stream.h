// HeaderStream: a read-only cursor over the decompressed header held in memory. Every read
// checks the bytes that remain, so a damaged header can never be read past its end.
#pragma once

#include <cstddef>
#include <cstdint>

#include "core/file_stamp.h"
#include "core/string.h"

class HeaderStream {
 public:
  HeaderStream(const char* data, size_t size) : data_(data), size_(size) {}

  // Each reads a little-endian number and advances; false (nothing consumed) when it does not
  // fit in what remains.
  bool ReadU8(uint8_t& value);
  bool ReadU16(uint16_t& value);
  bool ReadU32(uint32_t& value);
  bool ReadU64(uint64_t& value);
  // n raw bytes into a String, or into a caller's buffer; false when fewer remain. The String
  // form keeps (and consumes) the bytes that were there: a failed read leaves it shortened.
  // ReadRaw fails without consuming or writing anything.
  bool ReadBytes(size_t n, String& bytes);
  bool ReadRaw(void* buffer, size_t n);
  // The bytes up to and including the next NUL; the NUL is not kept. False when no NUL remains:
  // the text then holds the bytes up to the end of the data, which are consumed.
  bool ReadText(String& text);
  // False (nothing consumed) when fewer than n bytes remain.
  bool Skip(size_t n);
  // A 24-byte stamp: six little-endian signed words, year first; false (nothing consumed, the
  // stamp untouched) when fewer than 24 bytes remain.
  bool ReadStamp(FileStamp& stamp);

  size_t Position() const { return position_; }
  size_t Remaining() const { return size_ - position_; }

 private:
  const char* data_;
  size_t size_;
  size_t position_ = 0;
};
