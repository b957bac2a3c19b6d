// What the install sequence keeps between its steps, besides the process-wide settings.
#pragma once

#include "core/string.h"

// The folder of the uninstaller and the install records: InstallDir joined with
// UninstallSubdir (step 12 of the sequence).
extern String UninstallDir;

// The log lines of this installation (CR LF ends), written out as Install.LOG at the end.
extern String InstallLog;

// Non-fatal problems collected on the way; reported once at the end. While it is not empty,
// the program named by /r is not started.
extern String ErrorSummary;

// The installation goes over an existing one of the product (its directory was reused).
extern bool Reinstall;

// /r:"program": started at the very end of a successful installation.
extern String LaunchOnExit;

// Holds the sequence until the current stage has been shown for the archive's StageDelay
// (never in automatic mode), so that short stages can still be read.
void WaitForStageDelay();
