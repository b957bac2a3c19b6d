#ifdef QUORVEX_TEST_SEAM
#include "install/install_texts_for_testing.h"

#include <windows.h>

#include "install/install_state.h"
#include "platform/whole_file.h"

void WriteInstallTextsForTesting() {
  char path[MAX_PATH];
  DWORD n = GetEnvironmentVariableA("QUORVEX_INSTALL_TEXTS", path, sizeof path);
  if (n == 0 || n >= sizeof path) return;
  WriteWholeFile(String(path), InstallLog + "\f\r\n" + ErrorSummary);
}
#endif
