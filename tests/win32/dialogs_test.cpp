// The dialog templates as stored and as the dialog manager builds them, and the centring rule
// every dialog follows.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "res/dialog_ids.h"
#include "tests/win32/dialog_test_support.h"
#include "ui/centre_window.h"
#include "ui/choose_dir_dialog.h"
#include "ui/language_dialog.h"
#include "ui/text_dialogs.h"
#include "ui/windows.h"

namespace {

using dialog_test::DialogTemplate;
using dialog_test::LanguageTables;
using dialog_test::LoadDialogTemplate;

constexpr uint32_t kDialogStyle = 0x90C800C0;

struct ExpectedControl {
  int id;
  const char* className;
  uint32_t style;
  int x, y, cx, cy;
};

struct ExpectedDialog {
  const char* name;
  int x, y, cx, cy;
  const char* caption;
  std::vector<ExpectedControl> controls;  // in template order
};

const std::vector<ExpectedDialog>& ExpectedDialogs() {
  static const std::vector<ExpectedDialog> dialogs = {
      {"ChooseDirDlg", 6, 15, 239, 57, "",
       {{1009, "STATIC", 0x50020000, 3, 2, 231, 20},
        {1015, "EDIT", 0x50810080, 3, 25, 168, 12},
        {1013, "BUTTON", 0x50010000, 174, 25, 62, 12},
        {1001, "BUTTON", 0x50010001, 3, 42, 115, 12},
        {1003, "BUTTON", 0x50010000, 121, 42, 115, 12}}},
      {"LicenseDlg", 6, 15, 284, 178, "",
       {{1001, "BUTTON", 0x50010001, 3, 145, 277, 14},
        {1003, "BUTTON", 0x50010000, 3, 161, 277, 14},
        {1009, "STATIC", 0x50020000, 3, 2, 277, 20},
        {1005, "EDIT", 0x50A10804, 3, 20, 277, 120}}},
      {"ReadmeDlg", 6, 15, 239, 148, "",
       {{1001, "BUTTON", 0x50010001, 3, 133, 115, 12},
        {1003, "BUTTON", 0x50010000, 121, 133, 115, 12},
        {1009, "STATIC", 0x50020000, 3, 2, 233, 20},
        {1005, "EDIT", 0x50A10804, 3, 21, 233, 107}}},
      // The list notifies its parent and keeps the archive's order (no LBS_SORT).
      {"LanguageDlg", 6, 15, 180, 125, "Choose Your Language",
       {{1017, "LISTBOX", 0x50A10001, 3, 3, 174, 104},
        {1001, "BUTTON", 0x50010001, 3, 110, 85, 12},
        {1003, "BUTTON", 0x50010000, 92, 110, 85, 12}}},
      {"ProgressDlg", 6, 15, 195, 60, "",
       {{1009, "STATIC", 0x50020000, 5, 2, 185, 8},
        {1007, "STATIC", 0x50000007, 5, 12, 185, 9},
        {1011, "STATIC", 0x50020000, 5, 24, 185, 16},
        {1003, "BUTTON", 0x50010000, 60, 43, 75, 12}}},
  };
  return dialogs;
}

TEST(DialogTemplates, AreStoredExactlyAsDesignedInUsEnglish) {
  for (const ExpectedDialog& dialogWant : ExpectedDialogs()) {
    SCOPED_TRACE(dialogWant.name);
    DialogTemplate stored = LoadDialogTemplate(dialogWant.name);
    ASSERT_TRUE(stored.found);
    EXPECT_EQ(stored.style, kDialogStyle);
    EXPECT_EQ(stored.exStyle, 0u);
    EXPECT_EQ(stored.x, dialogWant.x);
    EXPECT_EQ(stored.y, dialogWant.y);
    EXPECT_EQ(stored.cx, dialogWant.cx);
    EXPECT_EQ(stored.cy, dialogWant.cy);
    EXPECT_EQ(stored.menu, "");
    EXPECT_EQ(stored.className, "");
    EXPECT_EQ(stored.caption, dialogWant.caption);
    EXPECT_EQ(stored.pointSize, 10);
    EXPECT_EQ(stored.font, "Arial");
    ASSERT_EQ(stored.items.size(), dialogWant.controls.size());
    for (size_t i = 0; i < dialogWant.controls.size(); ++i) {
      const ExpectedControl& want = dialogWant.controls[i];
      const dialog_test::TemplateItem& item = stored.items[i];
      SCOPED_TRACE(want.id);
      EXPECT_EQ(item.id, want.id);
      EXPECT_EQ(item.className, want.className);
      EXPECT_EQ(item.style, want.style);
      EXPECT_EQ(item.exStyle, 0u);
      EXPECT_EQ(item.x, want.x);
      EXPECT_EQ(item.y, want.y);
      EXPECT_EQ(item.cx, want.cx);
      EXPECT_EQ(item.cy, want.cy);
      EXPECT_EQ(item.text, "") << "the templates carry no texts of their own";
    }
  }
}

INT_PTR CALLBACK PlainDialogProc(HWND, UINT message, WPARAM, LPARAM) {
  return message == WM_INITDIALOG;
}

DLGPROC ProcedureOf(const std::string& name) {
  if (name == "ChooseDirDlg") return ChooseDirDialogProc;
  if (name == "LicenseDlg") return LicenseDialogProc;
  if (name == "ReadmeDlg") return ReadmeDialogProc;
  if (name == "LanguageDlg") return LanguageDialogProc;
  return PlainDialogProc;  // the progress dialog's procedure lives with the progress window
}

// The dialog manager converts a control's position and its size each on its own, so the far
// edges are left + width and top + height in pixels.
RECT DialogUnits(HWND dialog, int x, int y, int cx, int cy) {
  RECT units = {x, y, cx, cy};
  MapDialogRect(dialog, &units);
  return {units.left, units.top, units.left + units.right, units.top + units.bottom};
}

RECT RectInClient(HWND dialog, HWND control) {
  RECT rect = {-1, -1, -1, -1};
  GetWindowRect(control, &rect);
  MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&rect), 2);
  return rect;
}

