// Removing a whole directory tree.
#pragma once

#include "core/string.h"

// Deletes every file (read-only ones too) and subfolder of directory, then directory itself.
// Refuses, deleting nothing, a text of 3 characters or fewer (a drive root) and any folder
// that begins, in any letter case, with the Windows directory. A file that cannot be deleted
// (one in use) does not stop the walk; the result is then false and the rest is gone. True
// when everything, the directory included, was removed.
bool DeleteTree(const String& directory);
