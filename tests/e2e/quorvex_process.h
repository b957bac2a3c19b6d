// Runs the real quorvex.exe (beside the test program), or an installer built from it, with a
// scripted UI and reports what it showed and how it ended.
#pragma once

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

// RunProgram with quorvex.exe.
QuorvexRun RunQuorvex(const std::string& commandLine,
                      const std::vector<std::string>& answers = {});

// The full path of quorvex.exe.
std::string QuorvexPath();
