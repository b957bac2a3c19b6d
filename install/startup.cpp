#include "install/startup.h"

#include "config/settings.h"
#include "install/command_line.h"
#include "install/installer_archive.h"
#include "platform/file.h"
#include "platform/system_paths.h"
#include "ui/language_dialog.h"
#include "ui/messages.h"
#include "ui/windows.h"

namespace {

// Opened for reading as an existing file that other processes may read too.
constexpr unsigned kOwnFileMode = 0x0111;

// The engine's own file, which carries the archive. Never closed: the process ends first.
File InstallerFile;

}  // namespace

void PrepareProcess() { SetErrorMode(SEM_FAILCRITICALERRORS); }

void StartProgram(HINSTANCE instance, const char* commandLine, CommandLineRequests& requests) {
  PrepareProcess();
  ApplicationName = "Quorvex";
  InitSystemPaths();
  InstanceHandle = instance;
  TitleColor = GetSysColor(COLOR_WINDOWTEXT);
  TopColor = GetSysColor(COLOR_WINDOW);
  MonoColor = true;
  ParseCommandLine(commandLine, requests);
}

void RunInstallMode() {
  String ownPath = OwnPathFromCommandLine(GetCommandLineA());
  if (InstallerFile.Open(ownPath, kOwnFileMode, FILE_ATTRIBUTE_NORMAL) != 0)
    FatalErrorFormat("Error code 1: The Quorvex could not open itself.  Filename:\n%s", ownPath.CStr());
  ReadOwnArchive(InstallerFile);
  ChooseLanguage();
  // The install sequence that follows the choice of language is not part of this build yet.
  ExitInstaller();
}
