#include "tests/e2e/quorvex_process.h"

#include <windows.h>

#include <fstream>

#include "tests/support/ui_transcript.h"

namespace {

constexpr DWORD kRunTimeoutMs = 60000;

std::string TempFile(const char* name) {
  char dir[MAX_PATH];
  GetTempPathA(sizeof dir, dir);
  return std::string(dir) + name + std::to_string(GetCurrentProcessId()) + ".txt";
}

}  // namespace

std::string QuorvexPath() {
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
  std::string transcriptPath = TempFile("quorvex-e2e-transcript-");
  std::string answersPath = TempFile("quorvex-e2e-answers-");
  ClearUiTranscript(transcriptPath);
  {
    std::ofstream out(answersPath, std::ios::binary | std::ios::trunc);
    for (const std::string& answer : answers) out << answer << "\r\n";
  }
  SetEnvironmentVariableA("QUORVEX_UI_TRANSCRIPT", transcriptPath.c_str());
  SetEnvironmentVariableA("QUORVEX_UI_ANSWERS", answersPath.c_str());

  std::string line = commandLine.empty() ? "\"" + program + "\"" : commandLine;
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process = {};
  QuorvexRun run;
  if (CreateProcessA(program.c_str(), &line[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                     &startup, &process)) {
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
