#include "ui/ui_seam.h"

#include "ui/scripted_ui.h"

int ShowMessageBox(HWND owner, const char* text, const char* caption, unsigned style) {
#ifdef QUORVEX_TEST_SEAM
  if (ScriptedUiActive()) return ScriptedMessageBox(owner, text, caption, style);
#endif
  return MessageBoxA(owner, text, caption, style);
}

INT_PTR ShowDialog(HINSTANCE instance, const char* templateName, HWND owner, DLGPROC proc,
                   LPARAM param) {
#ifdef QUORVEX_TEST_SEAM
  if (ScriptedUiActive()) return ScriptedDialog(instance, templateName, owner, proc, param);
#endif
  return DialogBoxParamA(instance, templateName, owner, proc, param);
}
