#pragma once

#include <windows.h>

// The program's start: settings defaults, command line, then uninstall or install mode. Never
// returns; every mode ends through ExitInstaller.
[[noreturn]] void StartupSequence(HINSTANCE instance, const char* commandLine);
