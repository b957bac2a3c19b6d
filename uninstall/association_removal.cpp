#include "uninstall/association_removal.h"

#include "platform/registry.h"

namespace {

constexpr char kDefaultValue[] = "";

// Writes the text saved under backupName back to the current key's default value and deletes
// the saved value. True when there was a saved text to restore.
bool RestoreDefaultValue(Registry& key, const String& backupName) {
  String backup = key.ReadString(backupName.CStr(), "");
  if (backup.IsBlank()) return false;
  key.SetString(kDefaultValue, backup, 0);
  key.DeleteValue(backupName.CStr());
  return true;
}

// The verb under the type key's shell; shell goes too when nothing is left in it.
void RemoveVerb(Registry& type, const String& verb, const String& backupName) {
  if (type.OpenSub("shell", RegOpenOnly) == OpenResult::Failed) return;
  RestoreDefaultValue(type, backupName);
  if (type.OpenSub(verb.CStr(), RegOpenOnly) != OpenResult::Failed) {
    bool removeVerb = true;
    if (type.OpenSub("command", RegOpenOnly) != OpenResult::Failed) {
      if (RestoreDefaultValue(type, backupName)) removeVerb = false;
      type.Close();
    }
    type.Close();
    if (removeVerb) type.DeleteSubKey(verb.CStr(), 0);
  }
  bool empty = !type.HasSubKeys();
  type.Close();
  if (empty) type.DeleteSubKey("shell", 0);
}

}  // namespace

void RemoveAssociation(const AssociationRecord& record, const String& backupName) {
  const char* extension = record.extension.CStr();
  const char* fileType = record.fileType.CStr();
  Registry key;
  bool extensionKeep = false;
  if (key.Open(HKEY_CLASSES_ROOT, extension, RegOpenOnly) != OpenResult::Failed) {
    extensionKeep = RestoreDefaultValue(key, backupName);
    key.Close();
  }
  if (key.Open(HKEY_CLASSES_ROOT, fileType, RegOpenOnly) == OpenResult::Failed) return;
  RestoreDefaultValue(key, backupName);
  bool iconKeyFound = false;
  bool iconRestored = false;
  if (key.OpenSub("DefaultIcon", RegOpenOnly) != OpenResult::Failed) {
    iconKeyFound = true;
    iconRestored = RestoreDefaultValue(key, backupName);
    key.Close();
  }
  RemoveVerb(key, record.verb, backupName);
  // The record does not say whether the installation wrote an icon: a DefaultIcon beside other
  // subkeys may belong to a type that was there before, and stays with it.
  if (iconKeyFound && !iconRestored && key.CountSubKeys() == 1) key.DeleteSubKey("DefaultIcon", 0);
  if (key.HasSubKeys()) {
    key.Close();
    return;
  }
  key.Close();
  key.DeleteKeyPath(HKEY_CLASSES_ROOT, fileType, 0);
  if (!extensionKeep) key.DeleteKeyPath(HKEY_CLASSES_ROOT, extension, 0);
}
