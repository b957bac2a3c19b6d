#include "config/language_strings.h"

Vector<String> LanguageNames;
Vector<Vector<String>> StringTable;
int CurrentLanguage = 0;
String DisplayTitle;

// The archive reader fills the tables; until it has, every id is without text.
String LookupString(int) { return String(); }
