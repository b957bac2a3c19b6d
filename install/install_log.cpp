#include "install/install_log.h"

#include <windows.h>

#include "archive/archive_layout.h"
#include "config/archive_text.h"
#include "config/language_strings.h"
#include "config/settings.h"
#include "core/date_time.h"
#include "install/install_records.h"
#include "install/install_state.h"
#include "platform/open_with_shell.h"
#include "platform/run_process.h"
#include "platform/ui_hooks.h"
#include "platform/whole_file.h"
#include "ui/messages.h"

#ifdef QUORVEX_TEST_SEAM
#include "ui/scripted_ui.h"
#endif

namespace {

constexpr char kLogDateFormat[] = "d-M-yy h:ii:ssap";
constexpr unsigned kLogQuestionStyle = MB_YESNO | MB_ICONINFORMATION;
constexpr unsigned kLogErrorsStyle = MB_ICONINFORMATION;

bool Has(ProductFlag flag) { return HasFlag(ProductFlags, flag); }

#ifdef QUORVEX_TEST_SEAM
// A scripted run never starts another program's window: what it would open goes to the
// transcript, and QUORVEX_TEST_SHELL_OPEN=fail makes the shell's part fail so that the fallback
// shows too.
bool ScriptedShellOpenFails() {
  char value[8];
  DWORD n = GetEnvironmentVariableA("QUORVEX_TEST_SHELL_OPEN", value, sizeof value);
  return n > 0 && n < sizeof value && lstrcmpiA(value, "fail") == 0;
}

bool OpenLogWithShell(const String& path) {
  if (!ScriptedUiActive()) return OpenWithShell(path);
  AppendScriptedEvent("open with shell " + path);
  return !ScriptedShellOpenFails();
}

void StartLogViewer(const String& commandLine) {
  if (!ScriptedUiActive()) {
    RunProcess(commandLine.CStr(), 0, nullptr);
    return;
  }
  AppendScriptedEvent("start " + commandLine);
}
#else
bool OpenLogWithShell(const String& path) { return OpenWithShell(path); }
void StartLogViewer(const String& commandLine) { RunProcess(commandLine.CStr(), 0, nullptr); }
#endif

}  // namespace

String InstallLogHeader(bool reinstall) {
  String text;
  text.AppendFormat("\r\nInstallation log for: %s\r\n", ProductName.CStr());
  text.AppendFormat("Install date: %s\r\n", DateTime::FormatNow(kLogDateFormat).CStr());
  if (Has(ProductFlag::kRegisterUninstall))
    text.AppendFormat("Install type: %s\r\n", reinstall ? "Reinstall" : "New");
  text.AppendFormat("Install location: %s\r\n", InstallDir.CStr());
  text.AppendFormat("Installer version: %.1f\r\n", kEngineVersion / 100.0);
  if (!DisplayVersion.IsBlank())
    text.AppendFormat("Product version: %s\r\n", DisplayVersion.CStr());
  text += "\r\n";
  return text;
}

void FinishInstallLog(String& errors, bool reinstall, bool showResult) {
  const String path = RecordPath("Install.LOG");
  const bool noErrors = errors.IsEmpty();
  bool openLog = false;
  if (showResult) {
    if (noErrors && !AutomaticMode) {
      openLog = ShowMessageBox(
                    MessageOwner(), FormatArchiveText(StringId::kLogQuestion, {path}).CStr(),
                    LookupString(StringId::kLogQuestionTitle).CStr(), kLogQuestionStyle) == IDYES;
    } else if (!noErrors) {
      const String title = LookupString(StringId::kLogErrorsTitle);
      if (!AutomaticMode && !Has(ProductFlag::kNoCompletionMessage)) {
        ShowMessageBox(MessageOwner(), LookupString(StringId::kLogErrors).CStr(), title.CStr(),
                       kLogErrorsStyle);
      }
      errors += title;
      errors += "\r\n\r\n";
    }
  }
  if (Has(ProductFlag::kAlwaysWriteLog) || !noErrors) {
    String text = InstallLogHeader(reinstall);
    if (!InstallLog.IsBlank()) {
      text += InstallLog;
      text += "\r\n";
    }
    text += errors;
    if (!AppendTextFile(path, text.CStr(), 0)) openLog = false;
  }
  if (openLog && !OpenLogWithShell(path)) StartLogViewer("notepad.exe " + path);
}
