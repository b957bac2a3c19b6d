// The choice of the installation directory: the directory dialog, repeated until the user
// names a directory that can take the product, or cancels.
#pragma once

#include <cstdint>

#include "core/vector.h"

// Space the files take on a drive with clusters of clusterSize bytes: each size rounded up to
// a whole number of clusters, summed in 64 bits. A clusterSize below 2 (unknown) rounds nothing.
uint64_t SpaceNeeded(const Vector<int>& fileSizes, int clusterSize);

// Leaves InstallDir holding an existing directory chosen by the user. With AutomaticMode, or
// when the archive does not ask for the directory (ProductFlags bit 7 clear), InstallDir is
// created without questions or messages (and may stay missing). Otherwise the dialog is shown
// until its text, trimmed, passes every check: a valid absolute path; not a network path when
// bit 37 refuses them; an existing drive; not a drive root; not the Program Files directory
// itself; enough free space for fileSizes (the archive's file sizes) on its drive, or the
// user's leave to go on anyway; the user's confirmation when bit 31 asks for it; and, for a
// new directory, that it can be created. Each rejection is reported (ReportError) before the
// dialog returns. Cancelling the dialog ends the program (ExitInstaller).
void ChooseInstallDir(const Vector<int>& fileSizes);
