#include "uninstall/self_removal.h"

#include <windows.h>

#include "config/settings.h"
#include "platform/path_text.h"
#include "platform/system_paths.h"
#include "platform/whole_file.h"

namespace {

// The interpreter's path without the quotes CommandInterpreter puts around one with a blank:
// as the application name of CreateProcessA a quoted path names no file.
String UnquotedPath(const String& path) {
  String plain = path;
  plain.Trim();
  if (plain.Length() >= 2 && plain.StartsWithChar('"') && plain.EndsWithChar('"'))
    plain = plain.Substring(1, plain.Length() - 2);
  return plain;
}

}  // namespace

String SelfRemovalBatchText(const String& uninstaller, const String& installDir,
                            const String& uninstallSubdir) {
  String text = String::Formatted(":Repeat\r\ndel \"%s\"\r\nif exist \"%s\" goto Repeat\r\n",
                                  uninstaller.CStr(), uninstaller.CStr());
  if (!uninstallSubdir.IsEmpty())
    text.AppendFormat("rd \"%s\"\r\n", JoinPath(installDir, uninstallSubdir).CStr());
  text.AppendFormat("rd \"%s\"\r\n", installDir.CStr());
  text.AppendFormat("del \"%s\"\r\n", kSelfRemovalBatch);
  return text;
}

String SelfRemovalCommandLine(const String& interpreter) {
  return "\"" + UnquotedPath(interpreter) + "\" /c " + kSelfRemovalBatch;
}

void RemoveSelf() {
  String text = SelfRemovalBatchText(InstallerFilepath(), InstallDir, UninstallSubdir);
  if (!WriteWholeFile(kSelfRemovalBatch, text)) return;
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = SW_MINIMIZE;
  String application = UnquotedPath(CommandInterpreter());
  String commandLine = SelfRemovalCommandLine(CommandInterpreter());
  PROCESS_INFORMATION process = {};
  if (!CreateProcessA(application.CStr(), commandLine.Data(), nullptr, nullptr, FALSE,
                      CREATE_NEW_CONSOLE, nullptr, nullptr, &startup, &process))
    return;
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
}
