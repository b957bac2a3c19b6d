// String: replacement of occurrences (the substitution engine of the install variables),
// removal of occurrences, and wildcard substitution.
#include <cstdint>
#include <cstring>

#include "core/memory.h"
#include "core/string.h"
#include "core/string_chars.h"

namespace {

// A growable list of hit positions in the engine's allocator.
class PositionList {
 public:
  PositionList() = default;
  PositionList(const PositionList&) = delete;
  PositionList& operator=(const PositionList&) = delete;
  ~PositionList() { MemFree(items_); }

  void Add(int position) {
    if (count_ == capacity_) {
      capacity_ = capacity_ < 16 ? 16 : capacity_ * 2;
      items_ = static_cast<int*>(MemReallocate(items_, sizeof(int) * size_t(capacity_)));
    }
    items_[count_++] = position;
  }
  int Count() const { return count_; }
  int operator[](int i) const { return items_[i]; }

 private:
  int* items_ = nullptr;
  int count_ = 0;
  int capacity_ = 0;
};

// Writes value to dest; with wildcards, the matched bytes (already saved by the caller, because
// dest may overlap them) fill the value's '?'s.
void WriteValue(char* dest, const char* value, int valueLength, bool wildcard,
                const char* pattern, const char* matched) {
  if (valueLength < 1) return;
  if (wildcard) {
    SubstituteWildcards(dest, value, pattern, matched);
  } else {
    std::memcpy(dest, value, size_t(valueLength));
  }
}

}  // namespace

int String::Replace(const char* pattern, const char* value, int flags, int start, int maxCount,
                    int skip) {
  bool firstOnly = (flags & kFirstOnly) != 0;
  int failure = firstOnly ? -1 : 0;
  int m = string_chars::MeasureText(pattern);
  if (maxCount < 1 || m < 1) return failure;
  if (OwnsPointer(pattern) || OwnsPointer(value)) {
    // Texts taken from this string's own buffer would be overwritten while hits are replaced,
    // or freed when the string is resized: work from copies.
    String patternCopy(pattern);
    String valueCopy(value);
    return Replace(patternCopy.CStr(), valueCopy.CStr(), flags, start, maxCount, skip);
  }
  if (firstOnly) maxCount = 1;
  if (value == nullptr) value = "";
  int valueLength = string_chars::MeasureText(value);
  bool wildcard = (flags & kWildcard) != 0;
  int findFlags = flags & (kIgnoreCase | kWholeWord | kWildcard | kSkipQuoted);

  // The matched bytes of the hit being written, saved before the value overwrites them.
  String matched;
  if (wildcard) matched.Resize(m);

  int found = 0;
  int replaced = 0;
  int firstReplaced = -1;
  PositionList hits;  // only when the length changes
  int pos = start;
  while (replaced < maxCount) {
    int hit = Find(pattern, pos, findFlags, m);
    if (hit < 0) break;
    ++found;
    pos = hit + m;
    if (found <= skip) continue;
    ++replaced;
    if (firstReplaced < 0) firstReplaced = hit;
    if (valueLength == m) {
      if (wildcard) std::memcpy(matched.text_, text_ + hit, size_t(m));
      WriteValue(text_ + hit, value, valueLength, wildcard, pattern, matched.text_);
    } else {
      hits.Add(hit);
    }
  }

  int count = hits.Count();
  if (count > 0) {
    int oldLength = length_;
    int64_t newLength = int64_t(oldLength) + int64_t(count) * (valueLength - m);
    if (valueLength > m) {
      // Grow once, then fill from the end: each tail moves up exactly once.
      if (newLength > kMaxLength) OutOfMemory(size_t(newLength) + kGrowthSlack);
      Resize(int(newLength));
      int sourceEnd = oldLength;
      int destEnd = int(newLength);
      for (int k = count - 1; k >= 0; --k) {
        int hit = hits[k];
        int tailStart = hit + m;
        int tailLength = sourceEnd - tailStart;
        destEnd -= tailLength;
        std::memmove(text_ + destEnd, text_ + tailStart, size_t(tailLength));
        destEnd -= valueLength;
        if (wildcard) std::memcpy(matched.text_, text_ + hit, size_t(m));
        WriteValue(text_ + destEnd, value, valueLength, wildcard, pattern, matched.text_);
        sourceEnd = hit;
      }
    } else {
      // Fill from the front, closing each gap as it goes, and cut the string once at the end.
      int dest = hits[0];
      for (int k = 0; k < count; ++k) {
        int hit = hits[k];
        if (wildcard) std::memcpy(matched.text_, text_ + hit, size_t(m));
        WriteValue(text_ + dest, value, valueLength, wildcard, pattern, matched.text_);
        dest += valueLength;
        int segmentStart = hit + m;
        int segmentEnd = k + 1 < count ? hits[k + 1] : oldLength;
        std::memmove(text_ + dest, text_ + segmentStart, size_t(segmentEnd - segmentStart));
        dest += segmentEnd - segmentStart;
      }
      Resize(dest);
    }
  }
  if (firstOnly) return firstReplaced;
  return found;
}

int String::RemoveAll(const char* needle, int maxCount, bool caseSensitive) {
  int m = string_chars::MeasureText(needle);
  if (m < 1) return 0;
  if (OwnsPointer(needle)) {
    // Each removal moves this string's bytes and may free its buffer: keep the needle apart.
    String needleCopy(needle);
    return RemoveAll(needleCopy.CStr(), maxCount, caseSensitive);
  }
  int flags = caseSensitive ? 0 : kIgnoreCase;
  int count = 0;
  int pos = 0;
  while (count < maxCount) {
    pos = Find(needle, pos, flags, m);
    if (pos < 0) break;
    Erase(pos, m);
    ++count;
  }
  return count;
}

void SubstituteWildcards(char* dest, const char* replacement, const char* pattern,
                         const char* matched) {
  if (dest == nullptr || replacement == nullptr) return;
  if (pattern == nullptr) pattern = "";
  // When the matched text is dest itself, writing the output would destroy the bytes the '?'s
  // are taken from: work from a copy of the matched bytes.
  String saved;
  if (matched == nullptr) {
    saved.Assign(dest, string_chars::MeasureText(pattern));
    matched = saved.CStr();
  }
  int patternCursor = 0;
  for (int i = 0; replacement[i] != '\0'; ++i) {
    char c = replacement[i];
    if (c == '?') {
      while (pattern[patternCursor] != '\0' && pattern[patternCursor] != '?') ++patternCursor;
      if (pattern[patternCursor] == '?') {
        char taken = matched[patternCursor];
        ++patternCursor;
        if (taken != '\0') c = taken;
      }
    }
    dest[i] = c;
  }
}
