// Native builds of the portable layers have no message box: a fatal error writes its text to
// standard error and exits with code 1, so that death tests can read the exact text.
#include <cstdarg>
#include <cstdio>
#include <cstdlib>

#include "core/fatal.h"

void FatalError(const char* text) {
  std::fputs(text, stderr);
  std::fflush(stderr);
  std::_Exit(1);
}

void FatalErrorFormat(const char* fmt, ...) {
  char text[65536];
  va_list args;
  va_start(args, fmt);
  int n = std::vsnprintf(text, sizeof text, fmt, args);
  va_end(args);
  FatalError(n < 0 ? fmt : text);
}
