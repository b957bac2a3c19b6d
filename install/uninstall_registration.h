// The uninstaller: its program file and the product's entry under the Windows Uninstall key,
// from which Add/Remove Programs starts it.
#pragma once

#include "core/string.h"

// UninstallerName in UninstallDir: the program part of the uninstaller's command.
String UninstallerProgram();
// /u:"UninstallKeyName": the argument part of the uninstaller's command.
String UninstallerArguments();

// The uninstaller's command line as Add/Remove Programs runs it: the program, a blank, the
// arguments; the quiet one has " /a " between them.
String UninstallCommand();
String QuietUninstallCommand();

// Writes UninstallerImage to UninstallerProgram with the file rules' replacement-aware writer,
// dated with the archive's UninstallerStamp; failures go to ErrorSummary.
void WriteUninstaller();

// The product's key "Software\Microsoft\Windows\CurrentVersion\Uninstall\<UninstallKeyName>"
// under HKEY_LOCAL_MACHINE, created when missing.
extern const char kUninstallKeyPath[];

// Writes the 27 values of the product's Uninstall key in their fixed order; values that the
// archive leaves empty are deleted. When the key cannot be opened, or UninstallString does not
// read back as written, ErrorSummary gets the line that says the uninstall information could
// not be saved.
void RegisterUninstall();
