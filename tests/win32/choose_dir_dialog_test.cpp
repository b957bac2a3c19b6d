// The directory dialog: its texts, its buttons and the folder browser behind its browse button.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

#include "config/language_strings.h"
#include "config/settings.h"
#include "platform/path_text.h"
#include "res/dialog_ids.h"
#include "tests/support/ui_transcript.h"
#include "tests/win32/dialog_test_support.h"
#include "tests/win32/file_test_support.h"
#include "ui/browse_for_folder.h"
#include "ui/choose_dir_dialog.h"
#include "ui/windows.h"

namespace {

using dialog_test::Click;
using dialog_test::DialogLine;
using dialog_test::ItemText;
using dialog_test::LanguageTables;
using dialog_test::RunModalDialog;
using dialog_test::ScriptedAnswers;
using dialog_test::WindowText;

class ChooseDirDialogTest : public testing::Test {
 protected:
  void SetUp() override {
    InstanceHandle = GetModuleHandleA(nullptr);
    InstallDir = "C:\\Program Files\\Sample Product";
  }
  void TearDown() override {
    InstallDir.Clear();
    InstanceHandle = nullptr;
  }
  LanguageTables tables_{{"English", "Deutsch"}};
};

TEST_F(ChooseDirDialogTest, OpensWithTheTextsOfTheCurrentLanguageAndTheDirectory) {
  CurrentLanguage = 1;
  HWND dialog = CreateDialogParamA(InstanceHandle, "ChooseDirDlg", nullptr, ChooseDirDialogProc, 0);
  ASSERT_NE(dialog, nullptr);
  EXPECT_EQ(WindowText(dialog), "Deutsch 24");
  EXPECT_EQ(ItemText(dialog, IDC_PROMPT), "Deutsch 11");
  EXPECT_EQ(ItemText(dialog, IDC_DIRECTORY_FIELD), "C:\\Program Files\\Sample Product");
  EXPECT_EQ(ItemText(dialog, IDC_BROWSE_BUTTON), "Deutsch 52");
  EXPECT_EQ(ItemText(dialog, IDC_FIRST_BUTTON), "Deutsch 48");
  EXPECT_EQ(ItemText(dialog, IDC_SECOND_BUTTON), "Deutsch 49");
  // Typing stops at 259 characters, room for a full path and its terminator.
  EXPECT_EQ(SendDlgItemMessageA(dialog, IDC_DIRECTORY_FIELD, EM_GETLIMITTEXT, 0, 0), 259);
  DestroyWindow(dialog);
}

TEST_F(ChooseDirDialogTest, OkStoresTheFieldAndEndsWithOneCancelEndsWithZero) {
  INT_PTR result = RunModalDialog("ChooseDirDlg", ChooseDirDialogProc, 0, [](HWND dialog) {
    SetDlgItemTextA(dialog, IDC_DIRECTORY_FIELD, "D:\\Typed\\Here");
    Click(dialog, IDC_FIRST_BUTTON);
  });
  EXPECT_EQ(result, 1);
  EXPECT_STREQ(InstallDir.CStr(), "D:\\Typed\\Here");

  result = RunModalDialog("ChooseDirDlg", ChooseDirDialogProc, 0, [](HWND dialog) {
    SetDlgItemTextA(dialog, IDC_DIRECTORY_FIELD, "E:\\Not Taken");
    Click(dialog, IDC_SECOND_BUTTON);
  });
  EXPECT_EQ(result, 0);
  EXPECT_STREQ(InstallDir.CStr(), "D:\\Typed\\Here");
}

TEST_F(ChooseDirDialogTest, OnlyAPlainClickOfOkEndsTheDialog) {
  INT_PTR result = RunModalDialog("ChooseDirDlg", ChooseDirDialogProc, 0, [](HWND dialog) {
    SetDlgItemTextA(dialog, IDC_DIRECTORY_FIELD, "D:\\Early");
    // Another notification from the OK button, and the Enter key's IDOK, leave it open.
    SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDC_FIRST_BUTTON, BN_DOUBLECLICKED),
                 LPARAM(GetDlgItem(dialog, IDC_FIRST_BUTTON)));
    SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    SetDlgItemTextA(dialog, IDC_DIRECTORY_FIELD, "D:\\Late");
    Click(dialog, IDC_FIRST_BUTTON);
  });
  EXPECT_EQ(result, 1);
  EXPECT_STREQ(InstallDir.CStr(), "D:\\Late");
}

