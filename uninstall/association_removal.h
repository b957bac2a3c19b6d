// Undoing one file association of the installation.
#pragma once

#include "core/string.h"
#include "uninstall/uninstall_data_reader.h"

// Undoes record under HKEY_CLASSES_ROOT. Each default value the installation replaced (the
// extension's, the file type's, its DefaultIcon's, shell's and the verb command's) gets back the
// text saved beside it under backupName, and the saved value goes. The verb key goes unless a
// command was restored into it, shell when it is left without subkeys; DefaultIcon goes, unless
// an icon was restored into it, when it is all the type key has left, so that a type which stays
// keeps its icon; then the type key goes when it has no subkeys left, and with it the extension
// key unless the extension got its old file type back. Failures are silent.
void RemoveAssociation(const AssociationRecord& record, const String& backupName);
