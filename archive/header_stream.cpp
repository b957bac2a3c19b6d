// Reads of the in-memory header. Every read checks what remains before it touches a byte, so a
// damaged header can end a read early but never make it leave the buffer.
//
// Bounds cases (what each read does when the data ends first):
//   numbers, ReadStamp, ReadRaw, Skip    false; nothing consumed, the output untouched
//   ReadBytes                            false; the String holds the bytes that remained, and
//                                        they are consumed (the stream is then at its end)
//   ReadText without a NUL               false; the String holds the bytes up to the end, and
//                                        they are consumed
//   a String request longer than a String can hold (close to 2 GB, far beyond any header)
//                                        false; the String empty, nothing consumed
#include "archive/header_stream.h"

#include <cstring>

#include "core/little_endian.h"

namespace {

// String keeps a little room beyond its length inside its 32-bit capacity, and a length of
// exactly kAll means "measure to the NUL"; stay well clear of both.
constexpr size_t kLongestString = size_t(String::kAll) - 64;

}  // namespace

bool HeaderStream::ReadU8(uint8_t& value) {
  if (Remaining() < 1) return false;
  value = uint8_t(data_[position_]);
  position_ += 1;
  return true;
}

bool HeaderStream::ReadU16(uint16_t& value) {
  if (Remaining() < 2) return false;
  value = LoadU16(data_ + position_);
  position_ += 2;
  return true;
}

bool HeaderStream::ReadU32(uint32_t& value) {
  if (Remaining() < 4) return false;
  value = LoadU32(data_ + position_);
  position_ += 4;
  return true;
}

bool HeaderStream::ReadU64(uint64_t& value) {
  if (Remaining() < 8) return false;
  value = LoadU64(data_ + position_);
  position_ += 8;
  return true;
}

bool HeaderStream::ReadBytes(size_t n, String& bytes) {
  const size_t available = n <= Remaining() ? n : Remaining();
  if (available > kLongestString) {
    bytes.Clear();
    return false;
  }
  if (available == 0) {
    bytes.Clear();
  } else {
    bytes.Assign(data_ + position_, int(available));
  }
  position_ += available;
  return available == n;
}

bool HeaderStream::ReadRaw(void* buffer, size_t n) {
  if (n > Remaining()) return false;
  if (n > 0) std::memcpy(buffer, data_ + position_, n);
  position_ += n;
  return true;
}

bool HeaderStream::ReadText(String& text) {
  if (Remaining() == 0) {
    text.Clear();
    return false;
  }
  const char* start = data_ + position_;
  const void* nul = std::memchr(start, '\0', Remaining());
  const size_t length =
      nul != nullptr ? size_t(static_cast<const char*>(nul) - start) : Remaining();
  if (length > kLongestString) {
    text.Clear();
    return false;
  }
  text.Assign(start, int(length));
  position_ += length;
  if (nul == nullptr) return false;
  position_ += 1;  // the NUL
  return true;
}

bool HeaderStream::ReadStamp(FileStamp& stamp) {
  constexpr size_t kStampSize = 24;
  if (Remaining() < kStampSize) return false;
  const char* fields = data_ + position_;
  stamp.year = int32_t(LoadU32(fields));
  stamp.month = int32_t(LoadU32(fields + 4));
  stamp.day = int32_t(LoadU32(fields + 8));
  stamp.hour = int32_t(LoadU32(fields + 12));
  stamp.minute = int32_t(LoadU32(fields + 16));
  stamp.second = int32_t(LoadU32(fields + 20));
  position_ += kStampSize;
  return true;
}

bool HeaderStream::Skip(size_t n) {
  if (n > Remaining()) return false;
  position_ += n;
  return true;
}
