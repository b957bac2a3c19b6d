// The builder's own English texts for every string id the engine uses (0 .. 71). The ids the
// engine formats with arguments take the engine's built-in texts (config/formatted_texts.h),
// which carry exactly the placeholders the engine passes, in its order.
#pragma once

inline constexpr int kDefaultStringCount = 72;

// The English text of `id`; empty for ids outside 0 .. kDefaultStringCount - 1.
const char* DefaultEnglishString(int id);
