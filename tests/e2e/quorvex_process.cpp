#include "tests/e2e/quorvex_process.h"

#include <windows.h>

#include <fstream>

#include "tests/support/ui_transcript.h"

namespace {

constexpr DWORD kRunTimeoutMs = 60000;

// Names another build of the engine for the whole run (the shipped compiler's, say) in place of
// the quorvex.exe beside the test program.
constexpr const char* kEngineVariable = "QUORVEX_E2E_ENGINE";

std::string TempFile(const char* name) {
  char dir[MAX_PATH];
  GetTempPathA(sizeof dir, dir);
  return std::string(dir) + name + std::to_string(GetCurrentProcessId()) + ".txt";
}

}  // namespace

std::string QuorvexPath() {
  char engine[MAX_PATH];
  DWORD length = GetEnvironmentVariableA(kEngineVariable, engine, sizeof engine);
  if (length > 0 && length < sizeof engine) return std::string(engine, length);
  char self[MAX_PATH];
  DWORD n = GetModuleFileNameA(nullptr, self, sizeof self);
  std::string path(self, n);
  return path.substr(0, path.find_last_of('\\') + 1) + "quorvex.exe";
}

QuorvexRun RunQuorvex(const std::string& commandLine, const std::vector<std::string>& answers) {
  return RunProgram(QuorvexPath(), commandLine, answers);
}

QuorvexRun RunProgram(const std::string& program, const std::string& commandLine,
                      const std::vector<std::string>& answers) {
  return RunScripted(program, commandLine.empty() ? "\"" + program + "\"" : commandLine, answers);
}

QuorvexRun RunCommandLine(const std::string& commandLine, const std::vector<std::string>& answers) {
  return RunScripted("", commandLine, answers);
}

QuorvexRun RunScripted(const std::string& program, const std::string& commandLine,
                       const std::vector<std::string>& answers) {
  std::string transcriptPath = TempFile("quorvex-e2e-transcript-");
  std::string answersPath = TempFile("quorvex-e2e-answers-");
  ClearUiTranscript(transcriptPath);
  {
    std::ofstream out(answersPath, std::ios::binary | std::ios::trunc);
    for (const std::string& answer : answers) out << answer << "\r\n";
  }
  SetEnvironmentVariableA("QUORVEX_UI_TRANSCRIPT", transcriptPath.c_str());
  SetEnvironmentVariableA("QUORVEX_UI_ANSWERS", answersPath.c_str());

  std::string line = commandLine;
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process = {};
  QuorvexRun run;
  if (CreateProcessA(program.empty() ? nullptr : program.c_str(), &line[0], nullptr, nullptr, FALSE,
                     0, nullptr, nullptr, &startup, &process)) {
    if (WaitForSingleObject(process.hProcess, kRunTimeoutMs) == WAIT_OBJECT_0)
      GetExitCodeProcess(process.hProcess, &run.exitCode);
    else
      TerminateProcess(process.hProcess, 0xdead);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
  }
  run.transcript = ReadUiTranscript(transcriptPath);
  DeleteFileA(transcriptPath.c_str());
  DeleteFileA(answersPath.c_str());
  return run;
}

namespace {

struct WindowSearch {
  DWORD process;
  const char* className;
  HWND found;
};

BOOL CALLBACK MatchWindow(HWND window, LPARAM param) {
  auto* search = reinterpret_cast<WindowSearch*>(param);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  char className[64] = "";
  if (owner == search->process && GetClassNameA(window, className, sizeof className) &&
      lstrcmpiA(className, search->className) == 0) {
    search->found = window;
    return FALSE;
  }
  return TRUE;
}

// How often, and how far apart, the process's windows are looked for.
constexpr int kWindowLooks = 400;
constexpr DWORD kWindowLookPauseMs = 50;

}  // namespace

HWND ProcessWindow(DWORD process, const char* className) {
  WindowSearch search = {process, className, nullptr};
  EnumWindows(MatchWindow, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

unsigned long RunProgramToFirstDialog(const std::string& program, const std::string& commandLine,
                                      const std::function<void(DWORD, HWND)>& look) {
  SetEnvironmentVariableA("QUORVEX_UI_TRANSCRIPT", nullptr);
  SetEnvironmentVariableA("QUORVEX_UI_ANSWERS", nullptr);
  std::string line = commandLine.empty() ? "\"" + program + "\"" : commandLine;
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process = {};
  unsigned long exitCode = 0xdeadbeef;
  if (!CreateProcessA(program.c_str(), &line[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                      &startup, &process)) {
    return exitCode;
  }
  HWND dialog = nullptr;
  for (int i = 0; i < kWindowLooks && dialog == nullptr; ++i) {
    if (WaitForSingleObject(process.hProcess, kWindowLookPauseMs) == WAIT_OBJECT_0) break;
    dialog = ProcessWindow(process.dwProcessId, "#32770");
  }
  if (dialog != nullptr) {
    WaitForInputIdle(process.hProcess, kRunTimeoutMs);
    look(process.dwProcessId, dialog);
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(1003, BN_CLICKED), 0);
  }
  if (WaitForSingleObject(process.hProcess, kRunTimeoutMs) == WAIT_OBJECT_0 && dialog != nullptr)
    GetExitCodeProcess(process.hProcess, &exitCode);
  else
    TerminateProcess(process.hProcess, 0xdead);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return exitCode;
}
