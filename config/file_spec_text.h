// The text side of file specifications: where a line's relative patterns are completed from,
// the " /s" suffix, the diagnostic lines and the case-blind duplicate test. Pure text work; the
// matching against the file system is in config/file_specification.h.
#pragma once

#include "core/array.h"
#include "core/string.h"

// The directory of a line's first pattern (the line already trimmed): the text up to its
// separator (the last backslash before the first unquoted ";", else the first ":" before
// it), without that backslash unless it follows a colon ("C:\Temp\*.x" gives "C:\Temp",
// "C:\*.x" gives "C:\", "C:*.x" gives "C:"). Empty when the separator is missing or is the
// first character.
String FileSpecLineDirectory(const String& line);

// The folder a line's patterns are completed from: defaultDir when the line's directory is
// blank, else that directory made absolute against defaultDir (left as it is when defaultDir is
// null, empty or not absolute).
String FileSpecLineBase(const String& line, const char* defaultDir);

// Removes a trailing " /s" (in any letter case); true when there was one.
bool RemoveSubdirectorySuffix(String& pattern);

// Appends "The file specification \"<pattern>\" on line <n> <problem>"; without the
// "on line <n> " part unless withLineNumber. problem carries its own line break.
void AppendPatternDiagnostic(String& errors, const String& pattern, int lineNumber,
                             bool withLineNumber, const char* problem);

// Whether paths holds path, letter case ignored.
bool ContainsPathIgnoringCase(const Array<String>& paths, const String& path);

