#include "ui/progress_dialog.h"

#include <commctrl.h>

#include "config/language_strings.h"
#include "config/settings.h"
#include "res/dialog_ids.h"
#include "ui/centre_window.h"
#include "ui/message_pump.h"
#include "ui/messages.h"
#include "ui/ui_seam.h"
#include "ui/windows.h"

HWND ProgressBar = nullptr;

namespace {

constexpr char kTemplateName[] = "ProgressDlg";

constexpr unsigned kCancelQuestionStyle = MB_ICONQUESTION | MB_YESNO;  // 0x24

// The bar covers the placeholder frame and one pixel beyond each of its edges (two beyond the
// right and bottom ones, whose coordinates are exclusive).
HWND CreateBarOverFrame(HWND dialog) {
  WINDOWPLACEMENT placement = {};
  placement.length = sizeof placement;
  if (!GetWindowPlacement(GetDlgItem(dialog, IDC_PROGRESS_FRAME), &placement)) return nullptr;
  const RECT& frame = placement.rcNormalPosition;
  return CreateWindowExA(0, PROGRESS_CLASSA, "", WS_CHILD | WS_VISIBLE, frame.left - 1,
                         frame.top - 1, frame.right - frame.left + 3, frame.bottom - frame.top + 3,
                         dialog, nullptr, InstanceHandle, nullptr);
}

void InitialiseDialog(HWND dialog) {
  CentreWindow(dialog);
  ProgressBar = CreateBarOverFrame(dialog);
  SetDlgItemTextA(dialog, IDC_SECOND_BUTTON, LookupString(StringId::kCancelCaption).CStr());
  if (UninstallMode || HasFlag(ProductFlags, ProductFlag::kNoCancel))
    EnableWindow(GetDlgItem(dialog, IDC_SECOND_BUTTON), FALSE);
}

INT_PTR CALLBACK ProgressDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG:
      InitialiseDialog(dialog);
      return TRUE;
    case WM_COMMAND:
      // Only the button itself (a control sends its own handle): not a menu or accelerator.
      if (lParam != 0 && LOWORD(wParam) == IDC_SECOND_BUTTON &&
          !HasFlag(ProductFlags, ProductFlag::kNoCancel))
        ConfirmCancel();
      return FALSE;
    case WM_DESTROY:
      // However the dialog goes (ExitInstaller destroys it too, and so does the destruction of
      // its owner), it and its bar are forgotten with it.
      if (ProgressWindow == dialog) ProgressWindow = nullptr;
      ProgressBar = nullptr;
      return FALSE;
    default:
      return FALSE;
  }
}

}  // namespace

void CreateProgressDialog() {
  // Makes sure comctl32 has registered the bar's window class.
  InitCommonControls();
  HWND dialog = CreateDialogParamA(InstanceHandle, kTemplateName, BackgroundWindow,
                                   ProgressDialogProc, 0);
  if (dialog == nullptr) return;
  ProgressWindow = dialog;
  SetWindowTextA(dialog, LookupString(UninstallMode ? StringId::kUninstallProgressTitle
                                                    : StringId::kInstallProgressTitle)
                             .CStr());
  SetDlgItemTextA(dialog, IDC_PROMPT,
                  LookupString(UninstallMode ? StringId::kUninstallProgressLabel
                                             : StringId::kInstallProgressLabel)
                      .CStr());
}

void DestroyProgressDialog() {
  if (ProgressWindow == nullptr) return;
  DestroyWindow(ProgressWindow);
  ProgressWindow = nullptr;
  ProgressBar = nullptr;
}

bool SetProgressStatus(const String& text) {
  if (ProgressWindow != nullptr) {
    // Only the text changes, so only its control is painted again, at once: the status is set
    // for every installed file, and repainting the whole dialog each time would cost more than
    // writing most files.
    HWND step = GetDlgItem(ProgressWindow, IDC_PROGRESS_STEP_TEXT);
    SetWindowTextA(step, text.CStr());
    RedrawWindow(step, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
  }
  return PumpMessages();
}

bool SetProgressPosition(int position) {
  if (ProgressBar != nullptr) SendMessageA(ProgressBar, PBM_SETPOS, WPARAM(position), 0);
  return PumpMessages();
}

void ConfirmCancel() {
  int answer = ShowMessageBox(MessageOwner(), LookupString(StringId::kCancelQuestion).CStr(),
                              LookupString(StringId::kSetupTitle).CStr(), kCancelQuestionStyle);
  if (answer == IDYES) ExitInstaller();
}
