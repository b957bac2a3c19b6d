// Taking paths apart and joining them. Pure text operations: the backslash is the only
// separator (a forward slash is an invalid character, never a separator), and the text after
// the first semicolon outside double quotes is never scanned for a separator.
#pragma once

#include "core/string.h"

// The last backslash before the first unquoted ";", else the first ":", else -1.
int SeparatorPos(const String& path);
// The text before the separator; keeps the separator when it is ":" or follows a ":"
// ("C:\x" gives "C:\", "C:x" gives "C:"). Empty when there is no separator.
String DirectoryPart(const String& path);
// The text after the last backslash, else after the first ":", else the whole text.
String FileNamePart(const String& path);
// The last "." after the last backslash; -1 when none.
int ExtensionPos(const String& path);
// Appends "." (unless ext starts with one) and ext when path is not blank and has no extension.
bool AddExtensionIfMissing(String& path, const char* ext);
// dir + "\" + name, without doubling the separator; either side empty gives the other.
String JoinPath(const String& dir, const String& name);
// The upper-cased drive letter of "X:..." paths; 0 otherwise (UNC paths among them).
char DriveLetterOf(const String& path);
