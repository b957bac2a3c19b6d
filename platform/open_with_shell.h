#pragma once

#include "core/string.h"

// Opens path as the shell's default action would (the program registered for it), working in
// the installer's directory. True when the shell started it.
bool OpenWithShell(const String& path);
