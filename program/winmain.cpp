// The entry point of the GUI program: it chooses the mode, so it stands above both the install
// engine and the uninstaller. The allocator's out-of-memory handler is part of the program's
// static data (core/memory.cpp), so it is in force before this or any constructor runs.
#include <windows.h>

#include "config/settings.h"
#include "install/command_line.h"
#include "install/startup.h"
#include "uninstall/uninstall_mode.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int) {
  CommandLineRequests requests;
  StartProgram(instance, commandLine, requests);
  if (UninstallMode) RunUninstallMode(requests.uninstallProduct);
  RunInstallMode(requests);
}
