#include "uninstall/font_removal.h"

#include <windows.h>

#include "platform/deferred_replace.h"
#include "platform/path_text.h"
#include "platform/registry_locations.h"
#include "platform/shell_fonts.h"
#include "uninstall/keep_question.h"

int RemoveProductFonts(const String& productFonts, bool askEach) {
  String rest = productFonts;
  int removed = 0;
  for (;;) {
    rest.TrimLeft();
    String title = rest.TakeQuoted();
    if (title.IsEmpty()) break;
    rest.TrimLeft();
    String file = rest.TakeQuoted();
    if (file.IsEmpty()) break;
    if (KeepAfterQuestion(StringId::kFontQuestion, StringId::kFontQuestionTitle, title, askEach))
      continue;
    UnregisterFontName(title.CStr());
    // The installation added the font by its full path in the Fonts folder; the system knows
    // it by that name only.
    String path = IsAbsolutePath(file) ? file : JoinPath(FontDir(), file);
    RemoveFontResourceA(path.CStr());
    DeleteFileOrSchedule(path.CStr(), 0);
    ++removed;
  }
  return removed;
}
