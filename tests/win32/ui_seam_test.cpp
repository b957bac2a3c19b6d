// The UI seam: scripted answers for message boxes and dialogs, and the transcript.
#include <gtest/gtest.h>
#include <windows.h>

#include <fstream>
#include <string>
#include <vector>

#include "tests/support/ui_transcript.h"
#include "ui/scripted_ui.h"
#include "ui/ui_seam.h"

namespace {

constexpr int kCheckButton = 1234;
constexpr int kEditControl = 100;

// Gives the seam an answers file for one test and takes it away afterwards.
class ScriptedUiTest : public testing::Test {
 protected:
  void SetUp() override { ClearUiTranscript(); }
  void TearDown() override {
    SetEnvironmentVariableA("QUORVEX_UI_ANSWERS", nullptr);
    DeleteFileA(answersPath_.c_str());
    ReloadScriptedUi();
    ClearUiTranscript();
  }
  void Answer(const std::vector<std::string>& answers) {
    std::ofstream out(answersPath_, std::ios::binary | std::ios::trunc);
    for (const std::string& answer : answers) out << answer << "\r\n";
    out.close();
    SetEnvironmentVariableA("QUORVEX_UI_ANSWERS", answersPath_.c_str());
    ReloadScriptedUi();
  }
  const std::string answersPath_ = UiTranscriptPath() + ".answers";
};

TEST(DefaultMessageBoxButton, IsTheButtonEnterWouldPress) {
  const struct {
    unsigned style;
    int button;
  } cases[] = {
      {MB_OK, IDOK},
      {MB_OK | MB_ICONSTOP | MB_TASKMODAL, IDOK},
      {MB_OKCANCEL, IDOK},
      {MB_OKCANCEL | MB_DEFBUTTON2, IDCANCEL},
      {MB_ABORTRETRYIGNORE | MB_DEFBUTTON2, IDRETRY},
      {MB_ABORTRETRYIGNORE | MB_DEFBUTTON3, IDIGNORE},
      {MB_YESNOCANCEL, IDYES},
      {MB_YESNOCANCEL | MB_DEFBUTTON3, IDCANCEL},
      {MB_YESNO | MB_DEFBUTTON2, IDNO},
      {MB_YESNO | MB_DEFBUTTON3, IDYES},  // no third button: the first is the default
      {MB_RETRYCANCEL, IDRETRY},
      {MB_CANCELTRYCONTINUE | MB_DEFBUTTON2, IDTRYAGAIN},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.style);
    EXPECT_EQ(DefaultMessageBoxButton(c.style), c.button);
  }
}

TEST_F(ScriptedUiTest, BoxesTakeTheAnswersInOrderThenTheirDefault) {
  Answer({"7", "", "2"});
  EXPECT_EQ(ShowMessageBox(nullptr, "first", "Q", MB_YESNO), 7);
  EXPECT_EQ(ShowMessageBox(nullptr, "second", "Q", MB_YESNO | MB_DEFBUTTON2), IDNO);
  EXPECT_EQ(ShowMessageBox(nullptr, "third", "Q", MB_OKCANCEL), 2);
  EXPECT_EQ(ShowMessageBox(nullptr, "fourth", "Q", MB_YESNO), IDYES);
  std::vector<std::string> expected = {
      "box\tnone\t0x00000004\tQ\tfirst\t7",
      "box\tnone\t0x00000104\tQ\tsecond\t7",
      "box\tnone\t0x00000001\tQ\tthird\t2",
      "box\tnone\t0x00000004\tQ\tfourth\t6",
  };
  EXPECT_EQ(ReadUiTranscript(), expected);
}

TEST_F(ScriptedUiTest, TranscriptEscapesControlCharactersAndBackslashes) {
  ShowMessageBox(nullptr, "C:\\dir\r\nline\ttab", "Cap\\tion", MB_OK);
  std::vector<std::string> expected = {"box\tnone\t0x00000000\tCap\\\\tion\tC:\\\\dir\\r\\nline\\ttab\t1"};
  EXPECT_EQ(ReadUiTranscript(), expected);
}

// The dialogs' own procedure: OK reads the edit field, Cancel ends, Check never ends.
std::string typedText;
int checks = 0;

INT_PTR CALLBACK TestDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG) {
    SetDlgItemTextA(dialog, kEditControl, reinterpret_cast<const char*>(lParam));
    return TRUE;
  }
  if (message != WM_COMMAND) return FALSE;
  switch (LOWORD(wParam)) {
    case IDOK: {
      char text[MAX_PATH] = {};
      GetDlgItemTextA(dialog, kEditControl, text, sizeof text);
      typedText = text;
      EndDialog(dialog, IDOK);
      return TRUE;
    }
    case IDCANCEL:
      EndDialog(dialog, IDCANCEL);
      return TRUE;
    case kCheckButton:
      ++checks;
      return TRUE;
  }
  return FALSE;
}

INT_PTR RunDialog(const char* name) {
  typedText = "(not read)";
  checks = 0;
  return ShowDialog(GetModuleHandleA(nullptr), name, nullptr, TestDialogProc,
                    reinterpret_cast<LPARAM>("initial"));
}

TEST_F(ScriptedUiTest, DialogsPressTheButtonsTheScriptNames) {
  Answer({"2", "1\tC:\\Typed Dir", "1234", "1234", "1"});
  EXPECT_EQ(RunDialog("TestDlg"), IDCANCEL);
  EXPECT_EQ(typedText, "(not read)");

  EXPECT_EQ(RunDialog("TestDlg"), IDOK);
  EXPECT_EQ(typedText, "C:\\Typed Dir");

  // A button that leaves the dialog open lets the next answer act.
  EXPECT_EQ(RunDialog("TestDlg"), IDOK);
  EXPECT_EQ(checks, 2);
  EXPECT_EQ(typedText, "initial");

  std::vector<std::string> expected = {
      "dialog\tTestDlg\tnone\t2",
      "dialog\tTestDlg\tnone\t1",
      "dialog\tTestDlg\tnone\t1",
  };
  EXPECT_EQ(ReadUiTranscript(), expected);
}

TEST_F(ScriptedUiTest, DialogsWithoutAnswersEndWithTheirDefaultPushButton) {
  Answer({});
  EXPECT_EQ(RunDialog("TestDlg"), IDOK);
  EXPECT_EQ(typedText, "initial");
  // The default button is pressed even when another push button comes first.
  checks = 0;
  EXPECT_EQ(RunDialog("DefaultLastDlg"), IDOK);
  EXPECT_EQ(checks, 0);
  checks = 0;
  // A first button that never ends its dialog is pressed a few times, then the dialog is ended
  // for it, so that a test cannot hang on a window nobody sees.
  EXPECT_EQ(RunDialog("StubbornDlg"), kCheckButton);
  EXPECT_GE(checks, 1);
  std::vector<std::string> expected = {
      "dialog\tTestDlg\tnone\t1",
      "dialog\tDefaultLastDlg\tnone\t1",
      "dialog\tStubbornDlg\tnone\t1234",
  };
  EXPECT_EQ(ReadUiTranscript(), expected);
}

}  // namespace