void ExpectRect(const RECT& actual, const RECT& expected) {
  EXPECT_EQ(actual.left, expected.left);
  EXPECT_EQ(actual.top, expected.top);
  EXPECT_EQ(actual.right, expected.right);
  EXPECT_EQ(actual.bottom, expected.bottom);
}

class DialogGeometryTest : public testing::Test {
 protected:
  void SetUp() override { InstanceHandle = GetModuleHandleA(nullptr); }
  LanguageTables tables_{{"English", "Deutsch"}};
};

TEST_F(DialogGeometryTest, CreatedDialogsHaveTheTemplatesFrameFontAndControls) {
  HDC screen = GetDC(nullptr);
  int pixelsPerInch = GetDeviceCaps(screen, LOGPIXELSY);
  ReleaseDC(nullptr, screen);
  for (const ExpectedDialog& dialogWant : ExpectedDialogs()) {
    SCOPED_TRACE(dialogWant.name);
    HWND dialog = CreateDialogParamA(InstanceHandle, dialogWant.name, nullptr, ProcedureOf(dialogWant.name),
                                     reinterpret_cast<LPARAM>("text"));
    ASSERT_NE(dialog, nullptr);
    // The system adds the 3-D look (a program for Windows 4.0 and later) and, to a window
    // with a caption, clipping of its siblings.
    EXPECT_EQ(uint32_t(GetWindowLongA(dialog, GWL_STYLE)),
              kDialogStyle | DS_3DLOOK | WS_CLIPSIBLINGS);

    HFONT font = reinterpret_cast<HFONT>(SendMessageA(dialog, WM_GETFONT, 0, 0));
    LOGFONTA logFont = {};
    ASSERT_EQ(GetObjectA(font, sizeof logFont, &logFont), int(sizeof logFont));
    EXPECT_STREQ(logFont.lfFaceName, "Arial");
    EXPECT_EQ(logFont.lfHeight, -MulDiv(10, pixelsPerInch, 72));

    RECT client = {-1, -1, -1, -1};
    GetClientRect(dialog, &client);
    ExpectRect(client, DialogUnits(dialog, 0, 0, dialogWant.cx, dialogWant.cy));

    for (const ExpectedControl& want : dialogWant.controls) {
      SCOPED_TRACE(want.id);
      HWND control = GetDlgItem(dialog, want.id);
      ASSERT_NE(control, nullptr);
      char className[32] = "(sentinel)";
      GetClassNameA(control, className, sizeof className);
      EXPECT_EQ(lstrcmpiA(className, want.className), 0) << className;
      RECT expected = DialogUnits(dialog, want.x, want.y, want.cx, want.cy);
      RECT actual = RectInClient(dialog, control);
      if (want.id == IDC_LANGUAGE_LIST) {
        // A list box shows whole lines: its height may lose up to one line's height.
        int line = int(SendMessageA(control, LB_GETITEMHEIGHT, 0, 0));
        EXPECT_LE(actual.bottom, expected.bottom);
        EXPECT_GE(actual.bottom, expected.bottom - line);
        actual.bottom = expected.bottom;
      }
      ExpectRect(actual, expected);
    }
    DestroyWindow(dialog);
  }
}

