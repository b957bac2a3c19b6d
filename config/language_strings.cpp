#include "config/language_strings.h"

#include <utility>

#include "config/language_table.h"
#include "config/settings.h"
#include "platform/system_paths.h"

Vector<String> LanguageNames;
Vector<Vector<String>> StringTable;
int CurrentLanguage = 0;
String DisplayTitle;

void InstallLanguageTables(LanguageTables&& tables) {
  LanguageNames = std::move(tables.names);
  StringTable = std::move(tables.texts);
  CurrentLanguage = tables.defaultLanguage;
}

String LookupString(StringId stringId) {
  int id = int(stringId);
  if (id < 0 || id >= StringTable.Count()) return String();
  Vector<String>& row = StringTable[id];
  if (CurrentLanguage < 0 || CurrentLanguage >= row.Count()) return String();
  String& text = row[CurrentLanguage];
  text.Replace("<product>", ProductName.CStr(), String::kIgnoreCase);
  text.Replace("<os>", WindowsDir().CStr(), String::kIgnoreCase);
  return text;
}
