// The product's own registry key, below Software.
#pragma once

#include "core/string.h"

// How many levels DeleteProductKey climbs at most, the product's key included.
inline constexpr int kProductKeyLevels = 20;

// Deletes Software\path with its whole tree under HKEY_CURRENT_USER (currentUser) or
// HKEY_LOCAL_MACHINE, then each parent below Software that is left with neither subkeys nor
// values, nearest first: Maker\Product takes Software\Maker along only when it is empty
// afterwards. Stops at the first key that is not deleted, and never touches Software itself.
// Failures are silent.
void DeleteProductKey(const String& path, bool currentUser);
