#include "config/language_strings.h"

// The archive reader fills the tables; until it has, every id is without text.
String LookupString(int) { return String(); }
