// String: reading and writing texts through the reader and writer interfaces, as NUL-terminated
// texts or with a little-endian length prefix of 1, 2 or 4 bytes. A failed read leaves the
// string as it was.
#include <cstdint>

#include "core/little_endian.h"
#include "core/stream.h"
#include "core/string.h"

namespace {

bool ReadLittleEndian(Reader& in, int bytes, uint32_t& value) {
  unsigned char raw[4] = {0, 0, 0, 0};
  if (!in.Read(raw, bytes)) return false;
  value = uint32_t(LoadLittleEndian(raw, bytes));
  return true;
}

bool WriteLittleEndian(Writer& out, int bytes, uint32_t value) {
  unsigned char raw[4];
  StoreLittleEndian(raw, value, bytes);
  return out.Write(raw, bytes);
}

// Reads n bytes as the new contents of text.
bool ReadBody(Reader& in, int n, String& text) {
  String body;
  if (n > 0 && !body.ReadAppend(in, n)) return false;
  text = static_cast<String&&>(body);
  return true;
}

// The length prefix, then the first n bytes of the text.
bool WritePrefixed(Writer& out, int prefixBytes, const String& text, int n) {
  if (!WriteLittleEndian(out, prefixBytes, uint32_t(n))) return false;
  return n < 1 || out.Write(text.CStr(), n);
}

}  // namespace

bool String::ReadCString(Reader& in) {
  String text;
  for (;;) {
    char c = 0;
    if (!in.Read(&c, 1)) return false;
    if (c == '\0') break;
    text.AppendChar(c);
  }
  *this = static_cast<String&&>(text);
  return true;
}

bool String::ReadPrefixed8(Reader& in) {
  uint32_t n = 0;
  return ReadLittleEndian(in, 1, n) && ReadBody(in, int(n), *this);
}

bool String::ReadPrefixed16(Reader& in) {
  uint32_t n = 0;
  return ReadLittleEndian(in, 2, n) && ReadBody(in, int(n), *this);
}

bool String::ReadPrefixed32(Reader& in) {
  uint32_t n = 0;
  if (!ReadLittleEndian(in, 4, n)) return false;
  if (n > uint32_t(kAll)) return false;  // a negative length
  return ReadBody(in, int(n), *this);
}

bool String::ReadAppend(Reader& in, int n) {
  if (n < 0) return false;
  if (n == 0) return true;
  int oldLength = length_;
  // Lengths come from files, where a damaged one can ask for anything: memory that cannot be had
  // makes this read fail like a short file does, instead of ending the process.
  char* dest = TryGrow(n);
  if (dest == nullptr) return false;
  if (in.Read(dest, n)) return true;
  Resize(oldLength);
  return false;
}

bool String::WriteCString(Writer& out) const {
  return length_ < 1 || out.Write(text_, length_);
}

bool String::WritePrefixed8(Writer& out) const {
  return WritePrefixed(out, 1, *this, length_ < 255 ? length_ : 255);
}

bool String::WritePrefixed16(Writer& out) const {
  return WritePrefixed(out, 2, *this, length_ < 65535 ? length_ : 65535);
}

bool String::WritePrefixed32(Writer& out) const { return WritePrefixed(out, 4, *this, length_); }
