#include "install/install_state.h"

String UninstallDir;
String InstallLog;
String ErrorSummary;
String LaunchOnExit;
