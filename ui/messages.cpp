#include "ui/messages.h"

#include <cstdarg>

#include "config/archive_text.h"
#include "config/language_strings.h"
#include "config/settings.h"
#include "core/string.h"
#include "platform/system_paths.h"
#include "ui/message_pump.h"
#include "ui/ui_seam.h"
#include "ui/windows.h"

namespace {

constexpr char kFatalTitle[] = "FATAL ERROR";
constexpr unsigned kFatalStyle = MB_TASKMODAL | MB_ICONSTOP | MB_OK;  // 0x2010
constexpr unsigned kErrorStyle = MB_ICONSTOP | MB_OK;                 // 0x10
constexpr char kDefaultErrorTitle[] = "Error";
// Reports errors even in automatic mode.
constexpr char kUsageTemplate[] =
    "%s\n\nUsage:\n%s [/a] [/d:\"dir\"] [/n:\"name\"] [/u:\"name\"] [/r:\"program\"]\n\n"
    "/a                  \tAutomatic mode\n"
    "/d:\"dir\"        \tOverride installation directory\n"
    "/n:\"name\"\tOverride product name\n"
    "/u:\"name\"\tUninstall product by name\r\n"
    "/r:\"program\"\tRun the specified program after a successful installation";

}  // namespace

void ExitInstaller() {
  if (ProgressWindow) {
    DestroyWindow(ProgressWindow);
    ProgressWindow = nullptr;
  }
  if (BackgroundWindow) {
    ShowWindow(BackgroundWindow, SW_MINIMIZE);
    DestroyWindow(BackgroundWindow);
    BackgroundWindow = nullptr;
  }
  PumpMessages();
  ExitProcess(1);
}

HWND MessageOwner() { return ProgressWindow ? ProgressWindow : BackgroundWindow; }

void FatalError(const char* text) {
  ShowMessageBox(MessageOwner(), text, kFatalTitle, kFatalStyle);
  ExitInstaller();
}

void FatalErrorFormat(const char* fmt, ...) {
  va_list args;
  va_start(args, fmt);
  String text;
  text.FormatV(fmt, args);
  va_end(args);
  FatalError(text.CStr());
}

void ReportError(const char* fmt, ...) {
  if (AutomaticMode && !HasFlag(ProductFlags, ProductFlag::kErrorsInAutomaticMode)) return;
  va_list args;
  va_start(args, fmt);
  String text;
  text.FormatV(fmt, args);
  va_end(args);
  if (text.IsBlank()) return;
  String title = LookupString(StringId::kErrorTitle);
  if (title.IsEmpty()) title = kDefaultErrorTitle;
  ShowMessageBox(MessageOwner(), text.CStr(), title.CStr(), kErrorStyle);
}

void CorruptInstaller(CorruptCode code) {
  // An empty or unusable text of the archive gives the built-in one.
  FatalError(FormatArchiveText(StringId::kCorruptInstaller, {int(code)}).CStr());
}

void UsageError(const char* message) {
  FatalErrorFormat(kUsageTemplate, message, InstallerFilename().CStr());
}
