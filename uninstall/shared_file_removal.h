// Lowering the shared-file reference counts the installation raised, and removing the shared
// files nobody uses any more.
#pragma once

#include "core/string.h"

// The SharedDLLs key below Software under HKEY_LOCAL_MACHINE.
inline constexpr char kSharedDllsKey[] = "Microsoft\\Windows\\CurrentVersion\\SharedDLLs";

// For each item of sharedFiles ("\"path<mark>\"" items separated by ";", the mark none, a
// blank or "^"; the list ends at the first empty item): its count under SharedDLLs is lowered by
// one, its value deleted at 0. A file whose count reaches 0, or had none, is deleted, after a
// question naming it when askEach is set (not in AutomaticMode: any answer but Yes keeps it),
// except that a blank mark always keeps the file; a "^" file is first unregistered through its
// DllUnregisterServer. When the key cannot be opened, nothing is changed and the registry
// error line is appended to errors.
void RemoveSharedFiles(const String& sharedFiles, bool askEach, String& errors);
