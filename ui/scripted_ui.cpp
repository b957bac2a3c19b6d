#ifdef QUORVEX_TEST_SEAM
#include "ui/scripted_ui.h"

#include "core/string.h"
#include "ui/windows.h"

namespace {

constexpr char kTranscriptVariable[] = "QUORVEX_UI_TRANSCRIPT";
constexpr char kAnswersVariable[] = "QUORVEX_UI_ANSWERS";
constexpr char kScriptProperty[] = "QuorvexDialogScript";
constexpr UINT kAnswerMessage = WM_APP + 0x5151;
// A dialog that ignores its default button this many times in a row is ended by force, so that
// a script that runs out never leaves a test waiting on a window nobody can see.
constexpr int kUnansweredAttempts = 3;

String EnvironmentValue(const char* name) {
  char value[1024];
  DWORD n = GetEnvironmentVariableA(name, value, sizeof value);
  return n > 0 && n < sizeof value ? String(value, int(n)) : String();
}

String ReadWholeFile(const String& path) {
  String text;
  HANDLE file = CreateFileA(path.CStr(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return text;
  char block[4096];
  DWORD got = 0;
  while (ReadFile(file, block, sizeof block, &got, nullptr) && got > 0) text.Append(block, int(got));
  CloseHandle(file);
  return text;
}

struct Script {
  bool loaded = false;
  String transcriptPath;
  bool hasAnswers = false;
  String answers;  // consumed line by line
};

Script loadedScript;

Script& TheScript() {
  Script& script = loadedScript;
  if (!script.loaded) {
    script.loaded = true;
    script.transcriptPath = EnvironmentValue(kTranscriptVariable);
    String answersPath = EnvironmentValue(kAnswersVariable);
    script.hasAnswers = !answersPath.IsEmpty();
    if (script.hasAnswers) script.answers = ReadWholeFile(answersPath);
  }
  return script;
}

bool NextAnswer(String& answer) {
  Script& script = TheScript();
  if (script.answers.IsEmpty()) return false;
  answer = script.answers.TakeLine();
  return true;
}

String Escaped(const char* text) {
  String out;
  for (const char* p = text ? text : ""; *p; ++p) {
    switch (*p) {
      case '\r': out.Append("\\r"); break;
      case '\n': out.Append("\\n"); break;
      case '\t': out.Append("\\t"); break;
      case '\\': out.Append("\\\\"); break;
      default: out.AppendChar(*p);
    }
  }
  return out;
}

const char* OwnerName(HWND owner) {
  if (owner == nullptr) return "none";
  if (owner == BackgroundWindow) return "background";
  if (owner == ProgressWindow) return "progress";
  return "other";
}

void AppendToTranscript(const String& line) {
  const String& path = TheScript().transcriptPath;
  if (path.IsEmpty()) return;
  HANDLE file = CreateFileA(path.CStr(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE,
                            nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return;
  DWORD written = 0;
  WriteFile(file, line.CStr(), DWORD(line.Length()), &written, nullptr);
  CloseHandle(file);
}

struct DialogScript {
  DLGPROC proc;
  LPARAM param;
  int unanswered;
};

// The default push button, else the first push button: what Enter would press. The first
// button in template order may open something no script answers (a browse button).
int DefaultPushButton(HWND dialog) {
  int first = IDOK;
  bool found = false;
  for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    char className[16];
    if (!GetClassNameA(child, className, sizeof className) || lstrcmpiA(className, "Button") != 0)
      continue;
    LONG type = GetWindowLongA(child, GWL_STYLE) & BS_TYPEMASK;
    if (type == BS_DEFPUSHBUTTON) return GetDlgCtrlID(child);
    if (type == BS_PUSHBUTTON && !found) {
      first = GetDlgCtrlID(child);
      found = true;
    }
  }
  return first;
}

void TypeIntoFirstEdit(HWND dialog, const char* text) {
  for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    char className[16];
    if (GetClassNameA(child, className, sizeof className) && lstrcmpiA(className, "Edit") == 0) {
      SetWindowTextA(child, text);
      return;
    }
  }
}

// Presses the button the script names, as a user would; the dialog's own procedure decides
// what follows. If the dialog is still open afterwards, the next answer is tried.
void AnswerDialog(HWND dialog, DialogScript& script) {
  int button;
  String answer;
  if (NextAnswer(answer)) {
    int tab = answer.FindChar('\t');
    if (tab >= 0) TypeIntoFirstEdit(dialog, answer.CStr() + tab + 1);
    button = answer.ToInt();
    script.unanswered = 0;
  } else {
    button = DefaultPushButton(dialog);
    if (++script.unanswered > kUnansweredAttempts) {
      EndDialog(dialog, button);
      return;
    }
  }
  SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), LPARAM(GetDlgItem(dialog, button)));
  PostMessageA(dialog, kAnswerMessage, 0, 0);
}

DialogScript* pendingDialog = nullptr;

INT_PTR CALLBACK ScriptedDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* script = static_cast<DialogScript*>(GetPropA(dialog, kScriptProperty));
  if (message == WM_INITDIALOG) {
    script = reinterpret_cast<DialogScript*>(lParam);
    SetPropA(dialog, kScriptProperty, script);
    INT_PTR result = script->proc(dialog, message, wParam, script->param);
    PostMessageA(dialog, kAnswerMessage, 0, 0);
    return result;
  }
  if (script == nullptr) script = pendingDialog;  // messages that precede WM_INITDIALOG
  if (message == kAnswerMessage) {
    AnswerDialog(dialog, *script);
    return TRUE;
  }
  if (message == WM_NCDESTROY) RemovePropA(dialog, kScriptProperty);
  return script->proc(dialog, message, wParam, lParam);
}

}  // namespace

