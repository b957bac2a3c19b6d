#include "install/command_line.h"

#include "config/settings.h"
#include "platform/path_text.h"
#include "ui/messages.h"

namespace {

constexpr int kMaxAtoms = 19;  // anything after the 19th atom is ignored without a message
constexpr char kWhitespace[] = " \t\r\n";

bool IsWhitespace(char ch) { return ch == ' ' || ch == '\t' || ch == '\r' || ch == '\n'; }

// Removes what follows "D:", "N:" or "U:" from its one pair of enclosing double quotes.
String SwitchValue(const String& rest, int prefixLength) {
  String value = rest.Substring(prefixLength);
  if (value.Length() >= 2) value.StripEnclosing('"');
  return value;
}

void ApplySwitch(const String& atom, CommandLineRequests& requests) {
  String rest = atom;
  if (!rest.RemoveFirstIfIn("/-")) {
    String message("Unexpected command line parameter:\n");
    UsageError((message + atom).CStr());
  }
  if (rest.Compare("A", false) == 0) {
    AutomaticMode = true;
  } else if (rest.Compare("D:", false, 2) == 0) {
    InstallDir = SwitchValue(rest, 2);
  } else if (rest.Compare("N:", false, 2) == 0) {
    ProductName = SwitchValue(rest, 2);
  } else if (rest.Compare("U", false, 1) == 0) {
    UninstallMode = true;
    if (rest.CharAt(1) == ':') requests.uninstallProduct = SwitchValue(rest, 2);
  } else if (rest.Compare("R:\"", false, 3) == 0) {
    String program = rest.Substring(3);
    program.RemoveLastIf('"');
    program.ReplaceChar('`', '"');
    requests.launchOnExit = program;
  } else if (!rest.IsEmpty()) {
    String message("Illegal command line atom:\n");
    UsageError((message + rest).CStr());
  }
}

}  // namespace

String ReadCommandLineAtom(String& line) {
  String atom;
  line.TrimLeft(kWhitespace);
  while (!line.IsEmpty()) {
    if (line.FirstChar() == '"') {
      atom.AppendChar('"');
      atom.Append(line.TakeQuoted(0, '"'));
      atom.AppendChar('"');
      continue;
    }
    char ch = line.PopFirstChar();
    if (IsWhitespace(ch)) break;
    atom.AppendChar(ch);
  }
  return atom;
}

void ParseCommandLine(String line, CommandLineRequests& requests) {
  for (int examined = 0; examined < kMaxAtoms && !line.IsEmpty(); ++examined) {
    String atom = ReadCommandLineAtom(line);
    if (atom.IsEmpty()) break;
    ApplySwitch(atom, requests);
  }
}

String OwnPathFromCommandLine(String processCommandLine) {
  processCommandLine.TrimLeft(kWhitespace);
  String path;
  if (processCommandLine.FirstChar() == '"') {
    path = processCommandLine.TakeQuoted(0, '"');
  } else {
    int blank = processCommandLine.FindChar(' ');
    path = blank < 0 ? processCommandLine : processCommandLine.Substring(0, blank);
  }
  AddExtensionIfMissing(path, "EXE");
  return path;
}
