// What both modes start with, and the install mode that follows when no /u was given.
#pragma once

#include <windows.h>

struct CommandLineRequests;

// PrepareProcess, then the settings' defaults, the system locations and the command line, read
// into the settings and requests. A malformed command line ends the process with the usage box.
void StartProgram(HINSTANCE instance, const char* commandLine, CommandLineRequests& requests);

// Reads the program's own archive and runs the installation with the requests of the command
// line. Never returns; it ends through ExitInstaller.
[[noreturn]] void RunInstallMode(const CommandLineRequests& requests);

// What the process needs before anything touches a drive, done first by StartProgram: the
// system's critical-error boxes are off (SEM_FAILCRITICALERRORS), so a directory check on an
// empty floppy or CD drive fails quietly instead of stopping the installer with a system box.
void PrepareProcess();
