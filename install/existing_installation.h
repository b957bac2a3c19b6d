// An earlier installation of the product, as its Uninstall key describes it.
#pragma once

#include "core/string.h"

struct ExistingInstallation {
  String location;      // "InstallLocation"
  String version;       // "DisplayVersion"
  String sharedFiles;   // "SharedFiles"
  bool exists = false;  // the location is not empty and names an existing directory
};

// Reads the values of UninstallKeyName's key under the machine's Uninstall key, opened for
// reading only; every value is empty when the key or the value is missing. A location that
// names a deleted folder does not count as an installation.
ExistingInstallation FindExistingInstallation();
