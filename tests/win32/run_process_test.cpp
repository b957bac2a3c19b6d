// RunProcess with real child processes: cmd.exe for exit codes and working directories, and
// this test program itself, started again in a child mode, for what only the child can see
// (its show state, the handles it inherited).
#include "platform/run_process.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <string>

#include "tests/support/ui_transcript.h"
#include "tests/win32/file_test_support.h"

namespace {

using file_test::ReadBytes;
using file_test::ScratchDir;
using file_test::WriteBytes;

constexpr char kChildModeVariable[] = "QUORVEX_RUN_PROCESS_CHILD";
constexpr DWORD kNoShowState = 0x100;
constexpr char kReleaseEventName[] = "QuorvexRunProcessChildRelease";

// Child mode. When the variable is set, this program reports one fact about itself as its
// exit code and ends before the tests start:
//   show           its start-up show state, kNoShowState when none was given
//   write:HANDLE   writes "inherited" to the handle (hexadecimal); 1 when that worked
//   wait           runs until the event kReleaseEventName is set, then reports 7
DWORD ChildReport(const std::string& mode) {
  if (mode == "show") {
    STARTUPINFOA info = {};
    info.cb = sizeof info;
    GetStartupInfoA(&info);
    return (info.dwFlags & STARTF_USESHOWWINDOW) ? info.wShowWindow : kNoShowState;
  }
  if (mode == "wait") {
    HANDLE release = OpenEventA(SYNCHRONIZE, FALSE, kReleaseEventName);
    if (release == nullptr) return 0xBAD;
    WaitForSingleObject(release, 60000);
    return 7;
  }
  if (mode.rfind("write:", 0) == 0) {
    HANDLE handle = reinterpret_cast<HANDLE>(std::stoull(mode.substr(6), nullptr, 16));
    DWORD written = 0;
    return WriteFile(handle, "inherited", 9, &written, nullptr) && written == 9 ? 1 : 0;
  }
  return 0xBAD;
}

const bool kChildModeChecked = [] {
  char mode[64] = {};
  DWORD n = GetEnvironmentVariableA(kChildModeVariable, mode, sizeof mode);
  if (n > 0 && n < sizeof mode) ExitProcess(ChildReport(mode));
  return true;
}();

std::string OwnProgram() {
  char path[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, path, sizeof path);
  return path;
}

// Runs this program in a child mode with flags (kWait added) and returns what it reported.
uint32_t RunChild(const std::string& mode, uint32_t flags) {
  SetEnvironmentVariableA(kChildModeVariable, mode.c_str());
  std::string command = "\"" + OwnProgram() + "\"";
  uint32_t result = RunProcess(command.c_str(), flags | RunFlags::kWait, nullptr);
  SetEnvironmentVariableA(kChildModeVariable, nullptr);
  return result;
}

TEST(RunProcess, WaitingGivesTheExitCodeOtherwiseStarted) {
  const struct {
    const char* command;
    uint32_t flags;
    uint32_t expected;
  } cases[] = {
      {"cmd.exe /c exit 3", RunFlags::kWait, 3},
      {"cmd.exe /c exit 0", RunFlags::kWait, 0},
      {"cmd.exe /c exit 259", RunFlags::kWait, 259},
      {"cmd.exe /c exit 3", RunFlags::kWait | RunFlags::kPumpWhileWaiting, 3},
      {"cmd.exe /c exit 3", RunFlags::kWait | RunFlags::kHidden | RunFlags::kIdlePriority, 3},
      {"cmd.exe /c exit 3", 0, kProcessStarted},
      {"cmd.exe /c exit 3", RunFlags::kPumpWhileWaiting, kProcessStarted},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.command) + " flags " + std::to_string(c.flags));
    EXPECT_EQ(RunProcess(c.command, c.flags, nullptr), c.expected);
  }
}

TEST(RunProcess, WithoutWaitingTheChildStillRuns) {
  ScratchDir scratch;
  std::string marker = scratch / "ran.txt";
  std::string command = "cmd.exe /c echo ran>\"" + marker + "\"";
  ASSERT_EQ(RunProcess(command.c_str(), 0, nullptr), kProcessStarted);
  // The child ends on its own; give it ample time before giving up.
  for (int i = 0; i < 600 && ReadBytes(marker) != "ran\r\n"; ++i) Sleep(50);
  EXPECT_EQ(ReadBytes(marker), "ran\r\n");
  for (int i = 0; i < 100 && !file_test::CanOpenExclusively(marker); ++i) Sleep(50);
}

