#include "config/variable_substitution.h"

void SubstituteInstallVariables(String& text, const InstallVariable* table, int count) {
  for (int i = 0; i < count; ++i) {
    const InstallVariable& variable = table[i];
    if (text.Find(variable.name, 0, String::kIgnoreCase) < 0) continue;
    String value = variable.value();
    text.Replace(variable.name, value.CStr(), String::kIgnoreCase, 0, String::kAll, 0);
  }
}
