#include "install/resolve_target.h"

#include "archive/corrupt_codes.h"
#include "config/install_variables.h"
#include "config/settings.h"
#include "install/install_state.h"
#include "platform/path_text.h"
#include "platform/registry_locations.h"
#include "platform/system_paths.h"
#include "ui/messages.h"

String ResolveTarget(FileEntry& entry, bool& createFolder) {
  if (!entry.destinationText.IsEmpty() && entry.destinationText.FindChar('\\') < 0) {
    entry.name = entry.destinationText;
    entry.destinationText.Clear();
  }
  if (!entry.destinationText.IsEmpty()) {
    String target = entry.destinationText;
    ExpandInstallVariables(target);
    MakeAbsolute(target, (entry.destinationKind == 1 ? SharedPath : InstallDir).CStr());
    if (target.EndsWithChar('\\')) target += FileNamePart(entry.name);
    createFolder = true;
    return target;
  }
  createFolder = false;
  if (entry.flags & kFileToUninstallDir) return JoinPath(UninstallDir, entry.name);
  switch (entry.destinationKind) {
    case 0:
    case 5:
      createFolder = true;
      return JoinPath(InstallDir, entry.name);
    case 1:
      return JoinPath(SharedPath, entry.name);
    case 4:
      return JoinPath(FontDir(), entry.name);
    case 6:
    case 7:
      return JoinPath(SystemDir(), entry.name);
    default:
      CorruptInstaller(kBadDestinationKind);
  }
}
