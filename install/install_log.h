// Install.LOG: what an installation did and what failed, one section appended per run, and the
// closing message that offers to show it.
#pragma once

#include "core/string.h"

// The first lines of a run's section: a line break, the product, the date and time ("d-M-yy
// h:ii:ssap"), under ProductFlags bit 2 whether this run is a new installation or a reinstall,
// the install directory, the engine's version, the product's version when it has one, and an
// empty line.
String InstallLogHeader(bool reinstall);

// Ends the installation's records. With showResult: without errors the user (not in automatic
// mode) is asked whether to view the log (strings 40 and 41); with errors the error box
// (strings 42 and 43; none in automatic mode or under bit 22) is shown and string 43 closes the
// error text. The section (header, InstallLog, the error text) is appended to Install.LOG
// when there are errors or bit 6 asks for the log every time. A log the user asked to view is
// opened by the shell, else with Notepad; not when it could not be written.
void FinishInstallLog(String& errors, bool reinstall, bool showResult);
