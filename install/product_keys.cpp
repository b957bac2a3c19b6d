#include "install/product_keys.h"

#include "install/install_state.h"
#include "install/installer_archive.h"
#include "platform/registry.h"

namespace {

bool CreateSoftwareKey(const String& path, bool currentUser) {
  Registry key;
  if (key.OpenSoftware(path.CStr(), currentUser) == OpenResult::Failed) return false;
  key.Close();
  return true;
}

}  // namespace

void CreateProductKeys() {
  const String& path = InstallerHeader.productRegistry;
  if (path.IsEmpty()) return;
  bool machine = CreateSoftwareKey(path, false);
  bool user = CreateSoftwareKey(path, true);
  if (!machine || !user)
    ErrorSummary.AppendFormat("Error creating registry keys:\r\n%s\r\n\r\n", path.CStr());
}