TEST(RunProcess, RunsInTheGivenWorkingDirectory) {
  ScratchDir scratch;
  ASSERT_TRUE(WriteBytes(scratch / "marker.txt", "x"));
  const char* command = "cmd.exe /c if exist marker.txt (exit 7) else exit 8";
  EXPECT_EQ(RunProcess(command, RunFlags::kWait, scratch.Path().c_str()), 7u);
  // Null: the caller's current directory, which does not hold the marker.
  char current[MAX_PATH] = {};
  GetCurrentDirectoryA(sizeof current, current);
  ASSERT_STRNE(current, scratch.Path().c_str());
  EXPECT_EQ(RunProcess(command, RunFlags::kWait, nullptr), 8u);
}

TEST(RunProcess, NothingToStartGivesNotStarted) {
  ClearUiTranscript();
  EXPECT_EQ(RunProcess(nullptr, RunFlags::kWait | RunFlags::kReportFailure, nullptr),
            kProcessNotStarted);
  EXPECT_EQ(RunProcess("", RunFlags::kWait | RunFlags::kReportFailure, nullptr),
            kProcessNotStarted);
  EXPECT_TRUE(ReadUiTranscript().empty());
}

TEST(RunProcess, AFailureToStartIsReportedOnlyWhenAsked) {
  ScratchDir scratch;
  std::string command = "\"" + (scratch / "missing program.exe") + "\" /x";
  ClearUiTranscript();
  EXPECT_EQ(RunProcess(command.c_str(), RunFlags::kWait, nullptr), kProcessNotStarted);
  EXPECT_TRUE(ReadUiTranscript().empty());

  EXPECT_EQ(RunProcess(command.c_str(), RunFlags::kWait | RunFlags::kReportFailure, nullptr),
            kProcessNotStarted);
  std::vector<std::string> expected = {
      "box\tnone\t0x00000010\tError\t" +
      TranscriptEscaped("Unable to create process:\r\n" + command) + "\t1"};
  EXPECT_EQ(ReadUiTranscript(), expected);
  ClearUiTranscript();
}

// Wine starts every child at normal priority, so the creation flags are watched on their way to
// CreateProcessA; the child still really runs.
DWORD seenCreationFlags = 0;

BOOL WINAPI WatchCreationFlags(const char* application, char* commandLine,
                               SECURITY_ATTRIBUTES* processSecurity,
                               SECURITY_ATTRIBUTES* threadSecurity, BOOL inheritHandles,
                               DWORD creationFlags, void* environment, const char* directory,
                               STARTUPINFOA* startup, PROCESS_INFORMATION* process) {
  seenCreationFlags = creationFlags;
  return CreateProcessA(application, commandLine, processSecurity, threadSecurity, inheritHandles,
                        creationFlags, environment, directory, startup, process);
}

TEST(RunProcess, PriorityFlagsChooseTheCreationFlags) {
  const struct {
    uint32_t flags;
    DWORD creationFlags;
  } cases[] = {
      {0, NORMAL_PRIORITY_CLASS},
      {RunFlags::kHidden | RunFlags::kInheritHandles, NORMAL_PRIORITY_CLASS},
      {RunFlags::kIdlePriority, IDLE_PRIORITY_CLASS},
      {RunFlags::kHighPriority, HIGH_PRIORITY_CLASS},
      {RunFlags::kHighPriority | RunFlags::kIdlePriority, HIGH_PRIORITY_CLASS},
  };
  SetCreateProcessForTesting(WatchCreationFlags);
  for (const auto& c : cases) {
    SCOPED_TRACE(c.flags);
    seenCreationFlags = 0xDEADBEEF;
    EXPECT_EQ(RunProcess("cmd.exe /c exit 6", c.flags | RunFlags::kWait, nullptr), 6u);
    EXPECT_EQ(seenCreationFlags, c.creationFlags);
  }
  SetCreateProcessForTesting(nullptr);
}

// The child's full process handle; RunProcess gets one that may not be waited on.
HANDLE fullChildHandle = nullptr;

BOOL WINAPI HandOutUnwaitableHandle(const char* application, char* commandLine,
                                    SECURITY_ATTRIBUTES* processSecurity,
                                    SECURITY_ATTRIBUTES* threadSecurity, BOOL inheritHandles,
                                    DWORD creationFlags, void* environment, const char* directory,
                                    STARTUPINFOA* startup, PROCESS_INFORMATION* process) {
  if (!CreateProcessA(application, commandLine, processSecurity, threadSecurity, inheritHandles,
                      creationFlags, environment, directory, startup, process)) {
    return FALSE;
  }
  fullChildHandle = process->hProcess;
  HANDLE queryOnly = nullptr;
  if (!DuplicateHandle(GetCurrentProcess(), fullChildHandle, GetCurrentProcess(), &queryOnly,
                       PROCESS_QUERY_INFORMATION, FALSE, 0)) {
    return FALSE;
  }
  process->hProcess = queryOnly;
  return TRUE;
}

