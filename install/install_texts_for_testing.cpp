#ifdef QUORVEX_TEST_SEAM
#include "install/install_texts_for_testing.h"

#include <windows.h>

#include "install/install_records.h"
#include "install/install_state.h"
#include "install/shortcut_requests.h"
#include "platform/whole_file.h"

void WriteInstallTextsForTesting() {
  char path[MAX_PATH];
  DWORD n = GetEnvironmentVariableA("QUORVEX_INSTALL_TEXTS", path, sizeof path);
  if (n == 0 || n >= sizeof path) return;
  constexpr char kEnd[] = "\f\r\n";
  String text = InstallLog + kEnd + ErrorSummary + kEnd + InstalledFileList + kEnd + SharedFiles +
                kEnd + ProductFonts + kEnd;
  for (int i = 0; i < ShortcutRequests.Count(); ++i) {
    const ShortcutRequest& r = ShortcutRequests[i];
    text.AppendFormat("%d%d%d%d\t%s\t%s\t%s\t%s\r\n", r.desktop, r.startMenu, r.startup, r.keep,
                      r.target.CStr(), r.name.CStr(), r.icon.CStr(), r.arguments.CStr());
  }
  text += kEnd;
  WriteWholeFile(String(path), text);
}
#endif
