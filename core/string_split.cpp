// String::Split: cutting a text into pieces at delimiter bytes, line breaks or NULs.
#include <utility>

#include "core/array.h"
#include "core/string.h"
#include "core/string_chars.h"

using string_chars::InSet;

namespace {

bool ContainsBefore(const Array<String>& list, int end, const String& piece) {
  for (int i = 0; i < end; ++i) {
    if (list.At(i).Equals(piece)) return true;
  }
  return false;
}

// Removes every entry of list that repeats an earlier one (exact comparison), entries that were
// there before this split included. Returns how many entries from index `first` on remain.
int RemoveDuplicates(Array<String>& list, int first) {
  int remainingNew = 0;
  for (int i = 0; i < list.Count();) {
    if (ContainsBefore(list, i, list.At(i))) {
      if (i < first) --first;
      list.RemoveAt(i);
      continue;
    }
    if (i >= first) ++remainingNew;
    ++i;
  }
  return remainingNew;
}

// Applies the piece flags (trimming, unquoting) and appends the piece unless it is dropped as
// empty. Returns 1 when appended.
int EmitPiece(const char* text, int start, int end, int flags, Array<String>& out) {
  String piece(text + start, end - start);
  if (flags & String::kTrimPieces) piece.Trim();
  if ((flags & String::kUnquotePieces) && piece.Length() >= 2 && piece.FirstChar() == '"' &&
      piece.LastChar() == '"') {
    piece.RemoveFirstAndLast(1);
    if (flags & String::kUndoubleQuotes) piece.Replace("\"\"", "\"");
    if (flags & String::kTrimPieces) piece.Trim();
  }
  if (piece.IsEmpty() && !(flags & String::kKeepEmpty)) return 0;
  out.AppendDefault() = std::move(piece);
  return 1;
}

}  // namespace

// A piece ends at a delimiter: a byte of the set, a line break (CR LF and LF CR being one), or a
// NUL, as the flags choose. Delimiters inside a quoted run do not count with kQuotedRuns, and a
// set byte that is immediately repeated does not count with kRepeatedDelimiterJoins.
int String::Split(Array<String>& out, const char* delimiters, int flags) const {
  if (length_ < 1) return 0;  // nothing split: the list is left as it is
  int appended = 0;
  int pieceStart = 0;
  bool endsWithDelimiter = false;
  int pos = 0;
  while (pos < length_) {
    char c = text_[pos];
    endsWithDelimiter = false;
    if ((flags & kQuotedRuns) && c == '"') {
      ++pos;
      while (pos < length_ && text_[pos] != '"') ++pos;
      if (pos < length_) ++pos;  // past the closing quote
      continue;
    }
    int delimiterLength = 0;
    if ((flags & kSplitLines) && (c == '\r' || c == '\n')) {
      char pair = c == '\r' ? '\n' : '\r';
      delimiterLength = (pos + 1 < length_ && text_[pos + 1] == pair) ? 2 : 1;
    } else if ((flags & kSplitAtNul) && c == '\0') {
      delimiterLength = 1;
    } else if (InSet(delimiters, c)) {
      if ((flags & kRepeatedDelimiterJoins) && pos + 1 < length_ && text_[pos + 1] == c) {
        pos += 2;  // both bytes stay in the piece
        continue;
      }
      delimiterLength = 1;
    }
    if (delimiterLength == 0) {
      ++pos;
      continue;
    }
    int pieceEnd = (flags & kKeepDelimiter) ? pos + delimiterLength : pos;
    appended += EmitPiece(text_, pieceStart, pieceEnd, flags, out);
    pos += delimiterLength;
    pieceStart = pos;
    endsWithDelimiter = true;
  }
  // The rest after the last delimiter; after a delimiter at the very end it is the final empty
  // piece, which only kKeepEmpty keeps.
  if (pieceStart < length_ || endsWithDelimiter) {
    appended += EmitPiece(text_, pieceStart, length_, flags, out);
  }
  // Duplicates go from the whole list once the split is done; what is counted is the pieces of
  // this text that remain.
  if (flags & kUniquePieces) return RemoveDuplicates(out, out.Count() - appended);
  return appended;
}
