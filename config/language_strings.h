// Texts of the archive's language tables, looked up by numeric id in the current language.
#pragma once

#include "core/string.h"
#include "core/vector.h"

// The process-wide tables, filled once while the archive header is read.
extern Vector<String> LanguageNames;          // index: language number
extern Vector<Vector<String>> StringTable;    // StringTable[id][language]
extern int CurrentLanguage;                   // the language in use
extern String DisplayTitle;                   // the background window's title (string id 0)

// The text of a string id in the current language; empty when no table has been read yet or
// the id has no text, so that callers fall back to their built-in texts.
String LookupString(int id);
