#include "install/batch_commands.h"

#include "config/settings.h"
#include "platform/deferred_replace.h"
#include "platform/path_text.h"
#include "platform/registry_locations.h"
#include "platform/run_process.h"
#include "platform/system_paths.h"
#include "platform/whole_file.h"

namespace {

// The batch environment's size in bytes, for the interpreter's /e switch: room for the SET lines
// of long folder names on systems whose default environment is small.
constexpr int kBatchEnvironmentSize = 5000;

String InstallerDriveText() { return DriveText(InstallerDrive()); }
String BootDriveText() { return DriveText(BootDrive()); }

struct BatchVariable {
  const char* format;
  String (*value)();
};

// The locations after SharedDir, in the order of the file. There is no line for Temp or WinDir,
// and InstallerDrive has its colon here, unlike the install variable of the same name.
const BatchVariable kBatchVariables[] = {
    {"SET InstallerFilepath=%s\r\n", [] { return InstallerFilepath(); }},
    {"SET InstallerDir=%s\r\n", [] { return InstallerDir(); }},
    {"SET InstallerFilename=%s\r\n", [] { return InstallerFilename(); }},
    {"SET InstallerDrive=%s\r\n", InstallerDriveText},
    {"SET SystemDir=%s\r\n", SystemDir},
    {"SET DeviceDir=%s\r\n", DevicePath},
    {"SET MediaDir=%s\r\n", MediaPath},
    {"SET FavoritesDir=%s\r\n", FavoritesDir},
    {"SET FavoritesAllDir=%s\r\n", FavoritesAllDir},
    {"SET FontDir=%s\r\n", FontDir},
    {"SET DesktopDir=%s\r\n", DesktopDir},
    {"SET DesktopAllDir=%s\r\n", DesktopAllDir},
    {"SET DocumentDir=%s\r\n", DocumentDir},
    {"SET DocumentAllDir=%s\r\n", DocumentAllDir},
    {"SET ProgramsDir=%s\r\n", ProgramFilesDir},
    {"SET StartMenuDir=%s\r\n", StartMenuDir},
    {"SET StartMenuAllDir=%s\r\n", StartMenuAllDir},
    {"SET SMProgramsDir=%s\r\n", StartMenuProgramsDir},
    {"SET SMProgramsAllDir=%s\r\n", StartMenuProgramsAllDir},
    {"SET StartupDir=%s\r\n", StartupDir},
    {"SET StartupAllDir=%s\r\n", StartupAllDir},
    {"SET BootDrive=%s\r\n", BootDriveText},
    {"SET CommonDir=%s\r\n", CommonFilesDir},
};

// A line that only stops the batch until someone presses a key.
bool IsBarePause(const String& line) {
  String word = line;
  word.Trim();
  word.RemoveFirstIf('@');
  word.TrimLeft();
  return word.Compare("PAUSE", false) == 0;
}

void AppendUnattendedCommands(String& text, String commands) {
  while (!commands.IsEmpty()) {
    String line = commands.TakeLine();
    if (IsBarePause(line)) continue;
    text.Append(line);
    text.Append("\r\n");
  }
}

}  // namespace

String BatchFileText(const String& directory, bool hidden, const String& commands) {
  String text("@echo off\r\n");
  if (!directory.IsEmpty()) {
    text.AppendFormat("SET InstallDir=%s\r\n", directory.CStr());
    text.AppendFormat("SET InstallDrive=%s\r\n", DriveText(DriveLetterOf(directory)).CStr());
  }
  text.AppendFormat("SET SharedDir=%s\r\n", SharedPath.CStr());
  for (const BatchVariable& variable : kBatchVariables) {
    text.AppendFormat(variable.format, variable.value().CStr());
  }
  if (AutomaticMode || hidden) {
    AppendUnattendedCommands(text, commands);
  } else {
    text.Append(commands);
  }
  text.NormaliseLineBreaks();
  return text;
}

void RunBatchCommands(const String& directory, bool hidden, const String& commands) {
  if (commands.IsBlank()) return;
  const String path = JoinPath(directory, kBatchFileName);
  if (!WriteWholeFile(path, BatchFileText(directory, hidden, commands))) return;
  const String commandLine = String::Formatted("%s /e:%d /c \"%s\"", CommandInterpreter().CStr(),
                                               kBatchEnvironmentSize, path.CStr());
  uint32_t flags = RunFlags::kWait | RunFlags::kPumpWhileWaiting;
  if (hidden) flags |= RunFlags::kHidden;
  // An empty directory names the current one, where the file was written.
  RunProcess(commandLine.CStr(), flags, directory.IsEmpty() ? nullptr : directory.CStr());
  DeleteFileOrSchedule(path.CStr(), 0);
}
