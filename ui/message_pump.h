#pragma once

// PumpMessages is declared with the platform's other hooks, since waiting for a process pumps
// too.
#include "platform/ui_hooks.h"
