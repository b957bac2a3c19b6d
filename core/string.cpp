// String: construction, assignment, size management and access.
#include "core/string.h"

#include <cstdint>
#include <cstring>

#include "core/checksum.h"
#include "core/fatal.h"
#include "core/little_endian.h"
#include "core/memory.h"
#include "core/string_chars.h"

using string_chars::IsLineBreak;
using string_chars::IsWhitespace;

namespace {

// CStr of a string without buffer points here, so callers never see null.
const char kEmptyText[1] = {'\0'};

}  // namespace

String::String() = default;

String::String(const char* text) { Assign(text); }

String::String(const char* data, int n) { Assign(data, n); }

String::String(char ch) { FillRange(0, 0, ch, 1); }

String::String(const String& other) { Assign(other.text_, other.length_); }

String::String(String&& other) noexcept
    : text_(other.text_), length_(other.length_), capacity_(other.capacity_) {
  other.text_ = nullptr;
  other.length_ = 0;
  other.capacity_ = 0;
}

String::~String() { MemFree(text_); }

String& String::operator=(const String& other) {
  Assign(other);
  return *this;
}

String& String::operator=(String&& other) noexcept {
  if (this != &other) {
    MemFree(text_);
    text_ = other.text_;
    length_ = other.length_;
    capacity_ = other.capacity_;
    other.text_ = nullptr;
    other.length_ = 0;
    other.capacity_ = 0;
  }
  return *this;
}

String& String::operator=(const char* text) {
  Assign(text);
  return *this;
}

bool String::OwnsPointer(const void* p) const {
  if (text_ == nullptr || p == nullptr) return false;
  uintptr_t address = reinterpret_cast<uintptr_t>(p);
  uintptr_t base = reinterpret_cast<uintptr_t>(text_);
  return address >= base && address - base < uintptr_t(capacity_);
}

void String::Assign(const char* src, int n) {
  if (src == nullptr) {
    Clear();
    return;
  }
  if (OwnsPointer(src)) {
    // A piece of this very string: the bytes must be copied out before the buffer changes, so
    // they go to a fresh buffer. Only the counted bytes are valid; a longer n is clipped to them.
    int offset = int(src - text_);
    int available = length_ - offset;
    if (n == kAll) n = string_chars::MeasureTextBounded(src, available);
    if (n > available) n = available;
    if (n < 1) {
      Clear();
      return;
    }
    if (offset == 0 && n == length_) return;
    char* fresh = static_cast<char*>(MemAllocate(size_t(n) + kGrowthSlack));
    std::memcpy(fresh, src, size_t(n));
    fresh[n] = '\0';
    MemFree(text_);
    text_ = fresh;
    length_ = n;
    capacity_ = n + kGrowthSlack;
    return;
  }
  if (n == kAll) n = string_chars::MeasureText(src);
  if (n < 1) {
    Clear();
    return;
  }
  ReplaceRange(0, kAll, src, n);
}

void String::Assign(const char* src) { Assign(src, kAll); }

void String::Assign(const String& other) {
  if (this == &other) return;
  Assign(other.text_, other.length_);
}

void String::AssignBounded(const char* src, int max) {
  Assign(src, string_chars::MeasureTextBounded(src, max));
}

void String::Adopt(char* heapBuffer, int n) {
  if (heapBuffer == nullptr || n < 1 || n > kAll - 1) {
    if (heapBuffer != text_) MemFree(heapBuffer);
    Clear();
    return;
  }
  char* owned = static_cast<char*>(MemReallocate(heapBuffer, size_t(n) + 1));
  owned[n] = '\0';
  // Adopting this string's own buffer must not free it twice.
  if (heapBuffer != text_) MemFree(text_);
  text_ = owned;
  length_ = n;
  capacity_ = n + 1;
}

void String::Clear() {
  MemFree(text_);
  text_ = nullptr;
  length_ = 0;
  capacity_ = 0;
}

