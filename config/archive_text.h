// Texts of the archive used as printf formats. The archive is data from outside: a text is used
// as a format only when its conversions take, in order, exactly the arguments its caller passes;
// otherwise the built-in English text of its id stands in (config/formatted_texts.h). So a
// damaged or careless table can never make formatting read an argument that is not there, read
// a character as a text pointer, or write through "%n".
//
// The conversions an archive text may use, besides "%%" for a percent sign:
//   an integer   %d %i %u %x %X %o, flags - + blank 0 (and # for x, X, o), width, precision
//   a character  %c, flag -, width
//   a text       %s, flag -, width, precision
// Widths and precisions have at most three digits, and there are at most four flags; length
// modifiers, "*" and anything else make a text unusable as a format.
#pragma once

#include <initializer_list>

#include "config/string_ids.h"
#include "core/string.h"

// One argument of an archive text. The constructor chosen by the argument's type decides the
// conversion it stands for: int an integer, char a character, a text a text.
class ArchiveTextArg {
 public:
  ArchiveTextArg(int value) : kind_('d'), number_(value) {}
  ArchiveTextArg(char value) : kind_('c'), number_(static_cast<unsigned char>(value)) {}
  ArchiveTextArg(const char* value) : kind_('s'), text_(value ? value : "") {}
  // The text must outlive the argument (a temporary does, to the end of the call it is passed to).
  ArchiveTextArg(const String& value) : kind_('s'), text_(value.CStr()) {}

  char Kind() const { return kind_; }  // 'd', 'c' or 's'
  int Number() const { return number_; }
  const char* Text() const { return text_; }

 private:
  char kind_;
  int number_ = 0;
  const char* text_ = "";
};

using ArchiveTextArgs = std::initializer_list<ArchiveTextArg>;

// True when the conversions of `text`, "%%" skipped, are usable and of the same kinds, in the
// same order and number, as those of `conversions` (written plainly, e.g. "%s%c%s"). A null text
// counts as empty.
bool HasConversions(const char* text, const char* conversions);

// Formats `text` with `args`: true with the result in `out` when every conversion of the text
// is usable and takes the argument in its place, and no argument is left over; false (out
// unchanged) otherwise.
bool FormatWithArgs(const char* text, ArchiveTextArgs args, String& out);

// The text of string id `id` as the caller shows it: `text` (the archive's) formatted with
// `args` when its conversions are those the id takes, else the id's built-in English text
// formatted with them. False only for a programming error: an id that is not formatted, or
// arguments that are not those the id takes.
bool FormatArchiveTextFrom(const char* text, StringId id, ArchiveTextArgs args, String& out);

// FormatArchiveTextFrom over the current language's text of `id` (LookupString); a programming
// error ends the process with an internal fatal error.
String FormatArchiveText(StringId id, ArchiveTextArgs args = {});
