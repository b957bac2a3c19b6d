// Font display names in the registry. Adding the font to the running system and copying its
// file are the caller's steps.
#include "platform/shell_fonts.h"

#include <windows.h>

#include "platform/os_identity.h"
#include "platform/registry.h"

namespace {

// The fonts key of HKEY_LOCAL_MACHINE: its values map display names to font file names.
const char* FontsKey() {
  return IsNT() ? "Software\\Microsoft\\Windows NT\\CurrentVersion\\Fonts"
                : "Software\\Microsoft\\Windows\\CurrentVersion\\Fonts";
}

}  // namespace

bool RegisterFontName(const char* displayName, const char* fontFile) {
  Registry registry;
  if (registry.Open(HKEY_LOCAL_MACHINE, FontsKey()) == OpenResult::Failed) return false;
  return registry.SetText(displayName, fontFile);
}

bool UnregisterFontName(const char* displayName) {
  Registry registry;
  if (registry.Open(HKEY_LOCAL_MACHINE, FontsKey()) == OpenResult::Failed) return false;
  // The registry answers a missing value with a failure like any other; a font that was never
  // registered is already unregistered.
  if (!registry.ValueExists(displayName)) return true;
  DeleteResult result = registry.DeleteValue(displayName);
  return result == DeleteResult::Deleted || result == DeleteResult::NotFound;
}
