// The file associations of the archive header: an extension pointing at a file type, and the
// type's description, icon and verb with its command.
#pragma once

#include "core/string.h"

// The value name under which a default value that an association replaces is kept, so that
// the uninstaller can put it back: ProductName followed by " Backup".
String AssociationBackupName();

// Registers every association of the header in order, for the current language only where an
// association names one. Each one attempted is listed in AssociationLines; one whose command
// could not be stored also puts its failure line in ErrorSummary. An association without a file
// type takes the type the extension already names and does nothing when there is none. When
// any command was stored the shell is told that associations changed.
void RegisterAssociations();
