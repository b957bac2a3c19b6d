#pragma once

// Creates SharedPath with its missing parents, when there is one. False when it is needed and
// cannot be made; a failure does not stop start-up, the file steps that use the folder meet it.
bool CreateSharedFolder();
