// The language tables at the end of the archive header: one name per language and, for each
// string id, one text per language. Reading them is pure; the engine keeps the result as its
// process-wide tables (language_strings.h).
#pragma once

#include <cstdint>

#include "archive/corrupt_codes.h"
#include "core/string.h"
#include "core/vector.h"

class HeaderStream;

inline constexpr uint32_t kStringTableEnd = 0xD3E82B97;
inline constexpr int kMaxLanguages = 100;
inline constexpr int kMaxStringIds = 10000;

struct LanguageTables {
  Vector<String> names;          // index: language number
  Vector<Vector<String>> texts;  // texts[id][language]; every row has names.Count() entries
  int defaultLanguage = 0;       // the last language named exactly "English", else 0
};

// Reads the language count (1 .. 100, else 30), the string count (1 .. 10000, else 31), the
// names, the texts grouped by id, and the end marker (else 32); bytes after the marker are not
// read. Line breaks of each text are stored as CR LF. A count that cannot be read fails with its
// own code; names, texts and the marker cut short by the end of the header (a text without its
// NUL included) fail with 32. Returns 0 or the code.
CorruptCode ReadLanguageTables(HeaderStream& stream, LanguageTables& tables);

// LF, CR and LF CR become CR LF; CR LF stays.
String NormalizeLineBreaks(const String& text);
