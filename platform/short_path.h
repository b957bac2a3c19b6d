#pragma once

#include "core/string.h"

// The short (8.3) form of an existing path; the path unchanged when the system cannot shorten it
// (a missing file among them), and empty for an empty path.
String ShortPath(const String& path);
