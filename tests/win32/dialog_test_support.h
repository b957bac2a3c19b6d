// Helpers shared by the tests of the engine's dialogs: language tables filled with known texts,
// scripted answers for the UI seam, dialogs run modally under the test's control, and the
// dialog templates as stored in this program's resources.
#pragma once

#include <gtest/gtest.h>
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace dialog_test {

// Language tables for one test: each language's text of id n is "<language name> <n>"
// unless Set gives another. The tables are emptied again, CurrentLanguage set back to 0 and
// DisplayTitle cleared when the object goes.
class LanguageTables {
 public:
  static constexpr int kStringCount = 72;
  explicit LanguageTables(const std::vector<std::string>& names = {"English"});
  ~LanguageTables();
  LanguageTables(const LanguageTables&) = delete;
  LanguageTables& operator=(const LanguageTables&) = delete;

  void Set(int id, const std::string& text, int language = 0);
  // The default text of an id in a language.
  static std::string Default(const std::string& languageName, int id);
};

// Answers for the UI seam's scripted boxes and dialogs, one a line; removed again (and the
// transcript emptied) when the object goes.
class ScriptedAnswers {
 public:
  ScriptedAnswers();
  ~ScriptedAnswers();
  ScriptedAnswers(const ScriptedAnswers&) = delete;
  ScriptedAnswers& operator=(const ScriptedAnswers&) = delete;
  void Answer(const std::vector<std::string>& answers);

 private:
  std::string path_;
};

// Transcript lines as the UI seam writes them.
std::string DialogLine(const std::string& name, INT_PTR result, const char* owner = "none");
std::string BoxLine(const std::string& caption, const std::string& text, unsigned style,
                    int answer, const char* owner = "none");
// A non-fatal error box with the default title (string 21 of the fixture's tables).
std::string ErrorLine(const std::string& text, const std::string& title = "English 21");

// What RunModalDialog returns for a dialog that its driver left open.
constexpr INT_PTR kLeftOpen = -77;

// Runs the dialog template `name` of this program with DialogBoxParamA and proc. Once the
// dialog is up, drive is called with it on this thread (inside the modal loop); a dialog still
// open two seconds after drive has returned is ended with kLeftOpen, so a test never waits on a
// window nobody sees. Returns the dialog's result.
INT_PTR RunModalDialog(const char* name, DLGPROC proc, LPARAM param,
                       const std::function<void(HWND)>& drive);

// A click on a dialog's button, as the button itself would send it.
void Click(HWND dialog, int id);
std::string ItemText(HWND dialog, int id);
std::string WindowText(HWND window);

// A dialog template as stored in the resources (DLGTEMPLATE form).
struct TemplateItem {
  uint32_t style;
  uint32_t exStyle;
  int x, y, cx, cy;
  int id;
  std::string className;  // predefined class ordinals are given by name ("BUTTON")
  std::string text;
};
struct DialogTemplate {
  bool found = false;
  uint32_t style = 0;
  uint32_t exStyle = 0;
  int x = 0, y = 0, cx = 0, cy = 0;
  std::string menu;
  std::string className;
  std::string caption;
  int pointSize = 0;
  std::string font;
  std::vector<TemplateItem> items;
};
// The template of name in language (US English unless given) of this program.
DialogTemplate LoadDialogTemplate(const char* name,
                                  WORD language = MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US));

}  // namespace dialog_test
