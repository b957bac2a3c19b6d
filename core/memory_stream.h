// MemoryStream: a growable byte buffer with a read/write position, implementing the reader and
// writer interfaces. The decompressor writes its output into one; the file object keeps a whole
// file in one while in memory mode.
#pragma once

#include <cstdint>

#include "core/stream.h"
#include "core/string.h"

class MemoryStream : public Reader, public Writer {
 public:
  MemoryStream() = default;
  MemoryStream(const MemoryStream&) = delete;
  MemoryStream& operator=(const MemoryStream&) = delete;

  // Copies n bytes from the position. When fewer remain, copies what remains, fills the rest of
  // buffer with zeros and fails. The position advances by n either way. n = 0 succeeds; n < 0
  // or a null buffer fails without touching anything.
  bool Read(void* buffer, int n) override;

  // Writes n bytes at the position (overwriting, then extending the stream). n = 0 succeeds;
  // n < 0 or a null buffer fails.
  bool Write(const void* buffer, int n) override;

  // Advances the position by n and extends the stream to the new position when it was shorter;
  // returns the n bytes now reserved at the old position, for the caller to fill. Null when
  // n < 0 or the new position would not fit in 32 bits. Bytes between the old end of the stream
  // and the old position (left by reads past the end) become zeros.
  char* Reserve(int n);

  // Appends at the position a copy of the n bytes starting at offset source. Fails, writing
  // nothing, unless source >= 0, n > 0, source + n <= position and position <= Size(): the
  // source range must lie wholly before the bytes being written.
  bool CopyWithin(int source, int n);

  // Writes n copies of value, in pieces of at most 1,024 bytes. n < 1 fails.
  bool Fill(char value, int n);

  bool SeekFromStart(int p);      // 0 <= p <= Size(); false (position unchanged) otherwise
  bool SeekFromEnd(int offset);   // to Size() + offset, within the same bounds
  void Truncate();                // cuts the stream at the position (no-op beyond the end)
  void Reset();                   // position 0, buffer freed
  String Detach();                // hands the bytes over; the stream is left empty at 0

  bool HasMore() const { return position_ >= 0 && position_ < buffer_.Length(); }
  int Tell() const { return position_; }
  int Size() const { return buffer_.Length(); }
  const String& Buffer() const { return buffer_; }
  // For callers that size the buffer up front (its length is the stream size).
  String& Buffer() { return buffer_; }

 private:
  int32_t position_ = 0;
  String buffer_;
};
