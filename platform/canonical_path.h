// One spelling per folder, for comparing folders whose names came from different places (a
// user's choice, the registry, the system): "C:\x\..", "c:/WINDOWS/", "C:\.\" and the short
// form of a long name all come out as the system spells the folder itself.
#pragma once

#include "core/string.h"

// The full path of path (GetFullPathNameA: relative texts against the current directory,
// "." and ".." resolved, slashes read as backslashes), then its long form where the system
// offers GetLongPathNameA and the path exists, without trailing backslashes except in a drive
// root ("C:\"). path unchanged, apart from the slashes and the trailing backslashes, when the
// system cannot make it full. Empty for an empty path.
String CanonicalPath(const String& path);

// Whether a canonical path names a drive root ("C:\", "C:") or the root of a network share
// ("\\server\share"), where nothing may be deleted wholesale.
bool IsRootPath(const String& canonical);
