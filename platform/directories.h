// Directories: the current one, testing, creating and removing folders. None of these reports
// anything itself: each returns false or an empty text and the caller chooses the message.
#pragma once

#include "core/string.h"

// The process's current directory; empty when the system cannot say.
String GetCurrentDir();

// Whether path names a directory that can be made current. The current directory is always
// set back to what it was. False for an empty path.
bool DirectoryExists(const String& path);

// Creates path with every missing parent, outermost first. True when the directory exists
// afterwards (also when someone else made it); true at once for an existing directory or a
// drive root. False for an empty path or when a folder cannot be made.
bool CreateDirectoryPath(const String& path);

// Removes the directory when it is empty; one trailing backslash is ignored. False for a text
// of 3 characters or fewer (a drive root is never removed) and when the system refuses.
bool RemoveDirectoryIfEmpty(const String& path);
