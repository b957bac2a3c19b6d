// Reference counts of shared files under the system's SharedDLLs key: raised for each shared
// file an installation installs, so that an uninstaller removes a file only when no other
// product still counts on it.
#pragma once

#include "core/string.h"
#include "core/vector.h"

// The shared files of this installation in entry order, each a path followed by its mark:
// none, a blank, or "^" for a COM server.
extern Vector<String> SharedFileList;

// Raises the count of each entry of SharedFileList and rebuilds SharedFiles from the list. On a
// reinstall the counts the previous installation raised (previousSharedFiles, its stored
// SharedFiles text) are lowered first, a count of 1 or less being deleted, so that the counts
// stay the same across reinstalls. When the key cannot be opened or created, ErrorSummary says
// so and nothing changes.
void UpdateSharedFileCounts(bool reinstall, const String& previousSharedFiles);
