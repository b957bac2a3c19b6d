// What start-up prepares in the process before anything touches a drive.
#include "install/startup.h"

#include <gtest/gtest.h>
#include <windows.h>

namespace {

// SetErrorMode answers the mode it replaces, so a second call reads what the first one left.
UINT ErrorModeAfter(void (*prepare)()) {
  UINT saved = SetErrorMode(0);
  prepare();
  return SetErrorMode(saved);
}

TEST(PrepareProcess, TurnsTheSystemsCriticalErrorBoxesOff) {
  EXPECT_EQ(ErrorModeAfter([] {}) & SEM_FAILCRITICALERRORS, 0u) << "the probe itself";
  EXPECT_NE(ErrorModeAfter(PrepareProcess) & SEM_FAILCRITICALERRORS, 0u);
}

}  // namespace
