// Texts of the archive's language tables, looked up by numeric id in the current language.
#pragma once

#include "core/string.h"

// The text of a string id in the current language; empty when no table has been read yet or
// the id has no text, so that callers fall back to their built-in texts.
String LookupString(int id);
