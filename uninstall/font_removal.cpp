#include "uninstall/font_removal.h"

#include <windows.h>

#include "config/archive_text.h"
#include "config/language_strings.h"
#include "config/settings.h"
#include "platform/deferred_replace.h"
#include "platform/path_text.h"
#include "platform/registry_locations.h"
#include "platform/shell_fonts.h"
#include "ui/messages.h"
#include "ui/ui_seam.h"

namespace {

constexpr unsigned kQuestionStyle = MB_YESNO | MB_ICONQUESTION;  // 0x24

bool KeepFont(const String& title, bool askEach) {
  if (AutomaticMode || !askEach) return false;
  String text = FormatArchiveText(StringId::kFontQuestion, {title});
  return ShowMessageBox(MessageOwner(), text.CStr(),
                        LookupString(StringId::kFontQuestionTitle).CStr(), kQuestionStyle) != IDYES;
}

}  // namespace

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
    if (KeepFont(title, askEach)) continue;
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
