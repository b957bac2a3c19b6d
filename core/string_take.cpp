// String: substrings and the consuming operations that take a piece off the front of a text
// (lines, quoted runs, command-line tokens).
#include <cstring>

#include "core/string.h"
#include "core/string_chars.h"

using string_chars::IsWhitespace;

namespace {

// Reads the quoted run that opens at text[start] (which must be the quote): appends its content
// to out, a doubled quote standing for one, and returns the position just past the run (past the
// closing quote, or length when the run is unclosed). closed reports whether a closing quote ended
// the run.
int ReadQuotedRun(const char* text, int length, int start, char quote, String& out, bool& closed) {
  closed = false;
  int pos = start + 1;
  int pieceStart = pos;
  while (pos < length) {
    if (text[pos] != quote) {
      ++pos;
      continue;
    }
    out.Append(text + pieceStart, pos - pieceStart);
    if (pos + 1 < length && text[pos + 1] == quote) {
      out.AppendChar(quote);
      pos += 2;
      pieceStart = pos;
      continue;
    }
    closed = true;
    return pos + 1;
  }
  out.Append(text + pieceStart, length - pieceStart);
  return length;
}

// Length of the line break at text[pos] (CR LF and LF CR are one break; a NUL ends a line too),
// or 0 when there is none.
int LineBreakLength(const char* text, int length, int pos) {
  char c = text[pos];
  if (c == '\0') return 1;
  if (c != '\r' && c != '\n') return 0;
  char pair = c == '\r' ? '\n' : '\r';
  return (pos + 1 < length && text[pos + 1] == pair) ? 2 : 1;
}

}  // namespace

String String::Substring(int start, int count) const {
  String result;
  CopyRange(result, count, start);
  return result;
}

bool String::CopyRange(String& dst, int count, int start) const {
  if (start < 0) start = 0;
  int available = length_ - start;
  if (count > available) count = available;
  if (count < 1) {
    dst.Clear();
    return false;
  }
  dst.Assign(text_ + start, count);
  return true;
}

String String::Extract(int start, int count) {
  if (start < 0) start = 0;
  String result;
  if (CopyRange(result, count, start)) Erase(start, result.length_);
  return result;
}

String String::ExtractFrom(const char* needle, int flags) {
  String result;
  int pos = Find(needle, (flags & kBackward) ? kAll : 0, flags);
  if (pos < 0) return result;
  CopyRange(result, kAll, pos);
  EraseFrom(pos);
  return result;
}

bool String::TruncateAtChar(char ch) {
  int pos = FindChar(ch);
  if (pos < 0) return false;
  Resize(pos);
  return true;
}

String String::SplitAtChar(char ch) {
  String before;
  int pos = FindChar(ch);
  if (pos < 0) {
    before = static_cast<String&&>(*this);
    return before;
  }
  CopyRange(before, pos, 0);
  Erase(0, pos + 1);
  return before;
}

char String::PopFirstChar() {
  if (length_ < 1) return '\0';
  char c = text_[0];
  Erase(0, 1);
  return c;
}

String String::TakeLine() {
  String line;
  for (int pos = 0; pos < length_; ++pos) {
    int breakLength = LineBreakLength(text_, length_, pos);
    if (breakLength == 0) continue;
    CopyRange(line, pos, 0);
    Erase(0, pos + breakLength);
    return line;
  }
  line = static_cast<String&&>(*this);
  return line;
}

String String::TakeLineWithBreak() {
  String line;
  for (int pos = 0; pos < length_; ++pos) {
    int breakLength = LineBreakLength(text_, length_, pos);
    if (breakLength == 0) continue;
    line = Extract(0, pos + breakLength);
    return line;
  }
  line = static_cast<String&&>(*this);
  return line;
}

String String::TakeQuoted(int start, char quote) {
  String content;
  if (start < 0 || start >= length_ || text_[start] != quote) return content;
  bool closed = false;
  int end = ReadQuotedRun(text_, length_, start, quote, content, closed);
  Erase(start, end - start);
  return content;
}

String String::TakeToken() {
  TrimLeft();
  String token;
  if (length_ < 1) return token;
  int pos = 0;
  int pieceStart = 0;
  while (pos < length_) {
    char c = text_[pos];
    if (IsWhitespace(c)) break;
    if (c != '"') {
      ++pos;
      continue;
    }
    token.Append(text_ + pieceStart, pos - pieceStart);
    bool closed = false;
    token.AppendChar('"');
    pos = ReadQuotedRun(text_, length_, pos, '"', token, closed);
    if (closed) token.AppendChar('"');
    pieceStart = pos;
  }
  token.Append(text_ + pieceStart, pos - pieceStart);
  // The whitespace byte that ended the token is consumed with it.
  int consumed = pos < length_ ? pos + 1 : pos;
  if (consumed > 0) Erase(0, consumed);
  return token;
}
