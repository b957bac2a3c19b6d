#pragma once

#include <windows.h>

// The program's start: settings defaults, command line, then uninstall or install mode. Never
// returns; every mode ends through ExitInstaller.
[[noreturn]] void StartupSequence(HINSTANCE instance, const char* commandLine);

// What the process needs before anything touches a drive, done first by StartupSequence: the
// system's critical-error boxes are off (SEM_FAILCRITICALERRORS), so a directory check on an
// empty floppy or CD drive fails quietly instead of stopping the installer with a system box.
void PrepareProcess();