void ReloadScriptedUi() { loadedScript = Script(); }

bool ScriptedUiActive() {
  Script& script = TheScript();
  return !script.transcriptPath.IsEmpty() || script.hasAnswers;
}

int DefaultMessageBoxButton(unsigned style) {
  static const int kButtons[][3] = {
      {IDOK, 0, 0},         {IDOK, IDCANCEL, 0},      {IDABORT, IDRETRY, IDIGNORE},
      {IDYES, IDNO, IDCANCEL}, {IDYES, IDNO, 0},      {IDRETRY, IDCANCEL, 0},
      {IDCANCEL, IDTRYAGAIN, IDCONTINUE},
  };
  unsigned type = style & MB_TYPEMASK;
  if (type >= sizeof kButtons / sizeof kButtons[0]) return IDOK;
  unsigned index = (style & MB_DEFMASK) >> 8;
  int button = index < 3 ? kButtons[type][index] : 0;
  return button != 0 ? button : kButtons[type][0];
}

int ScriptedMessageBox(HWND owner, const char* text, const char* caption, unsigned style) {
  String answer;
  int result = NextAnswer(answer) && !answer.IsEmpty() ? answer.ToInt() : DefaultMessageBoxButton(style);
  String line;
  line.Format("box\t%s\t0x%08X\t", OwnerName(owner), style);
  line.Append(Escaped(caption));
  line.AppendChar('\t');
  line.Append(Escaped(text));
  line.AppendFormat("\t%d\n", result);
  AppendToTranscript(line);
  return result;
}

void AppendScriptedEvent(const String& text) {
  String line = "event\t";
  line.Append(Escaped(text.CStr()));
  line.AppendChar('\n');
  AppendToTranscript(line);
}

INT_PTR ScriptedDialog(HINSTANCE instance, const char* templateName, HWND owner, DLGPROC proc,
                       LPARAM param) {
  DialogScript script = {proc, param, 0};
  DialogScript* outer = pendingDialog;
  pendingDialog = &script;
  INT_PTR result = DialogBoxParamA(instance, templateName, owner, ScriptedDialogProc, LPARAM(&script));
  pendingDialog = outer;
  String line("dialog\t");
  if (IS_INTRESOURCE(templateName))
    line.AppendFormat("#%u", unsigned(reinterpret_cast<uintptr_t>(templateName)));
  else
    line.Append(Escaped(templateName));
  line.AppendFormat("\t%s\t%d\n", OwnerName(owner), int(result));
  AppendToTranscript(line);
  return result;
}
#endif
