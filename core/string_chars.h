// Character classes shared by the String operations. All are ASCII-only by design: texts are in
// the system's 8-bit code page, and only a-z and A-Z fold, so that a byte of another script is
// never changed or matched by accident.
#pragma once

#include <cstring>

namespace string_chars {

inline constexpr char kWhitespace[] = " \r\n\t";

inline bool IsDigit(char c) { return c >= '0' && c <= '9'; }
inline bool IsLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
inline bool IsWordChar(char c) { return IsLetter(c) || IsDigit(c) || c == '_'; }
inline bool IsWhitespace(char c) { return c == ' ' || c == '\r' || c == '\n' || c == '\t'; }
inline bool IsLineBreak(char c) { return c == '\r' || c == '\n'; }

inline char FoldCase(char c) { return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c; }
inline char ToUpperAscii(char c) { return (c >= 'a' && c <= 'z') ? char(c - 'a' + 'A') : c; }

inline bool SameChar(char a, char b, bool foldCase) {
  return foldCase ? FoldCase(a) == FoldCase(b) : a == b;
}

// Membership in a NUL-terminated set. The NUL byte is never a member (strchr would report the
// set's own terminator as a hit); a null set is empty.
inline bool InSet(const char* set, char c) {
  return set != nullptr && c != '\0' && std::strchr(set, c) != nullptr;
}

// Length of a NUL-terminated text as a 32-bit count (null is empty).
inline int MeasureText(const char* text) {
  if (text == nullptr) return 0;
  size_t n = std::strlen(text);
  return n > 0x7FFFFFFF ? 0x7FFFFFFF : int(n);
}

// Length up to the first NUL, at most max bytes (max < 1 gives 0).
inline int MeasureTextBounded(const char* text, int max) {
  if (text == nullptr || max < 1) return 0;
  int n = 0;
  while (n < max && text[n] != '\0') ++n;
  return n;
}

}  // namespace string_chars
