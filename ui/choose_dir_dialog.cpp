#include "ui/choose_dir_dialog.h"

#include "config/language_strings.h"
#include "config/settings.h"
#include "core/string.h"
#include "res/dialog_ids.h"
#include "ui/browse_for_folder.h"
#include "ui/centre_window.h"
#include "ui/ui_seam.h"
#include "ui/windows.h"

namespace {

// One less than MAX_PATH: room for the terminator of a full path.
constexpr WPARAM kDirectoryLimit = 0x103;

void SetItemText(HWND dialog, int id, StringId stringId) {
  SetDlgItemTextA(dialog, id, LookupString(stringId).CStr());
}

// The field's whole text; it may be longer than the typing limit when it was set, not typed.
String FieldText(HWND dialog) {
  HWND field = GetDlgItem(dialog, IDC_DIRECTORY_FIELD);
  String text;
  int length = GetWindowTextLengthA(field);
  if (length <= 0) return text;
  text.Resize(length);
  text.Resize(GetWindowTextA(field, text.Data(), length + 1));
  return text;
}

void InitDialog(HWND dialog) {
  CentreWindow(dialog);
  SetItemText(dialog, IDC_PROMPT, StringId::kChooseDirText);
  SetDlgItemTextA(dialog, IDC_DIRECTORY_FIELD, InstallDir.CStr());
  SetItemText(dialog, IDC_FIRST_BUTTON, StringId::kOkCaption);
  SetItemText(dialog, IDC_SECOND_BUTTON, StringId::kCancelCaption);
  SetItemText(dialog, IDC_BROWSE_BUTTON, StringId::kChooseDirBrowse);
  SetWindowTextA(dialog, LookupString(StringId::kDirectoryTitle).CStr());
  SendDlgItemMessageA(dialog, IDC_DIRECTORY_FIELD, EM_LIMITTEXT, kDirectoryLimit, 0);
}

}  // namespace

INT_PTR CALLBACK ChooseDirDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
  if (message == WM_INITDIALOG) {
    InitDialog(dialog);
    return TRUE;
  }
  if (message != WM_COMMAND) return FALSE;
  // The buttons are told apart by the whole WPARAM: a click, never another notification.
  switch (wParam) {
    case IDC_FIRST_BUTTON:
      InstallDir = FieldText(dialog);
      EndDialog(dialog, 1);
      return TRUE;
    case IDC_SECOND_BUTTON:
      EndDialog(dialog, 0);
      return TRUE;
    case IDC_BROWSE_BUTTON: {
      String path = FieldText(dialog);
      if (BrowseForFolder(dialog, path)) SetDlgItemTextA(dialog, IDC_DIRECTORY_FIELD, path.CStr());
      return TRUE;
    }
  }
  return FALSE;
}

bool ShowChooseDirDialog() {
  return ShowDialog(InstanceHandle, "ChooseDirDlg", BackgroundWindow, ChooseDirDialogProc, 0) != 0;
}
