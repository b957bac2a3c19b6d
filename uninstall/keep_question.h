// The uninstaller's optional question before it removes a font or an unused shared file.
#pragma once

#include "config/string_ids.h"
#include "core/string.h"

// True when the user answers anything but Yes to `question` (formatted with `subject`) under
// `title`. Nothing is asked, and nothing kept, in automatic mode or when the product does not ask.
bool KeepAfterQuestion(StringId question, StringId title, const String& subject, bool ask);
