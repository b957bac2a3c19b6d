// String: the core edit (Splice) and every insertion, deletion and append built on it.
#include <cstdint>
#include <cstring>

#include "core/string.h"
#include "core/string_chars.h"

bool String::Splice(int pos, int removeCount, int insertCount) {
  if (pos < 0 || pos > length_) return false;
  if (removeCount > 0) {
    if (insertCount < 0) return false;
    if (removeCount > length_ - pos) removeCount = length_ - pos;
  } else {
    if (insertCount < 1) return false;
    removeCount = 0;
  }
  int64_t newLength = int64_t(length_) - removeCount + insertCount;
  if (newLength > kMaxLength) return false;  // not representable: a bad count, not exhaustion
  int tailStart = pos + removeCount;
  if (tailStart < length_) {
    // The tail moves with its terminator; growing resizes first, shrinking moves first, so the
    // bytes are always inside the buffer.
    int tailBytes = length_ - tailStart + 1;
    if (removeCount < insertCount) {
      Resize(int(newLength));
      std::memmove(text_ + pos + insertCount, text_ + tailStart, size_t(tailBytes));
    } else if (removeCount > insertCount) {
      std::memmove(text_ + pos + insertCount, text_ + tailStart, size_t(tailBytes));
      Resize(int(newLength));
    }
    return true;
  }
  Resize(pos + insertCount);
  return true;
}

bool String::ReplaceRange(int pos, int removeCount, const char* data, int n) {
  if (data == nullptr) n = 0;
  if (n > 0 && OwnsPointer(data)) {
    // The source is part of this string and Splice may move or free it: copy it out first.
    String copy(data, n);
    return ReplaceRange(pos, removeCount, copy.text_, copy.length_);
  }
  if (!Splice(pos, removeCount, n)) return false;
  if (n > 0) std::memcpy(text_ + pos, data, size_t(n));
  return true;
}

bool String::FillRange(int pos, int removeCount, char ch, int n) {
  if (!Splice(pos, removeCount, n)) return false;
  if (n > 0) std::memset(text_ + pos, static_cast<unsigned char>(ch), size_t(n));
  return true;
}

bool String::Insert(int pos, const char* text, int max) {
  return ReplaceRange(pos, 0, text, string_chars::MeasureTextBounded(text, max));
}

bool String::Insert(int pos, const String& text, int max) {
  int n = text.length_ < max ? text.length_ : max;
  return ReplaceRange(pos, 0, text.text_, n);
}

bool String::InsertChar(char ch, int pos, int count) { return FillRange(pos, 0, ch, count); }

bool String::Prepend(const char* text) { return Insert(0, text); }

bool String::Erase(int pos, int count) { return Splice(pos, count, 0); }

bool String::EraseFrom(int pos) { return Erase(pos, kAll); }

bool String::Append(const char* text) { return Insert(length_, text); }

bool String::Append(const String& text) { return Insert(length_, text); }

bool String::Append(const void* data, int n) {
  return ReplaceRange(length_, 0, static_cast<const char*>(data), n);
}

bool String::AppendChar(char ch) { return FillRange(length_, 0, ch, 1); }

String& String::operator+=(const char* text) {
  Append(text);
  return *this;
}

String& String::operator+=(const String& text) {
  Append(text);
  return *this;
}

String& String::operator+=(char ch) {
  AppendChar(ch);
  return *this;
}

String operator+(const String& a, char b) {
  String result(a);
  result.AppendChar(b);
  return result;
}

String operator+(const String& a, const char* b) {
  String result(a);
  result.Append(b);
  return result;
}

String operator+(const String& a, const String& b) {
  String result(a);
  result.Append(b);
  return result;
}

String operator+(const char* a, const String& b) {
  String result(a);
  result.Append(b);
  return result;
}
