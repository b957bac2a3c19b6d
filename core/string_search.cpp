// String: the scanning operations. Each returns a position or -1 and never changes the string.
#include <cstring>

#include "core/string.h"
#include "core/string_chars.h"

using string_chars::InSet;
using string_chars::IsDigit;
using string_chars::IsWordChar;
using string_chars::SameChar;

namespace {

// One match test of Find at text: m bytes compared exactly, folded, with '?' as a wildcard, or
// both; or, in any-of mode, membership of one byte in the needle's m-byte set.
bool MatchesAt(const char* text, const char* needle, int needleLength, int m, int flags) {
  bool fold = (flags & String::kIgnoreCase) != 0;
  if (flags & String::kAnyOf) {
    for (int i = 0; i < needleLength; ++i) {
      if (SameChar(text[0], needle[i], fold)) return true;
    }
    return false;
  }
  bool wildcard = (flags & String::kWildcard) != 0;
  for (int i = 0; i < m; ++i) {
    if (wildcard && needle[i] == '?') continue;
    if (!SameChar(text[i], needle[i], fold)) return false;
  }
  return true;
}

}  // namespace

int String::Find(const char* needle, int start, int flags, int needleLength) const {
  if (needle == nullptr || length_ < 1) return -1;
  if (needleLength == kAll) needleLength = string_chars::MeasureText(needle);
  if (needleLength < 1) return -1;
  bool backward = (flags & kBackward) != 0;
  int m = (flags & kAnyOf) ? 1 : needleLength;
  int limit = length_ - m;
  int pos;
  if (backward) {
    pos = start == int(0x80000000) ? -1 : start - 1;
    if (pos > limit) pos = limit;
  } else {
    pos = start < 0 ? 0 : start;
  }
  if (pos < 0) return -1;
  int step = backward ? -1 : 1;
  // A forward scan for exact bytes can jump from one occurrence of the needle's first byte to the
  // next; every other mode tests each position in turn.
  bool plainForward = !backward && !(flags & (kIgnoreCase | kWildcard | kSkipQuoted | kAnyOf));
  while (pos <= limit) {
    if (plainForward) {
      const void* first = std::memchr(text_ + pos, static_cast<unsigned char>(needle[0]),
                                      size_t(limit - pos + 1));
      if (first == nullptr) return -1;
      pos = int(static_cast<const char*>(first) - text_);
    }
    if ((flags & kSkipQuoted) && text_[pos] == '"') {
      // Jump to the closing quote (or past the end); the step below moves beyond it.
      pos += step;
      while (pos >= 0 && pos < length_ && text_[pos] != '"') pos += step;
    } else if (MatchesAt(text_ + pos, needle, needleLength, m, flags)) {
      bool stands = true;
      if (flags & kWholeWord) {
        bool wordBefore = pos > 0 && IsWordChar(text_[pos - 1]);
        bool wordAfter = pos < limit && IsWordChar(text_[pos + m]);
        stands = !wordBefore && !wordAfter;
      }
      if (stands) return (flags & kAfterMatch) ? pos + m : pos;
    }
    pos += step;
    if (pos < 0) return -1;
  }
  return -1;
}

int String::FindChar(char ch, int start, int flags) const {
  bool fold = (flags & kIgnoreCase) != 0;
  for (int pos = start < 0 ? 0 : start; pos < length_; ++pos) {
    char c = text_[pos];
    if ((flags & kSkipQuoted) && c == '"') {
      ++pos;
      while (pos < length_ && text_[pos] != '"') ++pos;
      continue;
    }
    if (SameChar(c, ch, fold)) return pos;
  }
  return -1;
}

int String::FindCharReverse(char ch, int start, int flags) const {
  bool fold = (flags & kIgnoreCase) != 0;
  bool insideQuotes = false;
  for (int pos = start < length_ - 1 ? start : length_ - 1; pos >= 0; --pos) {
    char c = text_[pos];
    if ((flags & kSkipQuoted) && c == '"') {
      insideQuotes = !insideQuotes;
      continue;
    }
    if (!insideQuotes && SameChar(c, ch, fold)) return pos;
  }
  return -1;
}

int String::FindFirstOf(const char* set, int start) const {
  if (set == nullptr || set[0] == '\0') return -1;
  for (int pos = start < 0 ? 0 : start; pos < length_; ++pos) {
    if (InSet(set, text_[pos])) return pos;
  }
  return -1;
}

int String::FindFirstNotOf(const char* set, int start) const {
  for (int pos = start < 0 ? 0 : start; pos < length_; ++pos) {
    if (!InSet(set, text_[pos])) return pos;
  }
  return -1;
}

int String::FindNumberStart(int start) const {
  for (int pos = start < 0 ? 0 : start; pos < length_; ++pos) {
    char c = text_[pos];
    if (IsDigit(c) || c == '+' || c == '-' || c == '.') return pos;
  }
  return -1;
}

int String::FindLineEnd(int start, int flags) const {
  int notFound = (flags & kLengthIfNone) ? length_ : -1;
  if (start < 0 || start >= length_) return notFound;
  for (int pos = start; pos < length_; ++pos) {
    char c = text_[pos];
    if ((flags & kSkipQuoted) && c == '"') {
      ++pos;
      while (pos < length_ && text_[pos] != '"') ++pos;
      continue;
    }
    if (c != '\n' && c != '\r') continue;
    if (flags & kBreakPosition) return pos;
    char pair = c == '\n' ? '\r' : '\n';
    return (pos + 1 < length_ && text_[pos + 1] == pair) ? pos + 2 : pos + 1;
  }
  return notFound;
}
