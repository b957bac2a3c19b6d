// Where Windows and the installer itself live: computed once at start-up by InitSystemPaths
// and held for the life of the process.
#pragma once

#include "core/string.h"

// Runs once; later calls do nothing.
void InitSystemPaths();

const String& WindowsDir();
const String& InstallerFilepath();  // the program's own module file
const String& InstallerFilename();
const String& InstallerDir();
char InstallerDrive();              // upper-case letter, or 0 for a UNC path
const String& CommandInterpreter(); // %comspec%, quoted when it holds white space
const String& TempDir();            // without a trailing backslash

// GetSystemDirectoryA; when that gives nothing, "System32" (NT family) or "System" (9x family)
// in the Windows directory.
String SystemDir();
