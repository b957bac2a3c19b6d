#include "install/shared_counts.h"

#include "install/install_records.h"
#include "install/install_state.h"
#include "platform/registry.h"

Vector<String> SharedFileList;

namespace {

constexpr char kSharedDllsKey[] = "Microsoft\\Windows\\CurrentVersion\\SharedDLLs";

// A SharedFileList entry or stored item without its mark.
String PathOf(const String& entry) {
  String path = entry;
  path.RemoveLastIf('^');
  path.RemoveLastIf(' ');
  return path;
}

void LowerPreviousCounts(Registry& key, String previous) {
  for (;;) {
    String path = PathOf(previous.TakeQuoted());
    if (path.IsEmpty()) return;
    previous.RemoveFirstIf(';');
    int32_t count = key.ReadInt(path.CStr(), 0);
    if (count <= 1) {
      key.DeleteValue(path.CStr());
    } else {
      key.SetDword(path.CStr(), uint32_t(count - 1));
    }
  }
}

}  // namespace

void UpdateSharedFileCounts(bool reinstall, const String& previousSharedFiles) {
  const bool lowersPrevious = reinstall && !previousSharedFiles.IsEmpty();
  SharedFiles.Clear();
  // With no count to change the key is not even made: a product without shared files leaves
  // no trace among them.
  if (SharedFileList.Count() == 0 && !lowersPrevious) return;
  Registry key;
  if (key.OpenSoftware(kSharedDllsKey, false) == OpenResult::Failed) {
    ErrorSummary += "Registry error: unable to increment shared file reference counts.\r\n\r\n";
    return;
  }
  if (lowersPrevious) LowerPreviousCounts(key, previousSharedFiles);
  for (int i = 0; i < SharedFileList.Count(); ++i) {
    const String& entry = SharedFileList[i];
    String path = PathOf(entry);
    key.SetDword(path.CStr(), uint32_t(key.ReadInt(path.CStr(), 0) + 1));
    if (!SharedFiles.IsEmpty()) SharedFiles += ';';
    SharedFiles += '"';
    SharedFiles += entry;
    SharedFiles += '"';
  }
  key.Close();
}
