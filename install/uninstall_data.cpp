#include "install/uninstall_data.h"

#include "config/language_strings.h"
#include "install/install_records.h"
#include "platform/whole_file.h"

String UninstallDataText() {
  String text = InstalledFileList;
  text += "\r\n\r\n[Strings]\r\n";
  for (StringId id : kUninstallerStringIds)
    text.AppendFormat("~%d\r\n%s\r\n", int(id), LookupString(id).CStr());
  if (!AssociationLines.IsEmpty()) {
    text += "\r\n\r\n[Associations]\r\n";
    text += AssociationLines;
  }
  return text;
}

bool WriteUninstallData() { return WriteWholeFile(RecordPath("Uninstall.DAT"), UninstallDataText()); }
