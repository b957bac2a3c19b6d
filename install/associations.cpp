#include "install/associations.h"

#include <windows.h>

#include "config/install_variables.h"
#include "config/language_strings.h"
#include "config/settings.h"
#include "install/install_records.h"
#include "install/install_state.h"
#include "install/installer_archive.h"
#include "platform/registry.h"
#include "platform/shell.h"

namespace {

constexpr uint32_t kMakeDefaultVerb = 0x1;
constexpr char kDefaultValue[] = "";

// Sets the open key's default value to text, first keeping a different old value (ignoring
// case; a blank one is not kept) under the backup name. True when the new text was written.
bool SetWithBackup(Registry& key, const String& text) {
  String old = key.ReadString(kDefaultValue, "");
  if (!old.IsBlank() && old.Compare(text.CStr(), false) != 0)
    key.SetString(AssociationBackupName().CStr(), old);
  return key.SetString(kDefaultValue, text);
}

// Whether an association applies in the language of this installation.
bool AppliesToLanguage(const FileAssociation& association) {
  if (association.language.IsEmpty()) return true;
  if (CurrentLanguage < 0 || CurrentLanguage >= LanguageNames.Count()) return false;
  return association.language.Compare(LanguageNames[CurrentLanguage].CStr()) == 0;
}

// The verb with its command under the type's shell key, which the cursor has open. True when
// the command was stored.
bool RegisterVerb(Registry& key, const FileAssociation& association) {
  if (key.OpenSub("shell") == OpenResult::Failed) return false;
  if (association.options & kMakeDefaultVerb) SetWithBackup(key, association.verb);
  bool stored = false;
  if (key.OpenSub(association.verb.CStr()) != OpenResult::Failed) {
    key.SetString(kDefaultValue, association.verbText);
    if (key.OpenSub("command") != OpenResult::Failed) {
      String command = association.command;
      ExpandInstallVariables(command);
      stored = SetWithBackup(key, command);
      key.Close();
    }
    key.Close();
  }
  key.Close();
  return stored;
}

// The file type's own key: description, icon and verb. True when the command was stored.
bool RegisterFileType(const String& type, bool typeGiven, const FileAssociation& association) {
  Registry key;
  if (key.Open(HKEY_CLASSES_ROOT, type.CStr()) == OpenResult::Failed) return false;
  if (typeGiven && !association.description.IsBlank()) SetWithBackup(key, association.description);
  if (!association.icon.IsBlank() && key.OpenSub("DefaultIcon") != OpenResult::Failed) {
    String icon = association.icon;
    ExpandInstallVariables(icon);
    SetWithBackup(key, icon);
    key.Close();
  }
  bool stored = RegisterVerb(key, association);
  key.Close();
  return stored;
}

// One association; true when its command was stored.
bool RegisterAssociation(const FileAssociation& association) {
  String extension = association.extension;
  if (extension.IsEmpty() || !AppliesToLanguage(association)) return false;
  if (extension.CStr()[0] != '.') extension = "." + extension;
  String type = association.fileType;
  const bool typeGiven = !type.IsEmpty();

  Registry key;
  if (key.Open(HKEY_CLASSES_ROOT, extension.CStr(), typeGiven ? 0 : RegOpenOnly) !=
      OpenResult::Failed) {
    if (typeGiven) {
      SetWithBackup(key, type);
    } else {
      type = key.ReadString(kDefaultValue, "");
    }
    key.Close();
  }
  // Without a type of its own the association only extends the type the extension names; with
  // none named there is nothing to extend, and the type's key would be the root of the classes.
  if (type.IsEmpty()) return false;

  bool stored = RegisterFileType(type, typeGiven, association);
  AssociationLines.AppendFormat("%s~!~%s~!~%s\r\n", extension.CStr(), type.CStr(),
                                association.verb.CStr());
  if (!stored)
    ErrorSummary.AppendFormat("Failed to associate file type:  \"%s\".\r\n\r\n", extension.CStr());
  return stored;
}

}  // namespace

String AssociationBackupName() { return ProductName + " Backup"; }

void RegisterAssociations() {
  bool changed = false;
  const Vector<FileAssociation>& associations = InstallerHeader.fileAssociations;
  for (int i = 0; i < associations.Count(); ++i) {
    if (RegisterAssociation(associations[i])) changed = true;
  }
  if (changed) NotifyAssociationsChanged();
}
