// Install variables: the machine-dependent places that archive texts (destinations, shortcut
// and registry entries, batch commands) name by placeholder, such as "%InstallDir%" or
// "%WinDir%".
#pragma once

#include "core/string.h"

// Replaces in text, in place, every install variable by its current value. Names match in any
// letter case; a name that is not an install variable is left as it is. The 28 variables are
// replaced one after the other in a fixed order, so a value that holds the name of a variable
// later in that order is expanded further and one that holds an earlier name is not. Values are
// read at the moment of the call (the registry-backed ones from the registry), so a text keeps
// the install directory that was current when it was expanded.
void ExpandInstallVariables(String& text);