TEST_F(ChooseDirDialogTest, ShowChooseDirDialogIsFalseOnlyForCancel) {
  ScriptedAnswers answers;
  answers.Answer({"1001\tC:\\From The User", "1003\tC:\\Cancelled"});
  EXPECT_TRUE(ShowChooseDirDialog());
  EXPECT_STREQ(InstallDir.CStr(), "C:\\From The User");
  EXPECT_FALSE(ShowChooseDirDialog());
  EXPECT_STREQ(InstallDir.CStr(), "C:\\From The User");

  // A dialog that cannot be created (no such template in this module) goes on unchanged.
  InstanceHandle = GetModuleHandleA("kernel32.dll");
  EXPECT_TRUE(ShowChooseDirDialog());
  EXPECT_STREQ(InstallDir.CStr(), "C:\\From The User");

  std::vector<std::string> expected = {DialogLine("ChooseDirDlg", 1), DialogLine("ChooseDirDlg", 0),
                                       DialogLine("ChooseDirDlg", -1)};
  EXPECT_EQ(ReadUiTranscript(), expected);
}

TEST_F(ChooseDirDialogTest, TheDialogIsOwnedByTheBackgroundWindow) {
  ScriptedAnswers answers;
  answers.Answer({"1001"});
  BackgroundWindow = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                     InstanceHandle, nullptr);
  ASSERT_NE(BackgroundWindow, nullptr);
  EXPECT_TRUE(ShowChooseDirDialog());
  DestroyWindow(BackgroundWindow);
  BackgroundWindow = nullptr;
  std::vector<std::string> expected = {DialogLine("ChooseDirDlg", 1, "background")};
  EXPECT_EQ(ReadUiTranscript(), expected);
}

// The shell's folder browser, as the browse button opens it: found among this thread's windows
// by a timer while it runs, checked, and answered with one of its buttons.
struct BrowserVisit {
  HWND owner = nullptr;
  int answer = IDCANCEL;
  std::string waitFor;  // the folder name to see selected before answering; empty: none
  bool seen = false;
  RECT rect = {};
  std::string selected;            // the name of the selected folder when answered
  std::vector<std::string> texts;  // of its child windows
};
BrowserVisit* visit = nullptr;
int ticks = 0;
// The browser fills its folder tree after it appears: the answer waits for the folder to be
// selected, but no longer than this many ticks.
constexpr int kMostTicks = 40;
constexpr int kTickMilliseconds = 100;

BOOL CALLBACK CollectText(HWND child, LPARAM) {
  visit->texts.push_back(WindowText(child));
  return TRUE;
}

constexpr char kNothingSelected[] = "(none)";

std::string SelectedFolderName(HWND browser) {
  HWND tree = FindWindowExA(browser, nullptr, "SysTreeView32", nullptr);
  if (tree == nullptr) return "(no tree)";
  auto item = reinterpret_cast<HTREEITEM>(SendMessageA(tree, TVM_GETNEXTITEM, TVGN_CARET, 0));
  char text[MAX_PATH] = {};
  lstrcpyA(text, kNothingSelected);
  TVITEMA info = {};
  info.mask = TVIF_TEXT;
  info.hItem = item;
  info.pszText = text;
  info.cchTextMax = sizeof text;
  if (item) SendMessageA(tree, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&info));
  return text;
}

BOOL CALLBACK FindBrowser(HWND window, LPARAM) {
  if (window == visit->owner || !IsWindowVisible(window)) return TRUE;
  if (GetWindow(window, GW_OWNER) != visit->owner) return TRUE;
  visit->selected = SelectedFolderName(window);
  bool ready = ticks >= kMostTicks || (visit->waitFor.empty() ? ticks >= 3
                                       : lstrcmpiA(visit->selected.c_str(), visit->waitFor.c_str()) == 0);
  if (!ready) return FALSE;
  visit->seen = true;
  GetWindowRect(window, &visit->rect);
  EnumChildWindows(window, CollectText, 0);
  PostMessageA(window, WM_COMMAND, MAKEWPARAM(visit->answer, BN_CLICKED), 0);
  return FALSE;
}

void CALLBACK LookForBrowser(HWND, UINT, UINT_PTR timer, DWORD) {
  ++ticks;
  EnumThreadWindows(GetCurrentThreadId(), FindBrowser, 0);
  if (visit->seen) KillTimer(nullptr, timer);
}

UINT_PTR WatchForBrowser(BrowserVisit& seen) {
  visit = &seen;
  ticks = 0;
  return SetTimer(nullptr, 0, kTickMilliseconds, LookForBrowser);
}

