// The removal of an installed product, in its fixed order, from the records its installation
// left: the Uninstall entry and Uninstall.DAT.
#pragma once

#include "core/string.h"

// The Uninstall key below Software under HKEY_LOCAL_MACHINE, holding one key per product.
inline constexpr char kUninstallKey[] = "Microsoft\\Windows\\CurrentVersion\\Uninstall";

// Removes the product registered as name: asks first (unless automatic), then takes away its
// associations, fonts, recorded files, folders and class keys, Start-menu folder, shared-file
// counts, own registry keys, optionally its whole install directory, and, only when all of that
// went without a failure, Uninstall.DAT, its PATH line and its Uninstall entry; then says how it
// went. A product that is not registered, or whose entry cannot be read or has no install
// location, gets its error box and nothing is touched. True only when nothing failed: the
// caller may then remove the uninstaller itself. Declining the question ends the process.
bool UninstallProduct(const String& name);
