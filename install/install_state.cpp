#include "install/install_state.h"

#include "install/installer_archive.h"
#include "ui/progress_steps.h"

String UninstallDir;
String InstallLog;
String ErrorSummary;
String LaunchOnExit;
bool Reinstall = false;

void WaitForStageDelay() { WaitStepMinimum(InstallerHeader.stageDelay); }
