// Removing the uninstaller itself: a running program cannot delete its own file, so a batch
// file does it once the uninstaller has ended.
#pragma once

#include "core/string.h"

// The batch file, always in the root of drive C, whatever the system drive.
inline constexpr char kSelfRemovalBatch[] = "c:\\delunins.bat";

// The batch file's text (CR LF ends): a loop that deletes uninstaller until it is gone, "rd" of
// installDir joined with uninstallSubdir when that is not empty, "rd" of installDir (rd takes
// only empty folders), and the deletion of the batch file itself.
String SelfRemovalBatchText(const String& uninstaller, const String& installDir,
                            const String& uninstallSubdir);

// The command line that runs the batch file: the interpreter in one pair of double quotes,
// " /c " and the batch file. interpreter may come already quoted (a path with a blank); its
// quotes are not doubled.
String SelfRemovalCommandLine(const String& interpreter);

// Writes the batch file for the running uninstaller (InstallerFilepath) and the InstallDir and
// UninstallSubdir read from the product's Uninstall entry, and starts it through the command
// interpreter in a new, minimised console without waiting. Nothing is started when the file
// cannot be written; every failure is silent.
void RemoveSelf();
