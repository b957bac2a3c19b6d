// Removing a whole directory tree.
#pragma once

#include "core/string.h"

// Deletes every file (read-only ones too) and subfolder of directory, then directory itself.
// Refuses, deleting nothing, a text of 3 characters or fewer, a drive or share root, the
// Program Files directory and any folder inside the Windows directory, each compared in its
// full, long form (see CanonicalPath), so no spelling of them passes. A junction or symbolic
// link, the directory itself or one met in the walk, is removed as a link and never entered.
// A file that cannot be deleted (one in use) does not stop the walk; the result is then false
// and the rest is gone. True when everything, the directory included, was removed.
bool DeleteTree(const String& directory);

// Whether DeleteTree refuses directory before touching anything: the rules of its first
// sentence above, without the walk.
bool IsProtectedFromDeletion(const String& directory);
