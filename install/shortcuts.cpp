#include "install/shortcuts.h"

#include <windows.h>

#include "config/install_variables.h"
#include "config/language_strings.h"
#include "config/settings.h"
#include "install/install_records.h"
#include "install/install_state.h"
#include "install/installer_archive.h"
#include "install/shortcut_requests.h"
#include "install/uninstall_registration.h"
#include "platform/directories.h"
#include "platform/path_text.h"
#include "platform/registry_locations.h"
#include "platform/shell_link.h"
#include "platform/system_error.h"
#include "ui/progress_dialog.h"

bool DesktopShortcutRequested = false;

namespace {

bool Has(ProductFlag flag) { return HasFlag(ProductFlags, flag); }

bool AllUsers() { return InstallerHeader.shortcutMode == 1; }

uint32_t LinkFlags() { return AllUsers() ? ShortcutFlags::kAllUsers : 0; }

const char* IconOf(const ShortcutRequest& request) {
  return request.icon.IsEmpty() ? nullptr : request.icon.CStr();
}

// What follows one shortcut operation: the log line and the record when it was made, the
// standard failure line with the path the operation gave back when it was not.
void Conclude(bool made, const char* logFormat, const ShortcutRequest& request,
              const String& link) {
  if (!made) {
    AppendFailure(ErrorSummary, link);
    return;
  }
  if (Has(ProductFlag::kLogEveryFile))
    InstallLog.AppendFormat(logFormat, request.name.CStr(), link.CStr());
  if (!request.keep) RecordInstalledPath(link, RecordKind::kFile);
}

// The archive's own desktop folder, made and recorded the first time a shortcut goes into it.
// The desktop is read with its fallback, so that a missing shell-folder value can never turn
// the folder into a path relative to the current directory.
const String& DesktopFolderPath() {
  static bool made = false;
  static String folder;
  if (!made) {
    made = true;
    folder = JoinPath(AllUsers() ? DesktopAllDir() : DesktopDir(), InstallerHeader.desktopFolder);
    if (!CreateDirectoryPath(folder)) {
      ErrorSummary.AppendFormat("Failed to create directory %s: %s\r\n", folder.CStr(),
                                SystemErrorText(GetLastError()).CStr());
    }
    RecordInstalledPath(folder, RecordKind::kFolder);
  }
  return folder;
}

void CreateDesktopShortcutFor(const ShortcutRequest& request) {
  DesktopShortcutRequested = true;
  if (InstallerHeader.desktopFolder.IsEmpty()) {
    String link;
    bool made =
        CreateDesktopShortcut(request.name.CStr(), request.target.CStr(), request.arguments.CStr(),
                              InstallDir.CStr(), &link, IconOf(request), LinkFlags());
    Conclude(made, "Desktop Shortcut(%s) -> %s\r\n", request, link);
    return;
  }
  String link = JoinPath(DesktopFolderPath(), request.name);
  bool made = CreateShortcut(link, request.target.CStr(), request.arguments.CStr(),
                             InstallDir.CStr(), IconOf(request));
  Conclude(made, "Desktop Folder Shortcut(%s) -> %s\r\n", request, link);
}

void CreateStartMenuShortcutFor(const ShortcutRequest& request) {
  String link;
  bool made = CreateProgramsShortcut(JoinPath(ProductStartMenu, request.name).CStr(),
                                     request.target.CStr(), request.arguments.CStr(),
                                     InstallDir.CStr(), &link, IconOf(request), LinkFlags());
  Conclude(made, "Start Menu Shortcut(%s) -> %s\r\n", request, link);
}

void CreateStartupShortcutFor(const ShortcutRequest& request) {
  String link = JoinPath(AllUsers() ? StartupAllDir() : StartupDir(), request.name);
  bool made = CreateShortcut(link, request.target.CStr(), request.arguments.CStr(),
                             InstallDir.CStr(), IconOf(request));
  Conclude(made, "Startup Shortcut(%s) -> %s\r\n", request, link);
}

// The uninstaller's own shortcuts are always recorded: they must go with it.
void ConcludeUninstallerShortcut(bool made, const String& link) {
  if (!made) {
    AppendFailure(ErrorSummary, link);
    return;
  }
  if (Has(ProductFlag::kLogEveryFile))
    InstallLog.AppendFormat("Uninstaller Shortcut -> %s\r\n", link.CStr());
  RecordInstalledPath(link, RecordKind::kFile);
}

void CreateUninstallerShortcuts() {
  const String program = UninstallerProgram();
  const String arguments = UninstallerArguments();
  const String name = LookupString(StringId::kUninstallerShortcutName);
  if (Has(ProductFlag::kUninstallerStartMenuShortcut)) {
    String link;
    bool made = CreateProgramsShortcut(JoinPath(ProductStartMenu, name).CStr(), program.CStr(),
                                       arguments.CStr(), "", &link, nullptr, LinkFlags());
    ConcludeUninstallerShortcut(made, link);
  }
  if (Has(ProductFlag::kUninstallerShortcutInUninstallDir)) {
    String link = JoinPath(UninstallDir, name);
    bool made = CreateShortcut(link, program.CStr(), arguments.CStr(), "", nullptr);
    ConcludeUninstallerShortcut(made, link);
  }
}

}  // namespace

void CreateShortcuts() {
  const bool registered = Has(ProductFlag::kRegisterUninstall);
  if (registered && Has(ProductFlag::kUninstallerDesktopShortcut)) {
    ShortcutRequest& request = ShortcutRequests.AppendDefault();
    request.desktop = true;
    request.target = UninstallerProgram();
    request.arguments = UninstallerArguments();
    request.name = LookupString(StringId::kUninstallerShortcutName);
  }
  for (int i = 0; i < ShortcutRequests.Count(); ++i) {
    ShortcutRequest& request = ShortcutRequests[i];
    ExpandInstallVariables(request.arguments);
    if (request.desktop) CreateDesktopShortcutFor(request);
    if (request.startMenu) CreateStartMenuShortcutFor(request);
    if (request.startup) CreateStartupShortcutFor(request);
  }
  if (registered) CreateUninstallerShortcuts();
  SetProgressPosition(95);
  WaitForStageDelay();
}
