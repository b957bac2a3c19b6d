// The qorv commands, callable without a process: main() and the tests both come here. Each
// writes its report to `out`, its errors to `err`, and returns the process exit code.
#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "tools/qorv/build_progress.h"

struct BuildOptions {
  std::string manifest;
  std::string output;
  std::string engine;   // empty: quorvex.exe next to the qorv program
  int level = 0;        // 0: the manifest's (archive.level, else the smallest output)
  ProgressStyle progress = ProgressStyle::kNone;  // shown on the error stream
};

// Exit codes.
inline constexpr int kQorvSuccess = 0;
inline constexpr int kQorvFailure = 1;   // a build that failed, an installer that is not sound
inline constexpr int kQorvUsage = 2;     // a command line that could not be understood

int RunBuild(const BuildOptions& options, std::ostream& out, std::ostream& err);
int RunInspect(const std::string& installer, std::ostream& out, std::ostream& err);

// The whole command line, argv[0] included. The build's progress goes to err, rewritten in
// place when errIsTerminal, as plain lines otherwise, not at all with --quiet.
int RunQorv(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
            bool errIsTerminal = false);
