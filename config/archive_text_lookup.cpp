// Archive texts formatted in the current language.
#include "config/archive_text.h"
#include "config/language_strings.h"
#include "core/fatal.h"

namespace {

constexpr char kModuleName[] = "archive_text.cpp";

}  // namespace

String FormatArchiveText(StringId id, ArchiveTextArgs args) {
  String text;
  // A caller whose arguments are not those its id takes: the line names the id.
  if (!FormatArchiveTextFrom(LookupString(id).CStr(), id, args, text))
    InternalFatal(kModuleName, int(id));
  return text;
}
