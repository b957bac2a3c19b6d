// The Win32 tests' main. Message boxes and dialogs never appear in tests: unless a test run
// names its own files, the UI seam writes its transcript to a file in the temporary directory,
// which death tests read back (the variable is inherited by their child processes).
#include <gtest/gtest.h>
#include <windows.h>

#include "platform/system_paths.h"

int main(int argc, char** argv) {
  char existing[4];
  if (GetEnvironmentVariableA("QUORVEX_UI_TRANSCRIPT", existing, sizeof existing) == 0) {
    char dir[MAX_PATH];
    char path[MAX_PATH];
    GetTempPathA(sizeof dir, dir);
    wsprintfA(path, "%squorvex-ui-%lu.txt", dir, GetCurrentProcessId());
    SetEnvironmentVariableA("QUORVEX_UI_TRANSCRIPT", path);
  }
  InitSystemPaths();
  testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
