// Removing the empty folders an installation leaves once its files are gone.
#pragma once

#include "core/string.h"

// Removes folder when it is empty, then, as long as that works, each parent that lies inside
// root, nearest first; root itself and anything outside it stay, and folder too when it is root.
// Both are compared in their full, long form (".." resolved), so a folder outside root whatever
// its spelling, such as an empty Desktop above a recorded shortcut folder, is never climbed to.
// At most maxLevels folders are removed. Returns how many were.
int RemoveEmptyFolders(const String& folder, const String& root, int maxLevels);
