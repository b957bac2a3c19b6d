// Command texts of the archive run at fixed moments of an installation or removal: written to a
// batch file that first defines the install locations as environment variables, run through the
// command interpreter while the windows stay alive, and deleted afterwards.
#pragma once

#include "core/string.h"

// The batch file's name, in the directory given to RunBatchCommands.
inline constexpr char kBatchFileName[] = "QORVBAT.BAT";

// The whole text of the batch file for commands, with CR LF line ends: "@echo off", the SET
// lines of the install locations (InstallDir and InstallDrive only for a non-empty directory;
// values unquoted, so a value with blanks is still one line), then the commands. In an
// unattended run (AutomaticMode or hidden) a line that is nothing but PAUSE, in any letter case
// and with or without a leading "@", is dropped, so that nobody is waited for; a longer line such
// as "pause > nul" stays.
String BatchFileText(const String& directory, bool hidden, const String& commands);

// Writes BatchFileText to QORVBAT.BAT in directory, runs it with the command interpreter in that
// directory (its window hidden when hidden is set), waits for it while pumping window messages,
// and deletes the file. Blank commands (empty, or only blanks, tabs, CR and LF) do nothing. A
// file that cannot be written is skipped silently; the batch's exit code is not looked at. When
// Cancel ends the program during the wait, the file stays on disk.
void RunBatchCommands(const String& directory, bool hidden, const String& commands);
