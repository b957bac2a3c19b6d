#include "platform/path_text.h"

namespace {

bool IsLetter(char ch) { return (ch >= 'a' && ch <= 'z') || (ch >= 'A' && ch <= 'Z'); }

// Characters that never appear in a file name, whatever the flags of IsValidPathText.
const char* ForbiddenSet(int flags) {
  if (flags & kPathAllowWildcards) return "/\"<>|:;";
  if (flags & kPathAllowStar) return "/\"<>|?:;";
  return "/\"<>|*?:;";
}

const char* SkipBlanks(const char* text) {
  while (*text == ' ') ++text;
  return text;
}

// The part of a path that may hold separators: up to the first semicolon outside quotes.
int ScannableLength(const String& path) {
  int semicolon = path.FindChar(';', 0, String::kSkipQuoted);
  return semicolon < 0 ? path.Length() : semicolon;
}

}  // namespace

int SeparatorPos(const String& path) {
  int scannable = ScannableLength(path);
  int backslash = path.FindCharReverse('\\', scannable - 1);
  if (backslash >= 0) return backslash;
  // The colon too must come before the first unquoted semicolon: a drive letter of a later
  // pattern on the same line ("*.tmp;D:*.bak") is not the first pattern's.
  int colon = path.FindChar(':');
  return colon < scannable ? colon : -1;
}

String DirectoryPart(const String& path) {
  int pos = SeparatorPos(path);
  if (pos < 0) return String();
  bool keep = path.CharAt(pos) == ':' || (pos > 0 && path.CharAt(pos - 1) == ':');
  return path.Substring(0, keep ? pos + 1 : pos);
}

String FileNamePart(const String& path) {
  int pos = path.FindCharReverse('\\');
  if (pos < 0) pos = path.FindChar(':');
  return pos < 0 ? path : path.Substring(pos + 1);
}

int ExtensionPos(const String& path) {
  int dot = path.FindCharReverse('.');
  return dot > path.FindCharReverse('\\') ? dot : -1;
}

bool AddExtensionIfMissing(String& path, const char* ext) {
  if (path.IsBlank() || ExtensionPos(path) >= 0) return false;
  if (ext == nullptr || *ext != '.') path.AppendChar('.');
  path.Append(ext);
  return true;
}

void RemoveDirectoryPart(String& path) { path = FileNamePart(path); }

bool RemoveExtension(String& path) {
  int pos = ExtensionPos(path);
  return pos >= 0 && path.EraseFrom(pos);
}

bool RemoveFileName(String& path) {
  int pos = SeparatorPos(path);
  if (pos < 0) return false;
  path.EraseFrom(pos + 1);
  return true;
}

String JoinPath(const String& dir, const String& name) {
  if (dir.IsEmpty()) return name;
  if (name.IsEmpty()) return dir;
  String joined = dir;
  if (name.FirstChar() == '\\')
    joined.RemoveLastIf('\\');
  else if (!joined.EndsWithChar(':') && !joined.EndsWithChar('\\'))
    joined.AppendChar('\\');
  joined.Append(name);
  return joined;
}

char DriveLetterOf(const String& path) {
  char first = path.CharAt(0);
  if (path.CharAt(1) != ':') return 0;
  if (first >= 'a' && first <= 'z') return char(first - 'a' + 'A');
  return first >= 'A' && first <= 'Z' ? first : 0;
}

bool MakeAbsolute(String& path, const char* base) {
  path.Trim();
  if (path.IsEmpty() || base == nullptr) return false;
  base = SkipBlanks(base);
  if (!IsAbsolutePath(base)) return false;
  String baseText(base);
  if (path.StartsWith("\\\\")) return false;
  if (path.FirstChar() == '\\') {
    if (!IsLetter(baseText.CharAt(0)) || baseText.CharAt(1) != ':') return false;
    path.Insert(0, baseText, 2);
    return true;
  }
  if (path.CharAt(1) == ':') {
    if (path.CharAt(2) == '\\') return false;
    // "D:data" is relative to the current directory of drive D; base's directory stands in for it.
    String inserted = baseText.Substring(2);
    if (!inserted.EndsWithChar('\\')) inserted.AppendChar('\\');
    path.Insert(2, inserted);
    return true;
  }
  if (!baseText.EndsWithChar('\\')) path.InsertChar('\\', 0);
  path.Insert(0, baseText);
  return true;
}

bool IsAbsolutePath(const char* text) {
  if (text == nullptr) return false;
  text = SkipBlanks(text);
  if (text[0] == '\\' && text[1] == '\\') return true;
  return text[0] != '\0' && text[1] == ':' && text[2] == '\\';
}

bool IsValidPathText(const String& path, int flags) {
  if (path.IsEmpty()) return false;
  String text = path;
  text.StripEnclosing('"');
  int start = 0;
  if (text.CharAt(1) == ':') {
    if (!IsLetter(text.CharAt(0))) return false;
    start = 2;
  }
  return text.FindFirstOf(ForbiddenSet(flags), start) < 0;
}

bool SamePath(const String& a, const String& b) {
  String left = a;
  String right = b;
  left.TrimRightChar('\\');
  right.TrimRightChar('\\');
  return left.Length() == right.Length() && left.CompareString(right, false) == 0;
}

String DriveText(char letter) {
  if (!IsLetter(letter)) return String();
  String text(letter);
  text.AppendChar(':');
  return text;
}

String DriveRoot(const String& path) {
  if (!IsLetter(path.CharAt(0)) || path.CharAt(1) != ':') return String();
  return path.Substring(0, path.CharAt(2) == '\\' ? 3 : 2);
}
