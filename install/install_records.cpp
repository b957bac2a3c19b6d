#include "install/install_records.h"

#include <windows.h>

#include "config/language_strings.h"
#include "config/settings.h"
#include "core/hash_table.h"
#include "platform/path_text.h"
#include "platform/system_error.h"

namespace {

constexpr int kRecordedSetBuckets = 40;
constexpr int kShortestRecordedPath = 4;

// The upper-cased folder and class-key paths already recorded.
HashTable<bool, String>& RecordedMarkedPaths() {
  static HashTable<bool, String> paths(kRecordedSetBuckets);
  return paths;
}

}  // namespace

String InstalledFileList;
String AssociationLines;
String ProductFonts;
String SharedFiles;

void RecordInstalledPath(const String& path, int kind) {
  if (path.Length() < kShortestRecordedPath) return;
  if (kind == RecordKind::kFile) {
    InstalledFileList += path;
    InstalledFileList += "\r\n";
    return;
  }
  String key = path;
  key.ToUpper();
  if (RecordedMarkedPaths().Contains(key)) return;
  RecordedMarkedPaths().Set(key, true);
  InstalledFileList += kind == RecordKind::kFolder ? "~" : "!";
  InstalledFileList += path;
  InstalledFileList += "\r\n";
}

void RecordInstalledPathReset() {
  InstalledFileList = String();
  RecordedMarkedPaths().Init(kRecordedSetBuckets);
}

String RecordPath(const char* name) {
  return JoinPath(InstallDir, JoinPath(UninstallSubdir, String(name)));
}

void AppendFailure(String& errors, const String& name) {
  // Read before anything else can touch the thread's last error.
  const String reason = SystemErrorText(GetLastError());
  errors.AppendFormat("%s %s\r\n%s\r\n", LookupString(StringId::kCannotWriteFileHead).CStr(),
                      name.CStr(), reason.CStr());
}
