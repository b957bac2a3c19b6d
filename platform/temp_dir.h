// The default directory for temporary files.
#pragma once

#include "core/string.h"

// The system's temporary directory (GetTempPathA) without one trailing backslash, so that even a
// drive root comes back as "C:"; "c:\temp" when the system reports none.
String DefaultTempDir();
