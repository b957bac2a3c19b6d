// Uninstall.DAT: the uninstaller's list of what to remove, the language texts it shows, and
// the associations to undo.
#pragma once

#include "config/string_ids.h"
#include "core/string.h"

// The language strings the uninstaller shows, stored in this order in the [Strings] section.
inline constexpr StringId kUninstallerStringIds[] = {
    StringId::kUninstallErrors,         StringId::kUninstallCompleteTitle,
    StringId::kSetupTitle,              StringId::kWrongVolume,
    StringId::kUninstallComplete,       StringId::kSharedFileTitle,
    StringId::kInstallProgressLabel,    StringId::kCancelCaption,
    StringId::kUninstallQuestion,       StringId::kUninstallProgressTitle,
    StringId::kFontQuestion,            StringId::kFontQuestionTitle,
    StringId::kCannotRemoveFile,        StringId::kSharedFileQuestion,
    StringId::kUninstallFilesStage,     StringId::kUninstallSharedStage,
    StringId::kUninstallRegistryStage,  StringId::kUninstallDoneStage,
    StringId::kUninstallProgressLabel,
};

// The text of Uninstall.DAT: InstalledFileList, CR LF CR LF "[Strings]" CR LF, "~id" CR LF and
// the text CR LF for each id above in the current language, then, only when AssociationLines is
// not empty, CR LF CR LF "[Associations]" CR LF and the lines.
String UninstallDataText();

// Writes UninstallDataText to RecordPath("Uninstall.DAT") in one piece (created or truncated).
// False when that write fails; the thread's last error says why.
bool WriteUninstallData();
