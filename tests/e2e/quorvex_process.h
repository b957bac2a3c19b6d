// Runs the real quorvex.exe (beside the test program), or an installer built from it, with a
// scripted UI and reports what it showed and how it ended.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

struct QuorvexRun {
  unsigned long exitCode = 0xdeadbeef;
  std::vector<std::string> transcript;
};

// Runs program (a full path: quorvex.exe or an installer built from it). commandLine is the
// whole process command line, whose first atom the engine opens as its own file; an empty one
// means the quoted program path alone. answers are written to the answers file, one a line.
QuorvexRun RunProgram(const std::string& program, const std::string& commandLine = "",
                      const std::vector<std::string>& answers = {});

// Runs commandLine as Windows runs a command of the Uninstall entry: CreateProcessA without an
// application name, so that the system finds the program in the command line itself (an
// unquoted path with blanks included).
QuorvexRun RunCommandLine(const std::string& commandLine,
                          const std::vector<std::string>& answers = {});

// The worker of both: program empty means no application name.
QuorvexRun RunScripted(const std::string& program, const std::string& commandLine,
                       const std::vector<std::string>& answers);

// RunProgram with quorvex.exe.
QuorvexRun RunQuorvex(const std::string& commandLine,
                      const std::vector<std::string>& answers = {});

// The full path of quorvex.exe, or of the engine that QUORVEX_E2E_ENGINE names.
std::string QuorvexPath();

// Runs program with its real UI (no script) up to its first dialog: once a dialog of the process
// is up and the process waits for input, look is called with the process id and that dialog;
// then the dialog's second button (1003) is pressed. Returns the exit code (0xdeadbeef when no
// dialog came up, and the process was ended).
unsigned long RunProgramToFirstDialog(const std::string& program, const std::string& commandLine,
                                      const std::function<void(DWORD, HWND)>& look);

// The top-level window of class className that process owns; null when there is none.
HWND ProcessWindow(DWORD process, const char* className);
