#include "install/autoexec_path.h"

#include "config/settings.h"
#include "platform/file.h"
#include "platform/registry_locations.h"
#include "platform/short_path.h"

namespace {

String CannotModifyMessage(const String& file, bool add) {
  return String::Formatted(
      "Unable to modify %s.  You will need to manually %s %s %s the PATH environment "
      "variable.\r\n\r\n",
      file.CStr(), add ? "add" : "remove", InstallDir.CStr(), add ? "to" : "from");
}

void AddLine(File& file, const String& text, const String& line) {
  if (text.Find(line.CStr(), 0, String::kIgnoreCase, line.Length()) >= 0) return;
  file.SeekFromEnd(0);
  if (!text.EndsWithChar('\n')) file.Write("\r\n", 2);
  file.Write(line.CStr(), line.Length());
}

// The first place where the line without its CR LF stands as a whole line: followed by a line
// break or the end of the text. A longer directory that merely begins with the install
// directory's name is someone else's PATH entry and stays.
int FindBareLine(const String& text, const String& line, int length) {
  for (int pos = text.Find(line.CStr(), 0, String::kIgnoreCase, length); pos >= 0;
       pos = text.Find(line.CStr(), pos + 1, String::kIgnoreCase, length)) {
    const int end = pos + length;
    if (end == text.Length() || text.CharAt(end) == '\r' || text.CharAt(end) == '\n') return pos;
  }
  return -1;
}

void RemoveLine(File& file, String text, const String& line) {
  int length = line.Length();
  int pos = text.Find(line.CStr(), 0, String::kIgnoreCase, length);
  if (pos < 0) {
    // The last line of a file need not end with a line break.
    length -= 2;
    pos = FindBareLine(text, line, length);
  }
  if (pos < 0) return;
  text.Erase(pos, length);
  file.ReplaceContents(text);
}

}  // namespace

String AutoexecFilePath() { return String(BootDrive()) + ":\\autoexec.bat"; }

String PathLineFor(const String& installDir) {
  return String::Formatted("PATH=%%PATH%%;%s\r\n", ShortPath(installDir).CStr());
}

String EditPathLineInFile(const String& file, bool add) {
  File handle;
  const uint32_t mode = add ? OpenMode::kOpenOrCreate : OpenMode::kOpenExisting;
  if (handle.Open(file, mode, File::kNormalAttributes) != FileOpenResult::kSuccess) {
    return CannotModifyMessage(file, add);
  }
  const String line = PathLineFor(InstallDir);
  String text;
  handle.ReadAll(text);
  if (add) {
    AddLine(handle, text, line);
  } else {
    RemoveLine(handle, text, line);
  }
  handle.Close();
  return String();
}

String EditAutoexecPath(bool add) { return EditPathLineInFile(AutoexecFilePath(), add); }