// A wait that fails leaves no exit code to give: the child is still running, and its
// STILL_ACTIVE (259) is not a code it ended with.
TEST(RunProcess, AFailedWaitGivesNoExitCode) {
  HANDLE release = CreateEventA(nullptr, TRUE, FALSE, kReleaseEventName);
  ASSERT_NE(release, nullptr);
  SetEnvironmentVariableA(kChildModeVariable, "wait");
  const std::string command = "\"" + OwnProgram() + "\"";
  SetCreateProcessForTesting(HandOutUnwaitableHandle);
  for (uint32_t pump : {0u, RunFlags::kPumpWhileWaiting}) {
    SCOPED_TRACE(pump);
    fullChildHandle = nullptr;
    EXPECT_EQ(RunProcess(command.c_str(), RunFlags::kWait | pump, nullptr), kProcessStarted);
    ASSERT_NE(fullChildHandle, nullptr);
    DWORD stillRunning = 0;
    EXPECT_TRUE(GetExitCodeProcess(fullChildHandle, &stillRunning));
    EXPECT_EQ(stillRunning, DWORD(STILL_ACTIVE)) << "the child had not ended";
    SetEvent(release);
    EXPECT_EQ(WaitForSingleObject(fullChildHandle, 60000), WAIT_OBJECT_0);
    CloseHandle(fullChildHandle);
    ResetEvent(release);
  }
  SetCreateProcessForTesting(nullptr);
  SetEnvironmentVariableA(kChildModeVariable, nullptr);
  CloseHandle(release);
}

TEST(RunProcess, ShowFlagsChooseTheChildsShowState) {
  const struct {
    uint32_t flags;
    DWORD show;
  } cases[] = {
      {0, kNoShowState},
      {RunFlags::kWait, kNoShowState},
      {RunFlags::kHidden, SW_HIDE},
      {RunFlags::kMinimised, SW_MINIMIZE},  // 6: minimised without taking the focus
      {RunFlags::kMinimised | RunFlags::kHidden, SW_MINIMIZE},
      {RunFlags::kMaximised, SW_SHOWMAXIMIZED},
      {RunFlags::kMaximised | RunFlags::kMinimised | RunFlags::kHidden, SW_SHOWMAXIMIZED},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.flags);
    EXPECT_EQ(RunChild("show", c.flags), c.show);
  }
}

TEST(RunProcess, InheritsHandlesOnlyWhenAsked) {
  ScratchDir scratch;
  for (bool inherit : {false, true}) {
    SCOPED_TRACE(inherit ? "inherit" : "no inherit");
    std::string path = scratch / (inherit ? "inherit.txt" : "no-inherit.txt");
    SECURITY_ATTRIBUTES security = {sizeof security, nullptr, TRUE};
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &security,
                              CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    char mode[64];
    std::snprintf(mode, sizeof mode, "write:%llx",
                  static_cast<unsigned long long>(reinterpret_cast<uintptr_t>(file)));
    uint32_t report = RunChild(mode, inherit ? RunFlags::kInheritHandles : 0);
    CloseHandle(file);
    EXPECT_EQ(ReadBytes(path), inherit ? "inherited" : "");
    if (inherit) {
      EXPECT_EQ(report, 1u);
    }
  }
}

// Counts the WM_APP messages a message-only window receives.
class CountingWindow {
 public:
  CountingWindow() {
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = Procedure;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = "QuorvexRunProcessCounter";
    RegisterClassA(&windowClass);
    window_ = CreateWindowExA(0, windowClass.lpszClassName, "", 0, 0, 0, 0, 0, HWND_MESSAGE,
                              nullptr, windowClass.hInstance, nullptr);
    count_ = 0;
  }
  ~CountingWindow() { DestroyWindow(window_); }
  HWND Handle() const { return window_; }
  static int Count() { return count_; }

 private:
  static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM w, LPARAM l) {
    if (message == WM_APP) ++count_;
    return DefWindowProcA(window, message, w, l);
  }
  HWND window_;
  static int count_;
};
int CountingWindow::count_ = 0;

TEST(RunProcess, PumpsWindowMessagesWhileWaitingOnlyWhenAsked) {
  CountingWindow window;
  ASSERT_NE(window.Handle(), nullptr);

  ASSERT_TRUE(PostMessageA(window.Handle(), WM_APP, 0, 0));
  EXPECT_EQ(RunProcess("cmd.exe /c exit 4", RunFlags::kWait | RunFlags::kPumpWhileWaiting, nullptr),
            4u);
  EXPECT_EQ(CountingWindow::Count(), 1);

  ASSERT_TRUE(PostMessageA(window.Handle(), WM_APP, 0, 0));
  EXPECT_EQ(RunProcess("cmd.exe /c exit 4", RunFlags::kWait, nullptr), 4u);
  EXPECT_EQ(CountingWindow::Count(), 1);  // still queued
  MSG message;
  while (PeekMessageA(&message, window.Handle(), 0, 0, PM_REMOVE)) DispatchMessageA(&message);
  EXPECT_EQ(CountingWindow::Count(), 2);
}

}  // namespace
