// The entry point of the GUI program. The allocator's out-of-memory handler is part of the
// program's static data (core/memory.cpp), so it is in force before this or any constructor runs.
#include <windows.h>

#include "install/startup.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int) {
  StartupSequence(instance, commandLine);
}
