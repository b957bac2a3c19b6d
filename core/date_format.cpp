// Format of Date, Time and DateTime: a pattern copied character by character, with the date and
// time codes replaced. A doubled code letter is one code ("dd" is the day in two digits).
#include "core/date_time.h"
#include "core/number_words.h"

String DefaultDateFormat = "m/d/y";
String DefaultDateTimeFormat = "m/d/y h:ii:ssap";
String DefaultTimeFormat = "h:ii:ssap";

namespace {

// Which codes a formatter knows; the letters of the others are copied.
enum CodeSet { kDateCodes = 1, kTimeCodes = 2 };

void AppendNumber(String& out, int32_t value, bool twoDigits) {
  out.AppendFormat(twoDigits ? "%02d" : "%d", value);
}

// The first three letters of a name, or the whole of a shorter one.
void AppendName(String& out, const char* name, bool full) {
  out.Append(String(name).Substring(0, full ? String::kAll : 3));
}

// Appends the output of the date code letter (its doubled form when twice) and returns true;
// false when the letter is no date code.
bool AppendDateCode(String& out, char code, bool twice, const Date& date) {
  switch (code) {
    case 'd':
      AppendNumber(out, date.day, twice);
      return true;
    case 'D':
      out.Append(twice ? OrdinalWords(date.day) : ShortOrdinal(date.day));
      return true;
    case 'm':
      AppendNumber(out, date.month, twice);
      return true;
    case 'M':
      AppendName(out, MonthNameOf(date.month), twice);
      return true;
    case 'w':
      AppendNumber(out, date.weekday, twice);
      return true;
    case 'W':
      AppendName(out, WeekdayNameOf(date.weekday), twice);
      return true;
    case 'y':
      if (twice) {
        out.AppendFormat("%04d", date.year);
      } else {
        out.AppendFormat("%02d", date.year % 100);
      }
      return true;
    case 'Y':
      if (twice) {
        out.Append(NumberToWords(date.year, kWordsYear));
      } else {
        if (date.year % 100 < 10) out.Append("Oh ");
        out.Append(NumberToWords(date.year % 100, kWordsWhole));
      }
      return true;
    default:
      return false;
  }
}

// The same for the time codes, except the two-letter "AP" and "ap".
bool AppendTimeCode(String& out, char code, bool twice, const Time& time) {
  switch (code) {
    case 'h':
      AppendNumber(out, time.Hour12(), twice);
      return true;
    case 'H':
      AppendNumber(out, time.hour, twice);
      return true;
    case 'i':
      AppendNumber(out, time.minute, twice);
      return true;
    case 's':
      AppendNumber(out, time.second, twice);
      return true;
    default:
      return false;
  }
}

String FormatCalendar(const String& pattern, const Date& date, const Time& time, int codes) {
  const char* chars = pattern.CStr();
  const int length = pattern.Length();
  String out;
  int i = 0;
  while (i < length) {
    const char c = chars[i];
    const bool twice = i + 1 < length && chars[i + 1] == c;
    if ((codes & kDateCodes) && AppendDateCode(out, c, twice, date)) {
      i += twice ? 2 : 1;
      continue;
    }
    if (codes & kTimeCodes) {
      if (AppendTimeCode(out, c, twice, time)) {
        i += twice ? 2 : 1;
        continue;
      }
      // "AP" and "ap": the half of the day; a lone 'A' or 'a' is copied.
      const char next = i + 1 < length ? chars[i + 1] : '\0';
      if ((c == 'A' && next == 'P') || (c == 'a' && next == 'p')) {
        if (c == 'A') {
          out.Append(time.IsAM() ? "a.m." : "p.m.");
        } else {
          out.AppendChar(time.IsAM() ? 'a' : 'p');
        }
        i += 2;
        continue;
      }
    }
    out.AppendChar(c);
    ++i;
  }
  return out;
}

}  // namespace

String Date::Format(const String& pattern) const {
  return FormatCalendar(pattern.IsEmpty() ? DefaultDateFormat : pattern, *this, Time(),
                        kDateCodes);
}

String Time::Format(const String& pattern) const {
  return FormatCalendar(pattern.IsEmpty() ? DefaultTimeFormat : pattern, Date(), *this,
                        kTimeCodes);
}

String DateTime::Format(const String& pattern) const {
  return FormatCalendar(pattern.IsEmpty() ? DefaultDateTimeFormat : pattern, date, time,
                        kDateCodes | kTimeCodes);
}
