// The file loop: whether and how each of the archive's files reaches the disk, and what is
// collected on the way for the steps after it and for the uninstaller.
#pragma once

// Installs every file entry of the data block in order (RecordInstalledPathReset first). For
// each: its target, its listing as a shared file or COM server, its install condition, the
// comparison with a file already there (by date; by version resource and date for system
// files), its shortcut request, its folder, its record, the writing itself, its font
// registration and its status line. Fills SharedFileList, ComRegistrationList,
// ShortcutRequests, InstalledFileList and ProductFonts, and extends InstallLog and ErrorSummary.
// Returns whether a font was installed.
bool InstallFiles();
