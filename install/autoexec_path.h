// The install directory on the PATH of the system's start-up file "autoexec.bat" (read by the
// 9x family at boot): added by an installation that asks for it, taken out again on removal.
#pragma once

#include "core/string.h"

// BootDrive followed by ":\autoexec.bat", such as "C:\autoexec.bat".
String AutoexecFilePath();

// "PATH=%PATH%;" + the short form of installDir (the long form when the system cannot shorten
// it) + CR LF.
String PathLineFor(const String& installDir);

// Adds (add) or removes the PATH line of InstallDir in file. Adding creates the file when it is
// missing and writes nothing when the line is already there in any letter case; otherwise the
// line goes at the end, after a CR LF when the text does not end with LF (so a new file holds an
// empty line first). Removing takes out the first occurrence in any letter case, or, when there
// is none, the first occurrence of the line without its CR LF (a PATH line that ends the file);
// the file is rewritten only when something was removed, and never created. Returns an empty
// text, or, when the file cannot be opened, the message telling the user to edit the PATH by
// hand.
String EditPathLineInFile(const String& file, bool add);

// EditPathLineInFile on AutoexecFilePath.
String EditAutoexecPath(bool add);
