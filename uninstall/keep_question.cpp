#include "uninstall/keep_question.h"

#include <windows.h>

#include "config/archive_text.h"
#include "config/language_strings.h"
#include "config/settings.h"
#include "ui/messages.h"
#include "ui/ui_seam.h"

bool KeepAfterQuestion(StringId question, StringId title, const String& subject, bool ask) {
  if (AutomaticMode || !ask) return false;
  String text = FormatArchiveText(question, {subject});
  return ShowMessageBox(MessageOwner(), text.CStr(), LookupString(title).CStr(),
                        MB_YESNO | MB_ICONQUESTION) != IDYES;
}
