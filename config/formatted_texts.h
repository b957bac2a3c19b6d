// The string ids whose texts the engine formats with arguments: for each, the conversions it
// takes in argument order and the English text the engine falls back to when the archive's own
// text does not take exactly those. The builder checks the texts it writes against the same
// table and takes these English texts as its defaults for the same ids.
#pragma once

#include "config/string_ids.h"

struct FormattedTextId {
  StringId id;
  const char* conversions;  // in argument order, e.g. "%s%c%s"; "" for a text with no arguments
  const char* builtIn;      // CR LF line breaks; no "<product>" or "<os>", which only archive
                            // texts have filled in
};

// The entry of `id`; null for an id the engine does not format.
const FormattedTextId* FindFormattedText(StringId id);
