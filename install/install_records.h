// The records an installation collects for the uninstaller and its log: what was installed,
// which associations were made, and the paths of the record files.
#pragma once

#include "core/string.h"

// Uninstall.DAT's file list: one line a record (CR LF ends). A plain path is a file to delete,
// "~" + path a folder to remove when empty, "!" + path a class key to delete with its subtree.
extern String InstalledFileList;

// Uninstall.DAT's [Associations] lines: "extension~!~file type~!~verb" (CR LF ends).
extern String AssociationLines;

// The fonts recorded for removal: for each, "\"title\" \"file\" " (the title is the font's
// value name under the Fonts key). Stored in the Uninstall entry as ProductFonts.
extern String ProductFonts;

// The shared files whose reference counts this installation raised: each path with its mark
// (none, a blank, or "^" for a COM server), in double quotes, separated by ";". Stored in the
// Uninstall entry as SharedFiles.
extern String SharedFiles;

// Kinds of RecordInstalledPath.
namespace RecordKind {
inline constexpr int kFile = 0;
inline constexpr int kFolder = 1;
inline constexpr int kClassKey = 2;  // also every other kind
}  // namespace RecordKind

// Appends path to InstalledFileList. Paths of 3 characters or fewer are ignored (a drive root is
// never recorded). Files are appended every time; folders and class keys only the first time
// their path is met, ignoring case, whichever of the two kinds came first, in the case of that
// first call.
void RecordInstalledPath(const String& path, int kind);
// Empties InstalledFileList and the set of marked paths already recorded.
void RecordInstalledPathReset();

// The path of a record file (Install.LOG, Uninstall.DAT, the saved background picture) in the
// uninstaller's folder: InstallDir joined with UninstallSubdir and name.
String RecordPath(const char* name);

// Appends the standard failure line to errors: string 31, a blank, name, CR LF, then the
// system's text for the thread's last error (empty for 0) and CR LF.
void AppendFailure(String& errors, const String& name);
