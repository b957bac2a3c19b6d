#include "uninstall/uninstall_mode.h"

#include "ui/messages.h"

void RunUninstallMode(const String& productName) {
  if (productName.IsEmpty()) UsageError("Product name required");
  // The removal itself is not part of this build yet: the check above is all that runs.
  ExitInstaller();
}
