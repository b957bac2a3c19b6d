// The files an archive removes before it installs its own.
#pragma once

#include "archive/archive_header.h"
#include "core/vector.h"

// Carries out each deletion in order: the existing files its specification matches (install
// variables expanded, relative patterns under InstallDir) that also meet its condition are
// deleted, and each outcome is logged in InstallLog. A file that cannot be deleted now is
// scheduled for deletion at the next start when the deletion's flag 0x2 allows it (ProductFlags
// bit 14 is then set; a failed scheduling goes to ErrorSummary). A condition of 1 to 3 whose
// value names no real date is corrupt-installer code 65.
void CarryOutDeletions(const Vector<FileDeletion>& deletions);
