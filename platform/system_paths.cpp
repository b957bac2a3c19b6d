
#include <windows.h>

#include "platform/environment.h"
#include "platform/os_identity.h"
#include "platform/path_text.h"
#include "platform/temp_dir.h"

namespace {

struct SystemPaths {
  bool initialised = false;
  String windowsDir;
  String installerFilepath;
  String installerFilename;
  String installerDir;
  char installerDrive = 0;
  String commandInterpreter;
  String tempDir;
};

SystemPaths paths;

String FixedBufferText(DWORD (*get)(char*, DWORD)) {
  char buffer[MAX_PATH];
  DWORD n = get(buffer, sizeof buffer);
  return n > 0 && n < sizeof buffer ? String(buffer, int(n)) : String();
}

String FindCommandInterpreter(const String& windowsDir) {
  String comspec("%comspec%");
  if (!ExpandEnvironment(comspec) || comspec.IsBlank())
    comspec = JoinPath(windowsDir, "command.com");
  if (comspec.FindFirstOf(" \t\r\n") >= 0) comspec.Quote();
  return comspec;
}

}  // namespace

void InitSystemPaths() {
  if (paths.initialised) return;
  paths.initialised = true;
  paths.windowsDir = FixedBufferText([](char* b, DWORD n) { return DWORD(GetWindowsDirectoryA(b, n)); });
  paths.installerFilepath = FixedBufferText([](char* b, DWORD n) { return GetModuleFileNameA(nullptr, b, n); });
  paths.installerFilename = FileNamePart(paths.installerFilepath);
  paths.installerDir = DirectoryPart(paths.installerFilepath);
  paths.installerDrive = DriveLetterOf(paths.installerFilepath);
  paths.commandInterpreter = FindCommandInterpreter(paths.windowsDir);
  paths.tempDir = DefaultTempDir();
}

const String& WindowsDir() { return paths.windowsDir; }
const String& InstallerFilepath() { return paths.installerFilepath; }
const String& InstallerFilename() { return paths.installerFilename; }
const String& InstallerDir() { return paths.installerDir; }
char InstallerDrive() { return paths.installerDrive; }
const String& CommandInterpreter() { return paths.commandInterpreter; }
const String& TempDir() { return paths.tempDir; }

String SystemDir() {
  String dir = FixedBufferText([](char* b, DWORD n) { return DWORD(GetSystemDirectoryA(b, n)); });
  if (!dir.IsEmpty()) return dir;
  return JoinPath(paths.windowsDir, IsNT() ? "System32" : "System");
}
