// String: equality, ordering, prefixes and suffixes, and the truth value of a text.
#include <cstring>

#include "core/string.h"
#include "core/string_chars.h"

using string_chars::FoldCase;
using string_chars::MeasureText;

namespace {

// Byte comparison of n bytes with the sign of the first difference (bytes taken as unsigned),
// optionally folding ASCII case.
int CompareBytes(const char* a, const char* b, int n, bool caseSensitive) {
  for (int i = 0; i < n; ++i) {
    char ca = caseSensitive ? a[i] : FoldCase(a[i]);
    char cb = caseSensitive ? b[i] : FoldCase(b[i]);
    if (ca != cb) return int(static_cast<unsigned char>(ca)) - int(static_cast<unsigned char>(cb));
  }
  return 0;
}

// The ordering rule shared by Compare and CompareString. The terminator takes part in the
// comparison (both sides have one at their length), so a proper prefix compares lower.
int CompareCounted(const char* text, int length, const char* s, int sLength, bool caseSensitive,
                   int max) {
  if (s == nullptr || sLength < 1) return length < 1 ? 0 : 1;
  if (text == nullptr) return -1;
  int n = (length < sLength ? length : sLength) + 1;
  if (n > max) n = max;
  if (n < 1) return -1;
  return CompareBytes(text, s, n, caseSensitive);
}

}  // namespace

bool String::Equals(const String& other) const {
  if (length_ != other.length_) return false;
  return length_ < 1 || std::memcmp(text_, other.text_, size_t(length_)) == 0;
}

int String::Compare(const char* s, bool caseSensitive, int max) const {
  return CompareCounted(text_, length_, s, MeasureText(s), caseSensitive, max);
}

int String::CompareString(const String& s, bool caseSensitive, int max) const {
  return CompareCounted(text_, length_, s.text_, s.length_, caseSensitive, max);
}

bool String::IsGreaterThan(const char* s) const { return Compare(s, true, kAll) > 0; }

bool String::StartsWith(const char* s, int max) const {
  int n = string_chars::MeasureTextBounded(s, max);
  if (n < 1 || n > length_) return false;
  return std::memcmp(text_, s, size_t(n)) == 0;
}

bool String::RemovePrefix(const char* s, int max) {
  int n = string_chars::MeasureTextBounded(s, max);
  if (n < 1 || n > length_) return false;
  if (CompareBytes(text_, s, n, false) != 0) return false;
  return Erase(0, n);
}

bool String::RemoveSuffix(const char* s, int max) {
  int sLength = MeasureText(s);
  int n = sLength < max ? sLength : max;
  if (n < 1 || n > length_) return false;
  if (CompareBytes(text_ + length_ - n, s + sLength - n, n, false) != 0) return false;
  return Erase(length_ - n, n);
}

bool String::ToBool() const {
  String trimmed(*this);
  trimmed.Trim();
  if (trimmed.IsEmpty()) return false;
  if (trimmed.Compare("0", true, kAll) <= 0) return false;
  static const char* const kFalseWords[] = {"false", "f", "no", "n"};
  for (const char* word : kFalseWords) {
    if (trimmed.Compare(word, false, kAll) == 0) return false;
  }
  return true;
}