bool String::ResizeBuffer(int n, bool fatalOnFailure) {
  if (n < 1) {
    Clear();
    return true;
  }
  if (n == length_) return true;
  if (n < capacity_ && n >= capacity_ - kIdleLimit) {
    length_ = n;
    text_[n] = '\0';
    return true;
  }
  size_t size = size_t(n) + kGrowthSlack;
  char* fresh = nullptr;
  if (n <= kMaxLength) {
    if (fatalOnFailure) {
      fresh = static_cast<char*>(MemReallocate(text_, size));
    } else {
      bool previous = SetOutOfMemoryHandlerEnabled(false);
      fresh = static_cast<char*>(MemReallocate(text_, size));
      SetOutOfMemoryHandlerEnabled(previous);
    }
  }
  if (fresh == nullptr) {
    // Only a length beyond 32-bit capacity gets here with the handler on.
    if (fatalOnFailure) OutOfMemory(size);
    return false;
  }
  text_ = fresh;
  length_ = n;
  capacity_ = n + kGrowthSlack;
  text_[n] = '\0';
  return true;
}

void String::Resize(int n) { ResizeBuffer(n, true); }

bool String::TryResize(int n) { return ResizeBuffer(n, false); }

bool String::SetLengthWithinCapacity(int n) {
  if (n < capacity_) {
    if (length_ < n) {
      length_ = n;
      text_[n] = '\0';
    }
    return false;
  }
  Resize(n);
  return true;
}

char* String::TryGrow(int n) {
  if (n < 0) return nullptr;
  int64_t target = int64_t(length_) + n;
  if (target > kAll) return nullptr;
  int oldLength = length_;
  if (!TryResize(int(target))) return nullptr;
  return text_ == nullptr ? nullptr : text_ + oldLength;
}

char* String::Grow(int n) {
  if (n < 1) return text_ == nullptr ? nullptr : text_ + length_;
  int64_t target = int64_t(length_) + n;
  if (target > kAll) OutOfMemory(size_t(target) + kGrowthSlack);
  int oldLength = length_;
  Resize(int(target));
  return text_ + oldLength;
}

void String::SyncLength() {
  if (text_ == nullptr) return;
  const void* nul = std::memchr(text_, 0, size_t(capacity_));
  if (nul == nullptr) {
    // The caller filled the whole buffer: keep the invariant by sacrificing the last byte.
    length_ = capacity_ - 1;
    text_[length_] = '\0';
    return;
  }
  length_ = int(static_cast<const char*>(nul) - text_);
}

void String::Shrink(int n) {
  int64_t target = int64_t(length_) - n;
  if (target > kAll) target = kAll;
  Resize(target < 0 ? 0 : int(target));
}

// Access.

const char* String::CStr() const { return text_ == nullptr ? kEmptyText : text_; }

char String::CharAt(int i) const { return (i < 0 || i >= length_) ? '\0' : text_[i]; }

char* String::CharPtrAt(int i) {
  if (i < 0 || i >= length_) InternalFatal(kCoreModule, kCharPtrAtCheck);
  return text_ + i;
}

char String::FirstChar() const { return length_ < 1 ? '\0' : text_[0]; }

char String::LastChar() const { return length_ < 1 ? '\0' : text_[length_ - 1]; }

bool String::StartsWithChar(char ch) const { return length_ > 0 && text_[0] == ch; }

bool String::EndsWithChar(char ch) const { return length_ > 0 && text_[length_ - 1] == ch; }

bool String::EndsWithLineBreak() const { return length_ > 0 && IsLineBreak(text_[length_ - 1]); }

bool String::ContainsChar(char ch) const {
  return length_ > 0 && std::memchr(text_, static_cast<unsigned char>(ch), size_t(length_));
}

bool String::ContainsWhitespace() const {
  for (int i = 0; i < length_; ++i) {
    if (IsWhitespace(text_[i])) return true;
  }
  return false;
}

uint32_t String::ReadU32At(int offset) const {
  if (offset < 0 || offset > length_ - 4) return 0xFFFFFFFFu;
  return LoadU32(text_ + offset);
}

bool String::WriteU16At(int offset, uint16_t v) {
  if (offset < 0 || offset > length_ - 2) return false;
  StoreU16(text_ + offset, v);
  return true;
}

bool String::WriteU32At(int offset, uint32_t v) {
  if (offset < 0 || offset > length_ - 4) return false;
  StoreU32(text_ + offset, v);
  return true;
}

bool String::CopyOut(void* dst, int offset, int n) const {
  if (offset < 0 || n < 0 || offset > length_ - n) return false;
  if (n == 0) return true;
  if (dst == nullptr) return false;
  std::memcpy(dst, text_ + offset, size_t(n));
  return true;
}

uint32_t String::Hash() const { return ArchiveChecksum(text_, length_); }
