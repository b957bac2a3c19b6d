// Messages and the single way out of the process. FatalError and FatalErrorFormat are declared
// in core/fatal.h, since the core library calls them too.
#pragma once

#include <windows.h>

#include "archive/corrupt_codes.h"
#include "core/fatal.h"

// Closes the windows, drains the message queue and ends the process with exit code 1. Every
// way out of the installer and the uninstaller, success included, goes through here.
[[noreturn]] void ExitInstaller();

// The window that owns every message box: the progress window, else the background window
// (possibly null).
HWND MessageOwner();

// A non-fatal error box; nothing in automatic mode (unless the archive asks for errors there
// too) or when the formatted text is blank.
void ReportError(const char* fmt, ...) __attribute__((format(printf, 1, 2)));

// The corrupt-installer message with its code, then the end of the process.
[[noreturn]] void CorruptInstaller(CorruptCode code);

// The usage text with a leading message, then the end of the process.
[[noreturn]] void UsageError(const char* message);
