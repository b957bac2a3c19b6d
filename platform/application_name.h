// The program's name as messages name it ("Quorvex"), set once at start-up.
#pragma once

#include "core/string.h"

extern String ApplicationName;
