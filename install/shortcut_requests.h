// The shortcuts the installed files ask for, made after the files are installed.
#pragma once

#include "core/string.h"
#include "core/vector.h"

struct ShortcutRequest {
  bool desktop = false;    // on the desktop, or in the archive's desktop folder
  bool startMenu = false;  // in the product's Start-menu folder
  bool startup = false;    // in the Startup folder
  bool keep = false;       // not recorded for the uninstaller: it stays after a removal
  String target;           // the installed file
  String name;             // the shortcut file's name without its extension
  String icon;             // empty: the target's own icon
  String arguments;        // install variables expanded when the shortcut is made
};

// Filled by the file loop in entry order.
extern Vector<ShortcutRequest> ShortcutRequests;
