// Where an installed file goes.
#pragma once

#include "archive/file_entry.h"
#include "core/string.h"

// The full path the entry's data is written to. A DestinationText without a backslash is the
// file's new name (the entry's name takes it and the text is emptied); any other
// DestinationText, install variables expanded, is made absolute against SharedPath for kind 1
// and InstallDir otherwise, and a trailing backslash takes the name's file part. Without a
// DestinationText: UninstallDir under FileEntryFlags bit 6, else the base folder of the kind
// (InstallDir for 0 and 5, SharedPath for 1, the Fonts folder for 4, the system folder for 6
// and 7); another kind ends the process with code 110. createFolder is true where the target's
// folder may have to be made: for DestinationText targets and kinds 0 and 5.
String ResolveTarget(FileEntry& entry, bool& createFolder);
