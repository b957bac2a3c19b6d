#include "uninstall/product_key.h"

#include "platform/registry.h"

void DeleteProductKey(const String& path, bool currentUser) {
  Registry registry;
  String key = path;
  for (int level = 0; level < kProductKeyLevels; ++level) {
    uint32_t flags = level == 0 ? 0 : RegOnlyIfEmpty;
    if (registry.DeleteSoftwareKey(key.CStr(), currentUser, flags) != DeleteResult::Deleted) return;
    key.RemoveLastIf('\\');
    int parentEnd = key.FindCharReverse('\\');
    if (parentEnd < 0) return;
    // Without its own backslash: a path that ends in one names no key to delete.
    key.Resize(parentEnd);
  }
}
