// Removing the fonts the installation registered.
#pragma once

#include "core/string.h"

// Removes each font of productFonts ("\"title\" \"file\" " per font, as stored in the
// Uninstall entry; the list ends at the first item whose title or file is missing or empty):
// its name under the fonts key, the font from the running system, and the file from the Fonts
// folder. With askEach (and not in AutomaticMode) a question names each font first and any
// answer but Yes keeps it. Returns how many fonts were removed. Failures are silent.
int RemoveProductFonts(const String& productFonts, bool askEach);
