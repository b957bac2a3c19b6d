#include "install/shared_folder.h"

#include "config/settings.h"
#include "platform/directories.h"

bool CreateSharedFolder() { return SharedPath.IsEmpty() || CreateDirectoryPath(SharedPath); }
