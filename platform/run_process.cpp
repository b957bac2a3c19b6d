#include "platform/run_process.h"

#include <windows.h>

#include "core/string.h"
#include "platform/ui_hooks.h"

namespace {

#ifdef QUORVEX_TEST_SEAM
CreateProcessFunction createProcess = nullptr;
#endif

// CreateProcessA with no application name, no security attributes and the caller's
// environment.
BOOL StartProcess(char* commandLine, BOOL inheritHandles, DWORD creationFlags,
                  const char* directory, STARTUPINFOA* startup, PROCESS_INFORMATION* process) {
#ifdef QUORVEX_TEST_SEAM
  if (createProcess != nullptr) {
    return createProcess(nullptr, commandLine, nullptr, nullptr, inheritHandles, creationFlags,
                         nullptr, directory, startup, process);
  }
#endif
  return CreateProcessA(nullptr, commandLine, nullptr, nullptr, inheritHandles, creationFlags,
                        nullptr, directory, startup, process);
}

DWORD PriorityClass(uint32_t flags) {
  if (flags & RunFlags::kHighPriority) return HIGH_PRIORITY_CLASS;
  if (flags & RunFlags::kIdlePriority) return IDLE_PRIORITY_CLASS;
  return NORMAL_PRIORITY_CLASS;
}

// The start-up information: the show state only when a show flag asks for one.
STARTUPINFOA StartupInfo(uint32_t flags) {
  STARTUPINFOA info = {};
  info.cb = sizeof info;
  WORD show = 0;
  if (flags & RunFlags::kMaximised) {
    show = SW_SHOWMAXIMIZED;
  } else if (flags & RunFlags::kMinimised) {
    // Minimised without taking the focus from the installer's own windows.
    show = SW_MINIMIZE;
  } else if (flags & RunFlags::kHidden) {
    show = SW_HIDE;
  } else {
    return info;
  }
  info.dwFlags = STARTF_USESHOWWINDOW;
  info.wShowWindow = show;
  return info;
}

// Waits for the process to end; with pumping, in steps of 1 ms with the window messages of
// the thread dispatched after each step, so that the windows repaint and Cancel still works.
// False when the wait itself failed: the process may still be running.
bool WaitForEnd(HANDLE process, bool pump) {
  if (!pump) return WaitForSingleObject(process, INFINITE) == WAIT_OBJECT_0;
  DWORD waited;
  while ((waited = WaitForSingleObject(process, 1)) == WAIT_TIMEOUT) PumpMessages();
  return waited == WAIT_OBJECT_0;
}

}  // namespace

uint32_t RunProcess(const char* commandLine, uint32_t flags, const char* directory) {
  if (commandLine == nullptr || *commandLine == '\0') return kProcessNotStarted;
  STARTUPINFOA startup = StartupInfo(flags);
  PROCESS_INFORMATION process = {};
  // CreateProcessA may write into the command line, so it gets a copy of its own.
  String command(commandLine);
  if (!StartProcess(command.Data(), (flags & RunFlags::kInheritHandles) ? TRUE : FALSE,
                    PriorityClass(flags), directory, &startup, &process)) {
    if (flags & RunFlags::kReportFailure) {
      String text = String("Unable to create process:\r\n") + commandLine;
      ShowMessageBox(nullptr, text.CStr(), "Error", MB_ICONSTOP);
    }
    return kProcessNotStarted;
  }
  uint32_t result = kProcessStarted;
  if (flags & RunFlags::kWait) {
    // A process the wait did not see end has no exit code yet: GetExitCodeProcess would give
    // STILL_ACTIVE (259), which a caller would take for the child's own code.
    DWORD exitCode = 0;
    if (WaitForEnd(process.hProcess, (flags & RunFlags::kPumpWhileWaiting) != 0) &&
        GetExitCodeProcess(process.hProcess, &exitCode)) {
      result = exitCode;
    }
  }
  CloseHandle(process.hProcess);
  CloseHandle(process.hThread);
  return result;
}

#ifdef QUORVEX_TEST_SEAM
void SetCreateProcessForTesting(CreateProcessFunction function) { createProcess = function; }
#endif
