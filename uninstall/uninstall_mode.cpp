#include "uninstall/uninstall_mode.h"

#include "ui/messages.h"
#include "uninstall/self_removal.h"
#include "uninstall/uninstall_product.h"

void RunUninstallMode(const String& productName) {
  if (productName.IsEmpty()) UsageError("Product name required");
  // The uninstaller's own file goes only after a removal without failures: otherwise it stays
  // beside its records for another run.
  if (UninstallProduct(productName)) RemoveSelf();
  ExitInstaller();
}
