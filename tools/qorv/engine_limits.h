// The limits the engine checks that only a finished installer shows: the size of the stored
// header, and where the uninstaller patch lands. qorv build refuses an installer that breaks one,
// naming the manifest key to change.
#pragma once

#include <string>

#include "tools/archive_writer/archive_parts.h"
#include "tools/archive_writer/archive_writer.h"

// Before assembly: the stored header must stay below the engine's limit. Empty when it does,
// else the message.
std::string CheckStoredHeader(const InstallerPlan& plan, const ArchiveParts& parts);

// After assembly: a patch must lie wholly within the uninstaller image (the installer without
// its archive section), where the engine lays it; anywhere else it is refused (code 23) or left
// out without a word. Empty when it does, else the message.
std::string CheckUninstallerPatch(const InstallerPlan& plan, const BuiltInstaller& installer);
