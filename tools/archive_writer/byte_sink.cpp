#include "tools/archive_writer/byte_sink.h"

#include <cstring>

#include "core/little_endian.h"

char* ByteSink::Reserve(int n) {
  const int needed = length_ + n;
  if (needed > buffer_.Length()) {
    int grown = buffer_.Length() < 256 ? 256 : buffer_.Length();
    while (grown < needed) grown = grown > String::kAll / 2 ? needed : grown * 2;
    buffer_.Resize(grown);
  }
  char* at = buffer_.Data() + length_;
  length_ = needed;
  return at;
}

void ByteSink::U8(uint8_t value) { *Reserve(1) = char(value); }

void ByteSink::U16(uint16_t value) { StoreU16(Reserve(2), value); }

void ByteSink::U32(uint32_t value) { StoreU32(Reserve(4), value); }

void ByteSink::U64(uint64_t value) { StoreU64(Reserve(8), value); }

void ByteSink::Bytes(const void* data, int n) {
  if (n < 1 || data == nullptr) return;
  std::memcpy(Reserve(n), data, size_t(n));
}

void ByteSink::Zeros(int n) {
  if (n < 1) return;
  std::memset(Reserve(n), 0, size_t(n));
}

void ByteSink::Text(const String& text) {
  const char* s = text.CStr();
  Bytes(s, int(std::strlen(s)) + 1);
}

void ByteSink::Stamp(const FileStamp& stamp) {
  S32(stamp.year);
  S32(stamp.month);
  S32(stamp.day);
  S32(stamp.hour);
  S32(stamp.minute);
  S32(stamp.second);
}

String ByteSink::Finish() {
  buffer_.Resize(length_);
  length_ = 0;
  String out(static_cast<String&&>(buffer_));
  buffer_ = String();
  return out;
}
