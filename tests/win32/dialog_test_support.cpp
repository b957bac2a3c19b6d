#include "tests/win32/dialog_test_support.h"

#include <fstream>

#include "config/language_strings.h"
#include "tests/support/ui_transcript.h"
#include "ui/scripted_ui.h"

namespace dialog_test {

LanguageTables::LanguageTables(const std::vector<std::string>& names) {
  LanguageNames.RemoveAll();
  StringTable.RemoveAll();
  for (const std::string& name : names) LanguageNames.Append(String(name.c_str()));
  for (int id = 0; id < kStringCount; ++id) {
    Vector<String>& row = StringTable.AppendDefault();
    for (const std::string& name : names) row.Append(String(Default(name, id).c_str()));
  }
  CurrentLanguage = 0;
  DisplayTitle.Clear();
}

LanguageTables::~LanguageTables() {
  LanguageNames.RemoveAll();
  StringTable.RemoveAll();
  CurrentLanguage = 0;
  DisplayTitle.Clear();
}

void LanguageTables::Set(int id, const std::string& text, int language) {
  StringTable[id][language] = text.c_str();
}

std::string LanguageTables::Default(const std::string& languageName, int id) {
  return languageName + " " + std::to_string(id);
}

ScriptedAnswers::ScriptedAnswers() : path_(UiTranscriptPath() + ".answers") {
  ClearUiTranscript();
}

ScriptedAnswers::~ScriptedAnswers() {
  SetEnvironmentVariableA("QUORVEX_UI_ANSWERS", nullptr);
  DeleteFileA(path_.c_str());
  ReloadScriptedUi();
  ClearUiTranscript();
}

void ScriptedAnswers::Answer(const std::vector<std::string>& answers) {
  std::ofstream out(path_, std::ios::binary | std::ios::trunc);
  for (const std::string& answer : answers) out << answer << "\r\n";
  out.close();
  SetEnvironmentVariableA("QUORVEX_UI_ANSWERS", path_.c_str());
  ReloadScriptedUi();
}

std::string DialogLine(const std::string& name, INT_PTR result, const char* owner) {
  return "dialog\t" + name + "\t" + owner + "\t" + std::to_string(int(result));
}

std::string BoxLine(const std::string& caption, const std::string& text, unsigned style,
                    int answer, const char* owner) {
  char styleText[16];
  wsprintfA(styleText, "0x%08X", style);
  return std::string("box\t") + owner + "\t" + styleText + "\t" + TranscriptEscaped(caption) +
         "\t" + TranscriptEscaped(text) + "\t" + std::to_string(answer);
}

std::string ErrorLine(const std::string& text, const std::string& title) {
  return BoxLine(title, text, MB_ICONSTOP | MB_OK, IDOK);
}

namespace {

constexpr UINT kDriveMessage = WM_APP + 0x4D4D;
constexpr UINT_PTR kLeftOpenTimer = 0x4D4D;
constexpr UINT kLeftOpenMilliseconds = 2000;

struct ModalRun {
  DLGPROC proc;
  const std::function<void(HWND)>* drive;
};
ModalRun* currentRun = nullptr;

INT_PTR CALLBACK DrivenDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  ModalRun* run = currentRun;
  switch (message) {
    case WM_INITDIALOG: {
      INT_PTR result = run->proc(dialog, message, wParam, lParam);
      PostMessageA(dialog, kDriveMessage, 0, 0);
      return result;
    }
    case kDriveMessage:
      (*run->drive)(dialog);
      // Counted from the driver's end, so that a driver that waits on other windows (the
      // folder browser) is not cut short.
      SetTimer(dialog, kLeftOpenTimer, kLeftOpenMilliseconds, nullptr);
      return TRUE;
    case WM_TIMER:
      if (wParam != kLeftOpenTimer) break;
      KillTimer(dialog, kLeftOpenTimer);
      EndDialog(dialog, kLeftOpen);
      return TRUE;
  }
  return run->proc(dialog, message, wParam, lParam);
}

}  // namespace

INT_PTR RunModalDialog(const char* name, DLGPROC proc, LPARAM param,
                       const std::function<void(HWND)>& drive) {
  ModalRun run = {proc, &drive};
  ModalRun* outer = currentRun;
  currentRun = &run;
  INT_PTR result = DialogBoxParamA(GetModuleHandleA(nullptr), name, nullptr, DrivenDialogProc, param);
  currentRun = outer;
  return result;
}

