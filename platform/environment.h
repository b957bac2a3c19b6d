#pragma once

#include "core/string.h"

// Expands %VARIABLE% references with the process environment. False, and text unchanged, when
// the system call fails; an undefined variable stays as written.
bool ExpandEnvironment(String& text);