void StopWatching(UINT_PTR timer) {
  KillTimer(nullptr, timer);
  visit = nullptr;
}

// Wine's browser now and then fails to expand its tree to the folder it is asked to select,
// leaving nothing selected; a test that needs the selection then gets one more try.
constexpr int kBrowseAttempts = 2;

// Presses the browse button with start in the field and answer for the browser; returns the
// field's text afterwards.
std::string BrowseOnce(const std::string& start, int answer, BrowserVisit& seen) {
  std::string field;
  INT_PTR result = RunModalDialog("ChooseDirDlg", ChooseDirDialogProc, 0, [&](HWND dialog) {
    SetDlgItemTextA(dialog, IDC_DIRECTORY_FIELD, start.c_str());
    seen.owner = dialog;
    seen.answer = answer;
    UINT_PTR timer = WatchForBrowser(seen);
    Click(dialog, IDC_BROWSE_BUTTON);  // returns when the browser has closed
    StopWatching(timer);
    field = ItemText(dialog, IDC_DIRECTORY_FIELD);
    Click(dialog, IDC_SECOND_BUTTON);
  });
  EXPECT_EQ(result, 0);
  return field;
}

std::string Browse(const std::string& start, int answer, BrowserVisit& seen) {
  std::string field;
  for (int attempt = 0; attempt < kBrowseAttempts; ++attempt) {
    seen = BrowserVisit{seen.owner, answer, seen.waitFor};
    field = BrowseOnce(start, answer, seen);
    if (seen.waitFor.empty() || seen.selected != kNothingSelected) break;
  }
  return field;
}

// The text typed in another letter case and with a trailing backslash, so that a field the
// browser did not change cannot pass for its answer.
std::string AsTyped(const std::string& path) {
  std::string typed = path + "\\";
  for (char& ch : typed) ch = char(toupper(static_cast<unsigned char>(ch)));
  return typed;
}

TEST_F(ChooseDirDialogTest, BrowsePreselectsTheFieldCentresTheBrowserAndTakesItsChoice) {
  file_test::ScratchDir scratch;
  std::string folder = scratch / "Chosen";
  ASSERT_TRUE(CreateDirectoryA(folder.c_str(), nullptr));
  BrowserVisit seen;
  seen.waitFor = "Chosen";
  std::string field = Browse(AsTyped(folder), IDOK, seen);
  ASSERT_TRUE(seen.seen) << "the folder browser did not open";
  EXPECT_EQ(seen.selected, "Chosen");
  EXPECT_EQ(field, folder);
  EXPECT_EQ(seen.rect.left, (GetSystemMetrics(SM_CXSCREEN) - (seen.rect.right - seen.rect.left)) / 2);
  EXPECT_EQ(seen.rect.top, (GetSystemMetrics(SM_CYSCREEN) - (seen.rect.bottom - seen.rect.top)) / 2);
  bool promptShown = false;
  for (const std::string& text : seen.texts) promptShown |= text == "English 11";
  EXPECT_TRUE(promptShown) << "the browser's prompt is string 11";
}

TEST_F(ChooseDirDialogTest, CancellingTheBrowserLeavesTheFieldUnchanged) {
  file_test::ScratchDir scratch;
  BrowserVisit seen;
  std::string start = scratch.Path() + "\\typed but not there";
  EXPECT_EQ(Browse(start, IDCANCEL, seen), start);
  EXPECT_TRUE(seen.seen) << "the folder browser did not open";
}

TEST_F(ChooseDirDialogTest, BrowseForFolderGivesTheChosenFolder) {
  file_test::ScratchDir scratch;
  std::string folder = scratch / "Picked";
  ASSERT_TRUE(CreateDirectoryA(folder.c_str(), nullptr));
  String path;
  BrowserVisit seen;
  bool chosen = false;
  for (int attempt = 0; attempt < kBrowseAttempts; ++attempt) {
    path = AsTyped(folder).c_str();
    seen = BrowserVisit{nullptr, IDOK, "Picked"};
    UINT_PTR timer = WatchForBrowser(seen);
    chosen = BrowseForFolder(nullptr, path);
    StopWatching(timer);
    if (seen.selected != kNothingSelected) break;
  }
  EXPECT_TRUE(chosen);
  EXPECT_TRUE(seen.seen);
  EXPECT_EQ(seen.selected, "Picked");
  EXPECT_STREQ(path.CStr(), folder.c_str());
}

}  // namespace
