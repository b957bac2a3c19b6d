// String: in-place character edits, trimming and edge operations.
#include <cstring>

#include "core/string.h"
#include "core/string_chars.h"

using string_chars::InSet;
using string_chars::IsLineBreak;
using string_chars::SameChar;
using string_chars::ToUpperAscii;

void String::ToUpper() {
  for (int i = 0; i < length_; ++i) text_[i] = ToUpperAscii(text_[i]);
}

int String::ReplaceChar(char from, char to, bool caseSensitive) {
  int count = 0;
  for (int i = 0; i < length_; ++i) {
    if (SameChar(text_[i], from, !caseSensitive)) {
      text_[i] = to;
      ++count;
    }
  }
  return count;
}

int String::RemoveChar(char ch, int start, int limit) {
  if (limit < 1) return 0;
  int from = start < 0 ? 0 : start;
  if (from >= length_) return 0;
  // One compaction pass: every kept byte moves at most once.
  int write = from;
  int removed = 0;
  for (int read = from; read < length_; ++read) {
    if (text_[read] == ch && removed < limit) {
      ++removed;
      continue;
    }
    text_[write++] = text_[read];
  }
  if (removed > 0) Resize(write);
  return removed;
}

int String::TrimLeft(const char* set) {
  if (set == nullptr) set = string_chars::kWhitespace;
  int n = 0;
  while (n < length_ && InSet(set, text_[n])) ++n;
  if (n > 0) Erase(0, n);
  return n;
}

int String::TrimRight(const char* set) {
  if (set == nullptr) set = string_chars::kWhitespace;
  int n = 0;
  while (n < length_ && InSet(set, text_[length_ - 1 - n])) ++n;
  if (n > 0) Erase(length_ - n, n);
  return n;
}

int String::Trim() {
  int right = TrimRight();
  return right + TrimLeft();
}

int String::TrimRightChar(char ch) {
  int n = 0;
  while (n < length_ && text_[length_ - 1 - n] == ch) ++n;
  if (n > 0) Erase(length_ - n, n);
  return n;
}

int String::RemoveFirst(int n) {
  if (n < 1 || length_ < 1) return 0;
  if (n > length_) n = length_;
  Erase(0, n);
  return n;
}

int String::RemoveLast(int n) {
  if (n < 1 || length_ < 1) return 0;
  if (n > length_) n = length_;
  Erase(length_ - n, n);
  return n;
}

int String::RemoveFirstAndLast(int n) {
  int first = RemoveFirst(n);
  return first + RemoveLast(n);
}

bool String::RemoveFirstIf(char ch) { return StartsWithChar(ch) && Erase(0, 1); }

bool String::RemoveLastIf(char ch) { return EndsWithChar(ch) && Erase(length_ - 1, 1); }

bool String::RemoveFirstIfIn(const char* set) {
  return length_ > 0 && InSet(set, text_[0]) && Erase(0, 1);
}

bool String::StripEnclosing(char ch) {
  // A single character is not enclosed by itself: there must be two of them.
  if (length_ < 2 || text_[0] != ch || text_[length_ - 1] != ch) return false;
  Erase(length_ - 1, 1);
  Erase(0, 1);
  return true;
}

void String::Quote() {
  InsertChar('"', 0);
  AppendChar('"');
}

bool String::PrependCharIfMissing(char ch) {
  if (StartsWithChar(ch)) return false;
  return InsertChar(ch, 0);
}

void String::EnsureTrailingLineBreak() {
  if (!IsLineBreak(LastChar())) Append("\r\n");
}

int String::NormaliseLineBreaks() {
  // Count first, so that a text already in CR LF form is left untouched and the new text is
  // built with one allocation.
  int changes = 0;
  int grow = 0;
  for (int i = 0; i < length_; ++i) {
    char c = text_[i];
    char next = i + 1 < length_ ? text_[i + 1] : '\0';
    if (c == '\r' && next == '\n') {
      ++i;
    } else if (c == '\n' && next == '\r') {
      ++changes;
      ++i;
    } else if (IsLineBreak(c)) {
      ++changes;
      ++grow;
    }
  }
  if (changes == 0) return 0;
  String result;
  char* out = result.Grow(length_ + grow);
  for (int i = 0; i < length_; ++i) {
    char c = text_[i];
    char next = i + 1 < length_ ? text_[i + 1] : '\0';
    if (IsLineBreak(c)) {
      *out++ = '\r';
      *out++ = '\n';
      if ((c == '\r' && next == '\n') || (c == '\n' && next == '\r')) ++i;
    } else {
      *out++ = c;
    }
  }
  *this = static_cast<String&&>(result);
  return changes;
}
