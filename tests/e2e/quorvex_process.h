// Runs the real quorvex.exe (beside the test program) with a scripted UI and reports what it
// showed and how it ended.
#pragma once

#include <string>
#include <vector>

struct QuorvexRun {
  unsigned long exitCode = 0xdeadbeef;
  std::vector<std::string> transcript;
};

// commandLine is the whole process command line; an empty one means the quoted program path
// alone. answers are written to the answers file, one a line.
QuorvexRun RunQuorvex(const std::string& commandLine,
                      const std::vector<std::string>& answers = {});

// The full path of quorvex.exe.
std::string QuorvexPath();