TEST(CentreWindow, PlacesTheWindowInTheMiddleOfTheScreenKeepingItsSize) {
  const int sw = GetSystemMetrics(SM_CXSCREEN);
  const int sh = GetSystemMetrics(SM_CYSCREEN);
  const struct {
    int width, height;
    int x, y;  // expected position
  } cases[] = {
      {200, 100, (sw - 200) / 2, (sh - 100) / 2},
      {201, 101, (sw - 201) / 2, (sh - 101) / 2},  // odd leftovers round down
      {sw, sh, 0, 0},
      {sw + 300, 120, 0, (sh - 120) / 2},          // wider than the screen: at the left edge
      {150, sh + 40, (sw - 150) / 2, 0},           // taller: at the top
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.width << " x " << c.height);
    HWND window = CreateWindowExA(0, "STATIC", "", WS_POPUP, 7, 9, c.width, c.height, nullptr,
                                  nullptr, GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(window, nullptr);
    RECT before = {};
    GetWindowRect(window, &before);
    CentreWindow(window);
    RECT after = {-1, -1, -1, -1};
    GetWindowRect(window, &after);
    EXPECT_EQ(after.left, c.x);
    EXPECT_EQ(after.top, c.y);
    EXPECT_EQ(after.right - after.left, before.right - before.left);
    EXPECT_EQ(after.bottom - after.top, before.bottom - before.top);
    DestroyWindow(window);
  }
}

TEST_F(DialogGeometryTest, EveryDialogCentresItselfWhenItOpens) {
  for (const char* name : {"ChooseDirDlg", "LicenseDlg", "ReadmeDlg", "LanguageDlg"}) {
    SCOPED_TRACE(name);
    HWND dialog = CreateDialogParamA(InstanceHandle, name, nullptr, ProcedureOf(name),
                                     reinterpret_cast<LPARAM>("text"));
    ASSERT_NE(dialog, nullptr);
    RECT rect = {};
    GetWindowRect(dialog, &rect);
    EXPECT_EQ(rect.left, (GetSystemMetrics(SM_CXSCREEN) - (rect.right - rect.left)) / 2);
    EXPECT_EQ(rect.top, (GetSystemMetrics(SM_CYSCREEN) - (rect.bottom - rect.top)) / 2);
    DestroyWindow(dialog);
  }
}

}  // namespace
