// The uninstaller's mode, started with /u:"name".
#pragma once

#include "core/string.h"

// Removes the named product. Never returns; it ends through ExitInstaller. An empty name ends
// the process with the usage box.
[[noreturn]] void RunUninstallMode(const String& productName);
