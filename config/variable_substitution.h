// The substitution engine behind the install variables: a table of names between percent signs,
// each with the function that gives its current value, replaced in table order. Pure text work,
// so the order rules can be exercised with values chosen by the caller.
#pragma once

#include "core/string.h"

struct InstallVariable {
  const char* name;     // with its percent signs, such as "%WinDir%"
  String (*value)();    // the value at the moment of the call
};

// Replaces, for each entry in table order, every occurrence of its name (in any letter case)
// by its value, left to right in one pass. An inserted value is not scanned again for the same
// name but is scanned for every later one; an empty value removes the name. A value is fetched
// only when its name occurs in the text at its turn, so an unused variable costs no lookup.
void SubstituteInstallVariables(String& text, const InstallVariable* table, int count);
