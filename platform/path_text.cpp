#include "platform/path_text.h"

namespace {

bool IsBlank(const String& text) { return text.FindFirstNotOf(" \t\r\n") < 0; }

// The part of a path that may hold separators: up to the first semicolon outside quotes.
int ScannableLength(const String& path) {
  int semicolon = path.FindChar(';', 0, String::kSkipQuoted);
  return semicolon < 0 ? path.Length() : semicolon;
}

}  // namespace

int SeparatorPos(const String& path) {
  int backslash = path.FindCharReverse('\\', ScannableLength(path) - 1);
  return backslash >= 0 ? backslash : path.FindChar(':');
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
  if (IsBlank(path) || ExtensionPos(path) >= 0) return false;
  if (ext == nullptr || *ext != '.') path.AppendChar('.');
  path.Append(ext);
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
