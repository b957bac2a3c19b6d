// TextCursor: a read position in a counted text for the small hand-written parsers of dates and
// times. Every look is bounded by the text's length; at the end Peek gives NUL, which matches
// nothing the parsers look for.
#pragma once

#include "core/date_time.h"
#include "core/string.h"
#include "core/string_chars.h"

struct TextCursor {
  const String& text;
  int pos;

  bool AtEnd() const { return pos >= text.Length(); }
  char Peek() const { return pos >= 0 && pos < text.Length() ? text.CStr()[pos] : '\0'; }

  void SkipWhitespace() {
    while (!AtEnd() && string_chars::IsWhitespace(Peek())) ++pos;
  }

  // Skips one character from the set (NUL-terminated); true when there was one.
  bool SkipOneOf(const char* set) {
    if (AtEnd() || !string_chars::InSet(set, Peek())) return false;
    ++pos;
    return true;
  }

  // True when the next n characters equal word's first n, ignoring ASCII case (word has at
  // least n characters).
  bool LooksAt(const char* word, int n) const {
    if (n > text.Length() - pos) return false;
    const char* here = text.CStr() + pos;
    for (int i = 0; i < n; ++i) {
      if (!string_chars::SameChar(here[i], word[i], true)) return false;
    }
    return true;
  }

  int ReadNumber(int flags = 0) { return ParseNumber(text, pos, flags); }
};
