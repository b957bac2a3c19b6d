// Texts of the archive's language tables, looked up by numeric id in the current language.
#pragma once

#include "config/string_ids.h"
#include "core/string.h"
#include "core/vector.h"

struct LanguageTables;

// The process-wide tables, filled once while the archive header is read.
extern Vector<String> LanguageNames;          // index: language number
extern Vector<Vector<String>> StringTable;    // StringTable[id][language]
extern int CurrentLanguage;                   // the language in use
extern String DisplayTitle;                   // the background window's title (string id 0)

// Takes over the tables the archive reader has read and starts with their default language.
void InstallLanguageTables(LanguageTables&& tables);

// The text of a string id in the current language; empty when no table has been read yet or
// the id or the language lies outside the tables, so that callers fall back to their built-in
// texts. "<product>" becomes ProductName and "<os>" the Windows directory, in any letter case.
// The filled-in text replaces the stored one, so a later change of ProductName does not reach
// a text that has been looked up before.
String LookupString(StringId id);
