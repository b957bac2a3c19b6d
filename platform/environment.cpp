#include "platform/environment.h"

#include <windows.h>

namespace {
constexpr DWORD kExpansionBufferSize = 32000;
}

bool ExpandEnvironment(String& text) {
  String expanded;
  char* buffer = expanded.Grow(int(kExpansionBufferSize));
  DWORD n = ExpandEnvironmentStringsA(text.CStr(), buffer, kExpansionBufferSize - 1);
  if (n == 0 || n > kExpansionBufferSize - 1) return false;  // 0, or too long to fit
  expanded.SyncLength();
  text = expanded;
  return true;
}
