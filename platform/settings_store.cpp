#include "platform/settings_store.h"

#include "core/string.h"

bool SettingsStore::OpenChild(const char*) { return false; }

bool SettingsStore::OpenRoot() { return false; }

bool SettingsStore::OpenPath(const char* path) {
  if (path == nullptr) return false;
  if ((path[0] == '\0' || path[0] == separator_) && !OpenRoot()) return false;
  String component;
  for (const char* p = path; *p != '\0'; ++p) {
    if (*p != separator_) {
      component.AppendChar(*p);
      continue;
    }
    if (!OpenChild(component.CStr())) return false;
    component.Clear();
  }
  return true;
}
