#include "install/startup.h"

#include "config/settings.h"
#include "install/command_line.h"
#include "install/install_sequence.h"
#include "install/install_state.h"
#include "install/installer_archive.h"
#include "platform/file.h"
#include "platform/file_open_mode.h"
#include "platform/shell_session.h"
#include "platform/system_paths.h"
#include "ui/messages.h"
#include "ui/scripted_ui.h"
#include "ui/windows.h"

#ifdef QUORVEX_TEST_SEAM
namespace {

int __stdcall TranscribeSessionEnd(unsigned flags, unsigned long) {
  AppendScriptedEvent(String::Formatted("end session 0x%08X", flags));
  return TRUE;
}

}  // namespace
#endif

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

void RunInstallMode(const CommandLineRequests& requests) {
  LaunchOnExit = requests.launchOnExit;
#ifdef QUORVEX_TEST_SEAM
  // A scripted run never ends the session: the restart it asks for goes to the transcript.
  if (ScriptedUiActive()) SetExitWindowsForTesting(TranscribeSessionEnd);
#endif
  String ownPath = OwnPathFromCommandLine(GetCommandLineA());
  if (InstallerFile.Open(ownPath, OpenMode::kReadShared, FILE_ATTRIBUTE_NORMAL) != 0)
    FatalErrorFormat("Error code 1: The Quorvex could not open itself.  Filename:\n%s",
                     ownPath.CStr());
  ReadOwnArchive();
  RunInstallSequence();
}
