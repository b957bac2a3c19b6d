// ByteSink: builds a little-endian byte block piece by piece. The archive's blocks are written
// field by field, often millions of small pieces for a large data block, so the buffer grows
// geometrically instead of by each piece (a String grows by exactly what is appended).
#pragma once

#include <cstdint>

#include "core/file_stamp.h"
#include "core/string.h"

class ByteSink {
 public:
  void U8(uint8_t value);
  void U16(uint16_t value);
  void U32(uint32_t value);
  void S32(int32_t value) { U32(uint32_t(value)); }
  void U64(uint64_t value);
  void Bytes(const void* data, int n);  // n < 1 writes nothing
  void Zeros(int n);
  // The text up to its first NUL, then one NUL: what the archive's text readers take back.
  void Text(const String& text);
  // The six fields in stored order (24 bytes).
  void Stamp(const FileStamp& stamp);

  int Length() const { return length_; }
  // Hands the bytes over; the sink is left empty.
  String Finish();

 private:
  // Room for n more bytes; returns where they go.
  char* Reserve(int n);

  String buffer_;   // its length is the capacity in use; bytes past length_ are not yet written
  int length_ = 0;
};
