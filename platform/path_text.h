// Taking paths apart and joining them. Pure text operations: the backslash is the only
// separator (a forward slash is an invalid character, never a separator), and the text after
// the first semicolon outside double quotes is never scanned for a separator.
#pragma once

#include "core/string.h"

// The last backslash before the first unquoted ";", else the first ":" before it, else -1.
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
// Keeps only FileNamePart.
void RemoveDirectoryPart(String& path);
// Cuts the path at ExtensionPos; true when there was an extension.
bool RemoveExtension(String& path);
// Cuts the path after SeparatorPos, keeping the separator; true when there was one.
bool RemoveFileName(String& path);
// dir + "\" + name, without doubling the separator; either side empty gives the other.
String JoinPath(const String& dir, const String& name);
// Makes a relative path absolute under base, which must itself be absolute (IsAbsolutePath after
// its leading blanks, which are then ignored). The path is first trimmed of blanks, tabs, CR and
// LF at both ends. "\\x" and "C:\x" stay as they are; "\x" takes base's drive ("C:\x");
// "D:x" takes base's directory without its drive ("D:\Program Files\x" for base
// "C:\Program Files"); anything else is joined to base. True when text was put in front.
bool MakeAbsolute(String& path, const char* base);
// After leading blanks: two backslashes, or any character followed by ":\". Null is false.
bool IsAbsolutePath(const char* text);
inline bool IsAbsolutePath(const String& text) { return IsAbsolutePath(text.CStr()); }

// Flags of IsValidPathText.
constexpr int kPathAllowStar = 0x01;       // "*" may appear ("?" may not)
constexpr int kPathAllowWildcards = 0x02;  // "*" and "?" may appear
// Whether path can name a file: not empty, and (inside one pair of enclosing double quotes, and
// after a leading drive letter and colon) free of / " < > | : ; and of the wildcards that flags
// do not allow. A colon in second place needs a letter before it.
bool IsValidPathText(const String& path, int flags = 0);
// Equal ignoring ASCII case once trailing backslashes are removed from both.
bool SamePath(const String& a, const String& b);

// The upper-cased drive letter of "X:..." paths; 0 otherwise (UNC paths among them).
char DriveLetterOf(const String& path);
// "X:" for a letter X (either case, kept as given); empty for anything else.
String DriveText(char letter);
// "X:\" or "X:" from the start of a path that begins with a letter and a colon; empty otherwise.
String DriveRoot(const String& path);
