#pragma once

#include <cstdint>

#include "core/string.h"

// The system's text for an error code in the user's language; empty for 0 or an unknown code.
String SystemErrorText(uint32_t code);
