#include "core/memory_stream.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <utility>

namespace {

// Fill writes through a small local block rather than one allocation of n bytes.
constexpr int kFillPiece = 1024;

}  // namespace

bool MemoryStream::Read(void* buffer, int n) {
  if (n == 0) return true;
  if (n < 0 || buffer == nullptr) return false;
  int available = 0;
  if (position_ >= 0 && position_ < buffer_.Length()) {
    available = std::min(n, buffer_.Length() - position_);
    std::memcpy(buffer, buffer_.CStr() + position_, size_t(available));
  }
  if (available < n) std::memset(static_cast<char*>(buffer) + available, 0, size_t(n - available));
  // The position moves by the size asked for even on failure, so that a caller reading fixed
  // fields past the end sees consistent offsets. It stops at the largest position rather than
  // wrapping.
  position_ = int32_t(std::min<int64_t>(int64_t(position_) + n, String::kAll));
  return available == n;
}

char* MemoryStream::Reserve(int n) {
  if (n < 0 || position_ < 0) return nullptr;
  int64_t end = int64_t(position_) + n;
  if (end >= String::kAll) return nullptr;
  int start = position_;
  int oldLength = buffer_.Length();
  // Growing only past the capacity keeps byte-by-byte writers from reallocating on every call.
  if (end > oldLength) buffer_.SetLengthWithinCapacity(int(end));
  char* base = buffer_.Data();
  if (base == nullptr) return nullptr;  // only for n = 0 on a stream that never held bytes
  if (start > oldLength) std::memset(base + oldLength, 0, size_t(start - oldLength));
  position_ = int32_t(end);
  return base + start;
}

bool MemoryStream::Write(const void* buffer, int n) {
  if (n == 0) return true;
  if (n < 0 || buffer == nullptr) return false;
  // The source may lie inside this stream's own buffer, which Reserve can move: remember it as
  // an offset and find it again afterwards.
  const uintptr_t source = reinterpret_cast<uintptr_t>(buffer);
  const uintptr_t begin = reinterpret_cast<uintptr_t>(buffer_.Data());
  const bool inside = begin != 0 && source >= begin && source < begin + uintptr_t(buffer_.Capacity());
  const size_t sourceOffset = size_t(source - begin);
  char* target = Reserve(n);
  if (target == nullptr) return false;
  const void* from = inside ? static_cast<const void*>(buffer_.Data() + sourceOffset) : buffer;
  std::memmove(target, from, size_t(n));
  return true;
}

bool MemoryStream::CopyWithin(int source, int n) {
  if (source < 0 || n < 1 || position_ < 0 || position_ > buffer_.Length()) return false;
  if (int64_t(source) + n > position_) return false;
  char* target = Reserve(n);
  if (target == nullptr) return false;
  // The ranges cannot overlap: the source ends at or before the old position.
  std::memcpy(target, buffer_.Data() + source, size_t(n));
  return true;
}

bool MemoryStream::Fill(char value, int n) {
  if (n < 1) return false;
  char piece[kFillPiece];
  std::memset(piece, value, size_t(std::min(n, kFillPiece)));
  while (n > 0) {
    int chunk = std::min(n, kFillPiece);
    if (!Write(piece, chunk)) return false;
    n -= chunk;
  }
  return true;
}

bool MemoryStream::SeekFromStart(int p) {
  if (p < 0 || p > buffer_.Length()) return false;
  position_ = p;
  return true;
}

bool MemoryStream::SeekFromEnd(int offset) {
  int64_t p = int64_t(buffer_.Length()) + offset;
  if (p < 0 || p > buffer_.Length()) return false;
  position_ = int32_t(p);
  return true;
}

void MemoryStream::Truncate() {
  if (position_ >= 0 && position_ < buffer_.Length()) buffer_.Resize(position_);
}

void MemoryStream::Reset() {
  position_ = 0;
  buffer_.Clear();
}

String MemoryStream::Detach() {
  String out(std::move(buffer_));
  buffer_.Clear();
  position_ = 0;
  return out;
}
