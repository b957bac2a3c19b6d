#include "config/file_spec_text.h"

#include "platform/path_text.h"

String FileSpecLineDirectory(const String& line) {
  int separator = SeparatorPos(line);
  if (separator <= 0) return String();
  String dir = line.Substring(0, separator + 1);
  // "C:\" keeps its backslash: without it the text would mean the drive's current directory.
  if (dir.LastChar() == '\\' && line.CharAt(separator - 1) != ':') dir.RemoveLast(1);
  return dir;
}

String FileSpecLineBase(const String& line, const char* defaultDir) {
  String dir = FileSpecLineDirectory(line);
  if (dir.IsBlank()) return String(defaultDir);
  MakeAbsolute(dir, defaultDir);
  return dir;
}

bool RemoveSubdirectorySuffix(String& pattern) { return pattern.RemoveSuffix(" /s"); }

void AppendPatternDiagnostic(String& errors, const String& pattern, int lineNumber,
                             bool withLineNumber, const char* problem) {
  errors.Append("The file specification \"");
  errors.Append(pattern);
  errors.Append("\" ");
  if (withLineNumber) errors.AppendFormat("on line %d ", lineNumber);
  errors.Append(problem);
}

bool ContainsPathIgnoringCase(const Array<String>& paths, const String& path) {
  for (int i = 0; i < paths.Count(); ++i) {
    const String& held = paths[i];
    if (held.Length() == path.Length() && held.CompareString(path, false) == 0) return true;
  }
  return false;
}
