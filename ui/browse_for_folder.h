// The shell's folder browser, as the directory dialog's browse button opens it.
#pragma once

#include <windows.h>

#include "core/string.h"

// Shows the browser over the computer's drives, owned by owner, with path pre-selected and
// string 11 of the language table as its prompt; only file-system folders can be chosen. When
// the user picks one, path becomes that folder and the result is true. Cancelling, a folder
// without a file-system path, or a shell that cannot show the drives leave path unchanged and
// give false.
bool BrowseForFolder(HWND owner, String& path);