void Click(HWND dialog, int id) {
  SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), LPARAM(GetDlgItem(dialog, id)));
}

std::string WindowText(HWND window) {
  char text[4096] = "(sentinel)";
  int n = GetWindowTextA(window, text, sizeof text);
  return std::string(text, n > 0 ? size_t(n) : 0);
}

std::string ItemText(HWND dialog, int id) { return WindowText(GetDlgItem(dialog, id)); }

namespace {

// Reads a DLGTEMPLATE field by field; every read checks the resource's end.
class TemplateReader {
 public:
  TemplateReader(const BYTE* data, size_t size) : data_(data), size_(size) {}
  bool ok() const { return ok_; }
  uint16_t Word() {
    if (pos_ + 2 > size_) {
      ok_ = false;
      return 0;
    }
    uint16_t v = uint16_t(data_[pos_] | (data_[pos_ + 1] << 8));
    pos_ += 2;
    return v;
  }
  uint32_t Dword() {
    uint32_t low = Word();
    return low | (uint32_t(Word()) << 16);
  }
  // A name or ordinal: 0 = none, 0xFFFF + ordinal, or a NUL-terminated UTF-16 text (ASCII here).
  std::string NameOrOrdinal() {
    uint16_t first = Word();
    if (first == 0xFFFF) return "#" + std::to_string(Word());
    return TextFrom(first);
  }
  std::string Text() { return TextFrom(Word()); }
  void AlignToDword() { pos_ = (pos_ + 3) & ~size_t(3); }
  void Skip(size_t n) { pos_ += n; }

 private:
  std::string TextFrom(uint16_t ch) {
    std::string text;
    while (ok_ && ch != 0) {
      text += ch < 0x80 ? char(ch) : '?';
      ch = Word();
    }
    return text;
  }
  const BYTE* data_;
  size_t size_;
  size_t pos_ = 0;
  bool ok_ = true;
};

std::string ClassName(const std::string& stored) {
  static const char* const kPredefined[] = {"BUTTON", "EDIT", "STATIC", "LISTBOX", "SCROLLBAR",
                                            "COMBOBOX"};
  if (stored.size() > 1 && stored[0] == '#') {
    int atom = std::stoi(stored.substr(1));
    if (atom >= 0x80 && atom <= 0x85) return kPredefined[atom - 0x80];
    return stored;
  }
  std::string upper = stored;
  for (char& ch : upper) ch = char(toupper(static_cast<unsigned char>(ch)));
  return upper;
}

}  // namespace

DialogTemplate LoadDialogTemplate(const char* name, WORD language) {
  DialogTemplate result;
  HMODULE module = GetModuleHandleA(nullptr);
  HRSRC info = FindResourceExA(module, MAKEINTRESOURCEA(5), name, language);  // RT_DIALOG
  if (info == nullptr) return result;
  HGLOBAL loaded = LoadResource(module, info);
  const BYTE* data = static_cast<const BYTE*>(LockResource(loaded));
  if (data == nullptr) return result;
  TemplateReader in(data, SizeofResource(module, info));
  result.style = in.Dword();
  result.exStyle = in.Dword();
  int count = in.Word();
  result.x = int16_t(in.Word());
  result.y = int16_t(in.Word());
  result.cx = int16_t(in.Word());
  result.cy = int16_t(in.Word());
  result.menu = in.NameOrOrdinal();
  result.className = in.NameOrOrdinal();
  result.caption = in.Text();
  if (result.style & DS_SETFONT) {
    result.pointSize = in.Word();
    result.font = in.Text();
  }
  for (int i = 0; i < count && in.ok(); ++i) {
    in.AlignToDword();
    TemplateItem item;
    item.style = in.Dword();
    item.exStyle = in.Dword();
    item.x = int16_t(in.Word());
    item.y = int16_t(in.Word());
    item.cx = int16_t(in.Word());
    item.cy = int16_t(in.Word());
    item.id = in.Word();
    item.className = ClassName(in.NameOrOrdinal());
    item.text = in.NameOrOrdinal();
    in.Skip(in.Word());  // creation data
    result.items.push_back(item);
  }
  result.found = in.ok();
  return result;
}

}  // namespace dialog_test
