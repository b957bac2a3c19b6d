#pragma once

// Font display names in the fonts key of HKEY_LOCAL_MACHINE (the NT or the 9x key, by the
// running system's family). Register: true when the value was written. Unregister: true when
// the value was deleted or was not there.
bool RegisterFontName(const char* displayName, const char* fontFile);
bool UnregisterFontName(const char* displayName);
