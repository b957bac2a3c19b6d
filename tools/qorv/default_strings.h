// The builder's own English texts for every string id the engine uses (0 .. 71). The ids the
// engine formats with arguments take the engine's built-in texts (config/formatted_texts.h),
// which carry exactly the placeholders the engine passes, in its order.
#pragma once

#include "config/string_ids.h"

// The English text of `id`; empty for ids without a purpose and outside 0 .. kStringIdCount - 1.
const char* DefaultEnglishString(StringId id);
