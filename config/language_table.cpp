// Reading the language tables: the counts, the names, the texts grouped by string id, and the
// end marker.
//
// Bounds cases: a table that breaks off at the end of the header is refused with the code of
// the nearest check:
//   the language count          30
//   the string count            31
//   the names, the texts        32 (the end marker after them cannot be reached)
//   the end marker              32
// A name or text must end with its NUL inside the header. Counts that what remains cannot back
// (every name and text takes at least its NUL, the marker four bytes) are refused with 32
// before the tables are sized, as the first missing text would be.
#include "config/language_table.h"

#include <cstring>

#include "archive/corrupt_codes.h"
#include "archive/header_stream.h"

namespace {

constexpr char kDefaultLanguageName[] = "English";

}  // namespace

String NormalizeLineBreaks(const String& text) {
  String result(text);
  result.NormaliseLineBreaks();
  return result;
}

CorruptCode ReadLanguageTables(HeaderStream& in, LanguageTables& tables) {
  uint8_t languageCount;
  if (!in.ReadU8(languageCount) || languageCount < 1 || languageCount > kMaxLanguages)
    return kBadLanguageCount;
  uint32_t stringCount;
  if (!in.ReadU32(stringCount) || stringCount < 1 || stringCount > uint32_t(kMaxStringIds)) {
    return kBadStringIdCount;
  }
  const int languages = languageCount;
  const int strings = int(stringCount);
  const size_t smallestRest = size_t(languages) + size_t(strings) * size_t(languages) + 4;
  if (in.Remaining() < smallestRest) return kBadStringTableEnd;

  tables.defaultLanguage = 0;
  tables.names.SetSize(languages);
  for (int i = 0; i < languages; ++i) {
    String& name = tables.names[i];
    if (!in.ReadText(name)) return kBadStringTableEnd;
    if (std::strcmp(name.CStr(), kDefaultLanguageName) == 0) tables.defaultLanguage = i;
  }

  tables.texts.SetSize(strings);
  for (int id = 0; id < strings; ++id) {
    Vector<String>& row = tables.texts[id];
    row.SetSize(languages);
    for (int language = 0; language < languages; ++language) {
      String& text = row[language];
      if (!in.ReadText(text)) return kBadStringTableEnd;
      text.NormaliseLineBreaks();
    }
  }

  uint32_t endMarker;
  if (!in.ReadU32(endMarker) || endMarker != kStringTableEnd) return kBadStringTableEnd;
  return kNoCorruption;
}
