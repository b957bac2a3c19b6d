// Shell shortcuts (.LNK files). Nothing here shows a message: every failure is a false result.
#pragma once

#include <cstdint>

#include "core/string.h"

// Saves a shell link at link: to target, with the icon of icon (of target when icon is null
// or empty, index 0), arguments and working directory (each set only when non-empty).
// ".LNK" is appended to link (changing the caller's text) unless it already holds ".lnk" in
// any letter case; the link's folder is created with all its parents. COM is initialised and
// uninitialised around the call. True when the link was saved.
bool CreateShortcut(String& link, const char* target, const char* arguments, const char* directory,
                    const char* icon);

// Flags of CreateDesktopShortcut and CreateProgramsShortcut.
namespace ShortcutFlags {
inline constexpr uint32_t kAllUsers = 0x1;
}

// CreateShortcut of name inside the (all users') desktop or start-menu programs folder. name
// may hold subfolders, which are created. outPath, when given, receives the final link path.
bool CreateDesktopShortcut(const char* name, const char* target, const char* arguments,
                           const char* directory, String* outPath, const char* icon,
                           uint32_t flags);
bool CreateProgramsShortcut(const char* name, const char* target, const char* arguments,
                            const char* directory, String* outPath, const char* icon,
                            uint32_t flags);

// NotifyFolderUpdated of the user's or all users' desktop folder.
bool RefreshDesktop(bool allUsers);
