#include "install/shortcut_requests.h"

Vector<ShortcutRequest> ShortcutRequests;
