// The installer's command line: /a, /d:"dir", /n:"name", /u:"name", /r:"program".
#pragma once

#include "core/string.h"

// Switches that are handed on rather than kept as process-wide settings.
struct CommandLineRequests {
  String uninstallProduct;  // /u:"name"
  String launchOnExit;      // /r:"program", with backquotes turned into double quotes
};

// Takes the next unit off the front of line: a run up to white space, in which a double-quoted
// section (with "" standing for one quote) counts as one piece and keeps its quotes.
String ReadCommandLineAtom(String& line);

// Reads up to 19 atoms into AutomaticMode, InstallDir, ProductName, UninstallMode and requests.
// A malformed atom ends the process with the usage box.
void ParseCommandLine(String line, CommandLineRequests& requests);

// The program's own path from the process command line (its first token), with ".EXE" added
// when it has no extension.
String OwnPathFromCommandLine(String processCommandLine);
